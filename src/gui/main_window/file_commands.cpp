#include "gui/main_window/file_commands.h"

#include "core/io/spec_file.h"
#include "gui/command_guard.h"
#include "gui/main_window/scoped_assignment.h"
#include "gui/qt/common_dialog.h"

namespace quon {

namespace {

constexpr std::string_view kOpenAction = "open the problem";
constexpr std::string_view kSaveAction = "save the problem";

}  // namespace

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
  RunGuarded(kOpenAction, events_.ShowMessage, [&] { Open(path); });
}

void FileCommands::Open(const std::string& path) {
  if (!events_.OpenAllowed()) return;
  // Read and check the whole pair before anything in the window changes.
  SpecFileContents contents;
  try {
    contents = ReadSpecFile(path);
  } catch (const SpecFileError& error) {
    events_.ShowMessage(error.what());
    return;
  }
  {
    // While loading, the change notifications of the filled fields keep the stored
    // results; after a failure half-way, edits must clear them again.
    const ScopedAssignment loading(model_.Loading, true);
    const EntryFields shown = ApplySpecFile(std::move(contents), path, model_);
    events_.ShowOpenedProblem(shown);
  }
  events_.FileUsed(path);
}

void FileCommands::mnuSave_Click() { Save(); }

bool FileCommands::Save() {
  bool saved = false;
  RunGuarded(kSaveAction, events_.ShowMessage, [this, &saved] {
    if (!EntryCommitted()) return;
    std::string path = model_.SpecFile;
    if (path.empty() && services_.Dialogs != nullptr) {
      services_.Dialogs->ShowSave();
      path = services_.Dialogs->FileName();
    }
    saved = !path.empty() && WriteSpecFile(path);
  });
  return saved;
}

void FileCommands::mnuSaveAs_Click() {
  RunGuarded(kSaveAction, events_.ShowMessage, [this] {
    if (services_.Dialogs == nullptr || !EntryCommitted()) return;
    services_.Dialogs->ShowSave();
    const std::string path = services_.Dialogs->FileName();
    if (!path.empty()) WriteSpecFile(path);
  });
}

bool FileCommands::EntryCommitted() {
  const std::string missing = events_.CommitEntry();
  if (missing.empty()) return true;
  events_.ShowMessage(missing);
  return false;
}

bool FileCommands::WriteSpecFile(const std::string& path) {
  try {
    // Coefficients are written only with the records of the fit that made them; when the
    // fields have changed since, the pair holds the problem alone and the user is told.
    if (quon::WriteSpecFile(path, events_.ReadEntryFields(), model_) ==
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
