#include "gui/main_window/file_commands.h"

#include "core/io/spec_file.h"
#include "gui/qt/common_dialog.h"

namespace quon {

FileCommands::FileCommands(QObject* parent, ProblemModel& model, const ShellServices& services,
                           Events events)
    : QObject(parent), model_(model), services_(services), events_(std::move(events)) {}

void FileCommands::mnuOpen_Click() {
  if (services_.Dialogs == nullptr || !events_.OpenAllowed()) return;
  services_.Dialogs->ShowOpen();
  const std::string path = services_.Dialogs->FileName();
  if (!path.empty()) OpenPath(path);
}

void FileCommands::OpenPath(const std::string& path) {
  if (!events_.OpenAllowed()) return;
  // Read and check the whole pair before anything in the window changes.
  SpecFileContents contents;
  try {
    contents = ReadSpecFile(path);
  } catch (const SpecFileError& error) {
    events_.ShowMessage(error.what());
    return;
  }
  // While loading, the change notifications of the filled fields keep the stored results.
  model_.Loading = true;
  const EntryFields shown = ApplySpecFile(std::move(contents), path, model_);
  events_.ShowOpenedProblem(shown);
  model_.Loading = false;
  events_.FileUsed(path);
}

void FileCommands::mnuSave_Click() { Save(); }

bool FileCommands::Save() {
  if (model_.SpecFile.empty() && services_.Dialogs != nullptr) {
    services_.Dialogs->ShowSave();
    model_.SpecFile = services_.Dialogs->FileName();
  }
  return !model_.SpecFile.empty() && WriteSpecFile();
}

void FileCommands::mnuSaveAs_Click() {
  if (services_.Dialogs == nullptr) return;
  services_.Dialogs->ShowSave();
  const std::string path = services_.Dialogs->FileName();
  // A cancelled dialog leaves the file that Save writes to as it was.
  if (path.empty()) return;
  model_.SpecFile = path;
  WriteSpecFile();
}

bool FileCommands::WriteSpecFile() {
  try {
    // Coefficients are written only with the records of the fit that made them; when the
    // fields have changed since, the pair holds the problem alone and the user is told.
    if (quon::WriteSpecFile(model_.SpecFile, events_.ReadEntryFields(), model_) ==
        SaveOutcome::SavedWithoutResults) {
      events_.ShowMessage(ResultsNotSavedMessage());
    }
  } catch (const SpecFileError& error) {
    events_.ShowMessage(error.what());
    return false;
  }
  events_.FileUsed(model_.SpecFile);
  return true;
}

}  // namespace quon
