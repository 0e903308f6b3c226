// The file, printer and help dialogs the program asks for, as one small interface: the
// windows call these operations in a fixed order and read back only the chosen file name.
// The Qt implementation is QtCommonDialog; tests put a fake in its place.
#pragma once

#include <string>

namespace quon {

// The one help command the program gives: show the named help file at its default topic,
// opening the viewer when it is not open yet.
inline constexpr int kHelpShowFile = 9;

class CommonDialog {
 public:
  virtual ~CommonDialog() = default;

  // A modal dialog in which the user picks an existing file or cancels.
  virtual void ShowOpen() = 0;
  // A modal dialog in which the user names a file to write or cancels.
  virtual void ShowSave() = 0;
  // A modal dialog in which the user names the PDF file a report is printed to, or cancels:
  // a title of its own, PDF files only, ".pdf" added to a name without an extension, and a
  // question before an existing file is replaced. Never the problem files' Save dialog.
  virtual void ShowPrintToFile() = 0;
  // The full path chosen in the last ShowOpen, ShowSave or ShowPrintToFile; empty when the
  // user cancelled.
  virtual std::string FileName() const = 0;
  // A modal printer dialog; the caller prints however it was closed.
  virtual void ShowPrinter() = 0;

  // Set before ShowHelp: the command (kHelpShowFile) and the help file's path.
  virtual void SetHelpCommand(int command) = 0;
  virtual void SetHelpFile(const std::string& path) = 0;
  // Shows the help file in the viewer and returns at once.
  virtual void ShowHelp() = 0;
};

}  // namespace quon
