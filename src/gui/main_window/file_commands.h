// The main window's file and print commands: Open, Save and Save As of the problem file
// pair, and Print of the report. Reading, checking and writing the pair and making the
// report's lines are the core's; a refused open or a failed save shows a message naming
// the file and the fault, and the problem in the window stays as it was. A save first
// commits the number and names of the variables as leaving their fields would, or says
// what the user has to finish; a print to a file never replaces the problem's own pair
// without asking. No command lets an exception out: memory running out is said too.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "gui/main_window/shell_services.h"

namespace quon {

class FileCommands : public QObject {
  Q_OBJECT

 public:
  struct Events {
    // True while a file may still be opened (before the number of variables is fixed).
    std::function<bool()> OpenAllowed;
    // The entry fields as they stand, for a save or the report.
    std::function<EntryFields()> ReadEntryFields;
    // The model holds a problem just read: show it, with the centre and period texts the
    // file gave.
    std::function<void(const EntryFields& shown)> ShowOpenedProblem;
    std::function<void(const std::string& text)> ShowMessage;
    // A pair has been opened from or saved to `path`.
    std::function<void(const std::string& path)> FileUsed;
    // Accepts the number and names as leaving their fields would; returns what the user
    // still has to enter before the problem can be saved, empty when it is fixed.
    std::function<std::string()> CommitEntry;
    // Asks a yes-or-no question; true for yes.
    std::function<bool(const std::string& question)> Confirm;
  };

  FileCommands(QObject* parent, ProblemModel& model, const ShellServices& services, Events events);

  void mnuOpen_Click();
  // Opens the pair `path` as Open does after its dialog.
  void OpenPath(const std::string& path);
  void mnuSave_Click();
  // Save, asking for a name when there is none; true when the pair was written.
  bool Save();
  void mnuSaveAs_Click();
  void mnuPrint_Click();

 private:
  void Open(const std::string& path);
  // True when the number and names are fixed; else the user has been told what to finish.
  bool EntryCommitted();
  // Writes the pair at `path` from the entry fields, which makes it the file Save writes
  // to; false when it failed (the user has been told, and Save still writes where it did).
  bool WriteSpecFile(const std::string& path);
  void Print();
  // False when `pdf` (empty: a printer) is a file of the problem's own pair and the user
  // would not have it replaced.
  bool MayPrintInto(const std::string& pdf);

  ProblemModel& model_;
  const ShellServices& services_;
  Events events_;
};

}  // namespace quon
