#include "gui/qt/qt_common_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QStandardPaths>

#include "core/shell/help_file.h"
#include "gui/qt/qt_help_window.h"

namespace quon {

QtCommonDialog::QtCommonDialog()
    : pdfFolder_(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)) {}

QtCommonDialog::~QtCommonDialog() { delete helpWindow_.data(); }

void QtCommonDialog::ShowOpen() {
  fileName_ =
      QFileDialog::getOpenFileName(parent_, QString(), settings_.LastFolder()).toStdString();
  settings_.RememberFolderOf(QString::fromStdString(fileName_));
}

void QtCommonDialog::ShowSave() {
  fileName_ = QFileDialog::getSaveFileName(parent_, QString(), settings_.LastFolder(), QString(),
                                           nullptr, QFileDialog::DontConfirmOverwrite)
                  .toStdString();
  settings_.RememberFolderOf(QString::fromStdString(fileName_));
}

// Not the problem files' Save dialog: a report written over a problem file would destroy
// the problem, so a file that exists is only replaced after the dialog's own question.
void QtCommonDialog::ShowPrintToFile() {
  // A folder that is not there would be taken for the name of the file.
  if (!QFileInfo(pdfFolder_).isDir()) pdfFolder_ = QDir::homePath();
  QFileDialog dialog(parent_, QStringLiteral("Print the report to a PDF file"), pdfFolder_,
                     QStringLiteral("PDF files (*.pdf)"));
  dialog.setObjectName(QStringLiteral("dlgPrintToFile"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  fileName_.clear();
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().constFirst();
  pdfFolder_ = QFileInfo(chosen).absolutePath();
  fileName_ = chosen.toStdString();
}

void QtCommonDialog::ShowPrinter() {
  QPrintDialog dialog(&printer_, parent_);
  dialog.exec();
}

void QtCommonDialog::ShowHelp() {
  if (helpCommand_ != kHelpShowFile) return;
  const std::vector<std::string> candidates =
      HelpFileCandidates(helpFile_, QCoreApplication::applicationDirPath().toStdString());
  const std::optional<std::string> found = FindHelpFile(candidates, [](const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).isFile();
  });

  const bool open = helpWindow_ != nullptr && helpWindow_->isVisible();
  if (helpWindow_ == nullptr) helpWindow_ = new QtHelpWindow;
  // An open viewer already shows the file; it is only brought to the front.
  if (!open || !found || helpWindow_->ShownFile() != QString::fromStdString(*found)) {
    if (found) {
      helpWindow_->ShowFile(QString::fromStdString(*found));
    } else {
      helpWindow_->ShowText(QString::fromStdString(HelpFileMissingText(candidates)));
    }
  }
  helpWindow_->show();
  helpWindow_->raise();
  helpWindow_->activateWindow();
}

}  // namespace quon
