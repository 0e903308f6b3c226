#include "gui/qt/qt_numeric_locale.h"

#include <QMessageBox>
#include <clocale>

namespace quon {

QtNumericLocale::QtNumericLocale() {
  const char* current = std::setlocale(LC_NUMERIC, nullptr);
  cNumeric_ = current != nullptr ? current : "C";
}

std::string QtNumericLocale::DecimalSeparator() {
  const std::lconv* conventions = std::localeconv();
  const std::string c = conventions != nullptr && conventions->decimal_point != nullptr
                            ? conventions->decimal_point
                            : ".";
  if (c != ".") return c;
  return QLocale().decimalPoint().toStdString();
}

void QtNumericLocale::SwitchToDecimalPoint() {
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
}

void QtNumericLocale::RestoreOriginal() {
  std::setlocale(LC_NUMERIC, cNumeric_.c_str());
  QLocale::setDefault(qtDefault_);
}

WarningAnswer QtDecimalWarning::Ask(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromStdString(title),
                  QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  box.setObjectName(QStringLiteral("msgDecimalComma"));
  switch (box.exec()) {
    case QMessageBox::Yes:
      return WarningAnswer::Yes;
    case QMessageBox::No:
      return WarningAnswer::No;
    default:
      return WarningAnswer::Cancel;
  }
}

}  // namespace quon
