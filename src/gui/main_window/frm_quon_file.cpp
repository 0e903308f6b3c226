// The main window's File commands: Open, Save and Save As of the specification file pair.
// Reading, checking and writing the pair are the core's; a refused open or a failed save
// shows a message naming the file and the fault, and the problem in the window stays as
// it was.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "io/spec_file.h"
#include "main_window/frm_quon.h"
#include "model/entry_checks.h"
#include "qt/common_dialog.h"

namespace quon {

void frmQuon::ConnectFileHandlers() {
  connect(mnuOpen, &QAction::triggered, this, &frmQuon::mnuOpen_Click);
  connect(mnuSave, &QAction::triggered, this, &frmQuon::mnuSave_Click);
  connect(mnuSaveAs, &QAction::triggered, this, &frmQuon::mnuSaveAs_Click);
}

void frmQuon::mnuOpen_Click() {
  if (services_.Dialogs == nullptr || !mnuOpen->isEnabled()) return;
  services_.Dialogs->ShowOpen();
  const std::string path = services_.Dialogs->FileName();
  if (path.empty()) return;
  // Read and check the whole pair before anything in the window changes.
  SpecFileContents contents;
  try {
    contents = ReadSpecFile(path);
  } catch (const SpecFileError& error) {
    ShowMessage(error.what());
    return;
  }

  // While loading, the change notifications of the filled fields keep the stored results.
  model_.Loading = true;
  txtOrder->setEnabled(false);
  txtVarNams->setEnabled(false);
  const EntryFields shown = ApplySpecFile(std::move(contents), path, model_);
  LoadObjects();
  cboConstants->clear();  // the file's constants replace any typed before the open
  SetDisplayedSpecs();
  const std::size_t count = std::min(shown.Variables.size(), txtExpansion.size());
  for (std::size_t i = 0; i < count; ++i) {
    txtExpansion[i]->setText(QString::fromStdString(shown.Variables[i].Expansion));
    txtPeriod[i]->setText(QString::fromStdString(shown.Variables[i].Period));
  }
  lblEquation->setText(QString::fromStdString(
      Signature({model_.VarName.begin(), model_.VarName.begin() + static_cast<long>(count)})));
  ShowStoredResults();
  ShowAccuracy();
  mnuOpen->setEnabled(false);
  mnuSave->setEnabled(true);
  mnuSaveAs->setEnabled(true);
  mnuPrint->setEnabled(true);
  mnuAbout->setVisible(true);
  model_.Loading = false;
}

void frmQuon::mnuSave_Click() {
  if (model_.SpecFile.empty() && services_.Dialogs != nullptr) {
    services_.Dialogs->ShowSave();
    model_.SpecFile = services_.Dialogs->FileName();
  }
  if (!model_.SpecFile.empty()) WriteSpecFile();
}

void frmQuon::mnuSaveAs_Click() {
  if (services_.Dialogs == nullptr) return;
  services_.Dialogs->ShowSave();
  const std::string path = services_.Dialogs->FileName();
  // A cancelled dialog leaves the file that Save writes to as it was.
  if (path.empty()) return;
  model_.SpecFile = path;
  WriteSpecFile();
}

void frmQuon::WriteSpecFile() {
  try {
    // Coefficients are written only with the records of the fit that made them; when the
    // fields have changed since, the pair holds the problem alone and the user is told.
    if (quon::WriteSpecFile(model_.SpecFile, ReadEntryFields(), model_) ==
        SaveOutcome::SavedWithoutResults) {
      ShowMessage(ResultsNotSavedMessage());
    }
  } catch (const SpecFileError& error) {
    ShowMessage(error.what());
  }
}

}  // namespace quon
