// The main window's file and print commands: Open, Save and Save As of the problem
// file pair, and Print of the report. Reading, checking and writing the pair and making
// the report's lines are the core's; a refused open or a failed save shows a message
// naming the file and the fault, and the problem in the window stays as it was.
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
  // Writes the pair for SpecFile from the entry fields; false when it failed (and the
  // user has been told).
  bool WriteSpecFile();

  ProblemModel& model_;
  const ShellServices& services_;
  Events events_;
};

}  // namespace quon
