// The process's numeric locale on a desktop without per-user locale settings: the C
// library's LC_NUMERIC and Qt's default QLocale, both taken from the environment
// (LC_ALL, LC_NUMERIC, LANG) when the application starts. Switching to the decimal point
// and back affects this process only; the user's saved settings are never written.
#pragma once

#include <QLocale>
#include <string>

#include "core/shell/decimal_point.h"

namespace quon {

class QtNumericLocale : public NumericLocale {
 public:
  // Records the numeric locale in force, to be put back by RestoreOriginal.
  QtNumericLocale();

  // The C library's separator when it is not "."; otherwise Qt's.
  std::string DecimalSeparator() override;
  void SwitchToDecimalPoint() override;
  void RestoreOriginal() override;

 private:
  std::string cNumeric_;
  QLocale qtDefault_;
};

// The warning as a message box with the critical-stop icon and Yes, No and Cancel.
class QtDecimalWarning : public DecimalWarning {
 public:
  WarningAnswer Ask(const std::string& title, const std::string& text) override;
};

}  // namespace quon
