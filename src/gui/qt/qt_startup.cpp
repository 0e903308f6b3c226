#include "gui/qt/qt_startup.h"

#include <QApplication>

#include "core/shell/decimal_point.h"
#include "gui/frm_about.h"
#include "gui/main_window/frm_quon.h"
#include "gui/qt/qt_common_dialog.h"
#include "gui/qt/qt_printer.h"

namespace quon {

QtStartupShell::QtStartupShell(DecimalPoint& guard, QtCommonDialog& dialogs)
    : guard_(guard), dialogs_(dialogs) {}

QtStartupShell::~QtStartupShell() = default;

bool QtStartupShell::CheckDecimalSeparator() { return guard_.CheckDecimalSeparator(); }

void QtStartupShell::ShowAbout() { splash_ = quon::ShowAbout(); }

void QtStartupShell::ProcessEvents() {
  // A window system may need a few round trips to map and expose a new window; a short
  // bounded pass lets the splash be drawn before the wait begins.
  QApplication::processEvents(QEventLoop::AllEvents, 100);
}

void QtStartupShell::CloseAbout() {
  if (splash_ != nullptr) splash_->close();
}

void QtStartupShell::ShowMainWindow() {
  ShellServices services;
  services.Dialogs = &dialogs_;
  printer_ = std::make_unique<QtPrinter>(dialogs_.Printer());
  services.Printer = printer_.get();
  services.RestoreDecimalSeparator = [this] { guard_.RestoreDecimalSeparator(); };
  main_ = std::make_unique<frmQuon>(std::move(services));
  dialogs_.SetParentWindow(main_.get());
  main_->show();
}

void QtStartupShell::OpenFile(const std::string& path) {
  if (main_ != nullptr) main_->OpenFile(path);
}

int QtStartupShell::RunEventLoop() { return QApplication::exec(); }

}  // namespace quon
