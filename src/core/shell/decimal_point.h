// The guard of the decimal separator. Every number the program reads or writes uses "."
// as its decimal separator, while the platform's conversions follow the user's numeric
// locale. At start-up the guard reads the separator; when it is anything but "." it asks
// the user for leave to switch the process to the point for this run, and ends the
// program when the user refuses. When the main window unloads, the separator found at
// start-up is put back. Only the running process is affected: the user's saved settings
// are never touched.
#pragma once

#include <string>

namespace quon {

// The numeric locale of the running process, as the platform keeps it.
class NumericLocale {
 public:
  virtual ~NumericLocale() = default;
  // The decimal separator in force now.
  virtual std::string DecimalSeparator() = 0;
  // Switches the process to "." as its decimal separator.
  virtual void SwitchToDecimalPoint() = 0;
  // Puts back the numeric locale that was in force when this object was created.
  virtual void RestoreOriginal() = 0;
};

enum class WarningAnswer { Yes, No, Cancel };

// The question put to the user when the separator is not ".".
class DecimalWarning {
 public:
  virtual ~DecimalWarning() = default;
  // Shows `text` under `title` with Yes, No and Cancel and the critical-stop icon.
  virtual WarningAnswer Ask(const std::string& title, const std::string& text) = 0;
};

inline constexpr const char* kWebAddress = "https://quon.example.org";

// The title and the lines of the warning, one element per line.
std::string DecimalWarningTitle();
std::string DecimalWarningText();

class DecimalPoint {
 public:
  DecimalPoint(NumericLocale& locale, DecimalWarning& warning)
      : locale_(locale), warning_(warning) {}

  // Reads the separator; when it is not ".", asks and switches. Returns false when the
  // user refused: the program must end before any window is shown, nothing changed.
  bool CheckDecimalSeparator();
  // Reads the separator into SystemDecimal.
  void GetDecimalSeparator();
  // Switches the process to the decimal point.
  void SetDecimalPoint();
  // Puts back the separator found at start-up; harmless when it was "." all along.
  void RestoreDecimalSeparator();

  const std::string& SystemDecimal() const { return systemDecimal_; }

 private:
  NumericLocale& locale_;
  DecimalWarning& warning_;
  std::string systemDecimal_;
};

}  // namespace quon
