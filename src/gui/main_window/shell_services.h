// What the main window needs from outside; tests put fakes here.
#pragma once

#include <functional>
#include <string>

namespace quon {

class CommonDialog;
class ReportPrinter;

enum class SaveChangesAnswer { Save, Discard, Cancel };

struct ShellServices {
  // File, printer and help dialogs. Must outlive the window.
  CommonDialog* Dialogs = nullptr;
  // Puts back the decimal separator found at start-up; runs when the window unloads.
  std::function<void()> RestoreDecimalSeparator;
  // Shows a message with an OK button and no icon (script errors, a full constants list).
  // Empty: a message box over the window.
  std::function<void(const std::string& text)> ShowMessage;
  // The printer of the report (the one the printer dialog sets up). Must outlive the window.
  ReportPrinter* Printer = nullptr;
  // Asks "Save changes to this problem?" with Save, Discard and Cancel before the window
  // closes on changed work. Empty: a message box over the window.
  std::function<SaveChangesAnswer()> AskToSaveChanges;
  // Asks a question with Yes and No (No the default); true for Yes. Empty: a message box
  // over the window.
  std::function<bool(const std::string& question)> Confirm;
};

}  // namespace quon
