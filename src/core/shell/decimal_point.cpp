#include "core/shell/decimal_point.h"

namespace quon {

std::string DecimalWarningTitle() { return "Decimal Comma Warning!"; }

std::string DecimalWarningText() {
  return std::string(
             "Proper operation of this application requires the use of the DECIMAL POINT.\n") +
         "Your system is currently using the DECIMAL COMMA.\n" + "\n" +
         "Do you wish to temporarily change this system setting to decimal point?\n" +
         "(Upon exiting, this application will restore your setting.)\n" +
         "(See HELP FILE or visit " + kWebAddress +
         " for instructions on how to change MANUALLY)\n" + "\n" + "Press YES to change.";
}

void DecimalPoint::GetDecimalSeparator() { systemDecimal_ = locale_.DecimalSeparator(); }

bool DecimalPoint::CheckDecimalSeparator() {
  GetDecimalSeparator();
  if (systemDecimal_ == ".") return true;
  if (warning_.Ask(DecimalWarningTitle(), DecimalWarningText()) != WarningAnswer::Yes) {
    return false;
  }
  SetDecimalPoint();
  return true;
}

void DecimalPoint::SetDecimalPoint() { locale_.SwitchToDecimalPoint(); }

void DecimalPoint::RestoreDecimalSeparator() { locale_.RestoreOriginal(); }

}  // namespace quon
