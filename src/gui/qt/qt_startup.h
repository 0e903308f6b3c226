// The start-up sequence's windows on Qt: the guard's message box, the About window as a
// splash, the main window and the application's event loop.
#pragma once

#include <QPointer>
#include <memory>

#include "core/shell/sub_main.h"
#include "gui/frm_about.h"

namespace quon {

class DecimalPoint;
class QtCommonDialog;
class QtPrinter;
class frmQuon;

class QtStartupShell : public StartupShell {
 public:
  QtStartupShell(DecimalPoint& guard, QtCommonDialog& dialogs);
  ~QtStartupShell() override;

  bool CheckDecimalSeparator() override;
  void ShowAbout() override;
  void ProcessEvents() override;
  void CloseAbout() override;
  void ShowMainWindow() override;
  void OpenFile(const std::string& path) override;
  int RunEventLoop() override;

  frmQuon* MainWindow() const { return main_.get(); }

 private:
  DecimalPoint& guard_;
  QtCommonDialog& dialogs_;
  QPointer<frmAbout> splash_;
  std::unique_ptr<QtPrinter> printer_;  // prints on the printer the dialog sets up
  std::unique_ptr<frmQuon> main_;
};

}  // namespace quon
