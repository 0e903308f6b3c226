// The file, printer and help dialogs of the program, on Qt: QFileDialog for Open and
// Save (no filter, no default extension, no title of their own, starting in the folder
// last used; Save replaces a file without asking, as the program writes a pair of files),
// a QFileDialog of its own for printing to a PDF file (titled, PDF files only, asking
// before it replaces a file, starting in the documents folder and then in the one it last
// used), QPrintDialog over a printer the report can then print on, and the help viewer.
#pragma once

#include <QPointer>
#include <QPrinter>
#include <QString>
#include <QWidget>
#include <string>

#include "gui/qt/common_dialog.h"
#include "gui/qt/qt_desktop_settings.h"
#include "gui/qt/qt_help_window.h"

namespace quon {

class QtCommonDialog : public CommonDialog {
 public:
  QtCommonDialog();
  ~QtCommonDialog() override;

  // The window the modal dialogs belong to.
  void SetParentWindow(QWidget* parent) { parent_ = parent; }

  void ShowOpen() override;
  void ShowSave() override;
  void ShowPrintToFile() override;
  std::string FileName() const override { return fileName_; }
  void ShowPrinter() override;
  void SetHelpCommand(int command) override { helpCommand_ = command; }
  void SetHelpFile(const std::string& path) override { helpFile_ = path; }
  void ShowHelp() override;

  // The printer chosen in the last printer dialog (the default printer before that).
  QPrinter& Printer() { return printer_; }
  // The help viewer, once ShowHelp has opened it.
  QtHelpWindow* HelpWindow() const { return helpWindow_; }

 private:
  QPointer<QWidget> parent_;
  std::string fileName_;
  DesktopSettings settings_;  // the open and save dialogs start in the folder last used
  QString pdfFolder_;         // where the print-to-file dialog starts
  QPrinter printer_;
  int helpCommand_ = 0;
  std::string helpFile_;
  QPointer<QtHelpWindow> helpWindow_;
};

}  // namespace quon
