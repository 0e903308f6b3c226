// The quon desktop program.
#include <QApplication>

#include "core/shell/decimal_point.h"
#include "core/shell/sub_main.h"
#include "gui/qt/qt_common_dialog.h"
#include "gui/qt/qt_numeric_locale.h"
#include "gui/qt/qt_startup.h"

int main(int argc, char* argv[]) {
  // QApplication takes the C library's locale from the environment, so the guard reads
  // the user's separator only after it exists.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quon"));
  QApplication::setOrganizationName(QStringLiteral("Quon Developers"));

  quon::QtNumericLocale locale;
  quon::QtDecimalWarning warning;
  quon::DecimalPoint guard(locale, warning);
  quon::QtCommonDialog dialogs;
  quon::QtStartupShell shell(guard, dialogs);
  quon::SystemSplashClock clock;
  // `quon FILE` opens the pair FILE / FILE.str; Qt has taken its own options out already.
  const QStringList arguments = QApplication::arguments();
  const std::string fileToOpen = arguments.size() > 1 ? arguments.at(1).toStdString() : "";
  return quon::Main(shell, clock, fileToOpen);
}
