#include "gui/main_window/frm_quon.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/io/unsaved_work.h"
#include "core/model/user_constants.h"
#include "core/shell/decimal_point.h"
#include "core/shell/help_file.h"
#include "gui/frm_about.h"
#include "gui/frm_evaluations.h"
#include "gui/frm_export.h"
#include "gui/frm_fit_data.h"
#include "gui/frm_plot.h"
#include "gui/main_window/constants_panel.h"
#include "gui/main_window/control_factory.h"
#include "gui/main_window/file_commands.h"
#include "gui/main_window/problem_entry.h"
#include "gui/main_window/recent_files_menu.h"
#include "gui/main_window/results_panel.h"
#include "gui/qt/common_dialog.h"
#include "gui/qt/qt_focus_guard.h"

namespace quon {

QString ProgramTitle() { return QStringLiteral("Quon"); }

QString MainWindowCaption() {
  return ProgramTitle() + QStringLiteral("  ") + QString::fromLatin1(kWebAddress);
}

frmQuon::frmQuon(ShellServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
  setObjectName(QStringLiteral("frmQuon"));
  setWindowTitle(MainWindowCaption());
  setAccessibleName(ProgramTitle());
  focusGuard_ = new FocusGuard(this);
  engine_ = std::make_unique<ScriptEnvironment>([this](const std::string& description) {
    if (!quietEngine_) ShowMessage(description);
  });
  CreateMenus();
  CreateParts();
  LayOutWindow();
  ConnectHandlers();
  Form_Load();
  if (const QByteArray geometry = settings_.WindowGeometry(); !geometry.isEmpty()) {
    restoreGeometry(geometry);
  }
}

frmQuon::~frmQuon() = default;

void frmQuon::CreateMenus() {
  mnuFile = menuBar()->addMenu(QStringLiteral("File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuOpen = MakeAction(this, "mnuOpen", QStringLiteral("Open"));
  mnuFileBar1 = MakeAction(this, "mnuFileBar1", QString());
  mnuFileBar1->setSeparator(true);
  mnuSave = MakeAction(this, "mnuSave", QStringLiteral("Save"));
  mnuSaveAs = MakeAction(this, "mnuSaveAs", QStringLiteral("Save As"));
  mnuFileBar2 = MakeAction(this, "mnuFileBar2", QString());
  mnuFileBar2->setSeparator(true);
  mnuFile->addActions({mnuOpen, mnuFileBar1, mnuSave, mnuSaveAs, mnuFileBar2});
  mnuExport = MakeAction(this, "mnuExport", QStringLiteral("Export..."));
  mnuFile->addAction(mnuExport);
  mnuFitData = MakeAction(this, "mnuFitData", QStringLiteral("Fit data..."));
  mnuFile->addAction(mnuFitData);
  recent_ = new RecentFilesMenu(mnuFile, settings_,
                                [this](const std::string& path) { files_->OpenPath(path); });

  // Print, Help and About are commands on the menu bar itself.
  mnuPrint = MakeAction(this, "mnuPrint", QStringLiteral("Print"));
  mnuHelp = MakeAction(this, "mnuHelp", QStringLiteral("Help"));
  mnuAbout = MakeAction(this, "mnuAbout", QStringLiteral("About"));
  menuBar()->addActions({mnuPrint, mnuHelp, mnuAbout});
}

void frmQuon::CreateParts() {
  const auto message = [this](const std::string& text) { ShowMessage(text); };
  const auto fields = [this] { return ReadEntryFields(); };
  entry_ = new ProblemEntry(this, model_, *focusGuard_,
                            {[this] { SetMenuStates(); }, [this] { ClearResults(); },
                             [this] {
                               SetTabOrder();
                               KeepNewVariableSetsAsSaved();
                             }});
  constants_ = new ConstantsPanel(this, model_, *engine_, {[this] { ClearResults(); }, message});
  results_ =
      new ResultsPanel(this, model_, *engine_,
                       {[this] { return entry_->Complete(); }, fields, [this] { SetConstants(); },
                        message, [this](bool quiet) { quietEngine_ = quiet; }});
  files_ = new FileCommands(this, model_, services_,
                            {[this] { return entry_->Stage() == EntryStage::AwaitingNumber; },
                             fields, [this](const EntryFields& shown) { ShowOpenedProblem(shown); },
                             message, [this](const std::string& path) { FileUsed(path); },
                             [this] { return entry_->CommitNumberAndNames(); },
                             [this](const std::string& question) { return Confirm(question); }});
  cmdSuggestTerms = MakeButton(this, "cmdSuggestTerms", QStringLiteral("Suggest terms..."));
  cmdExit = MakeButton(this, "cmdExit", QStringLiteral("E&xit"));
}

void frmQuon::LayOutWindow() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("centralWidget"));
  setCentralWidget(central);

  auto* inputs = new QVBoxLayout;
  inputs->addWidget(entry_->SpecsFrame());
  inputs->addWidget(constants_->Frame());
  inputs->addStretch(1);

  auto* middle = new QHBoxLayout;
  middle->addLayout(inputs);
  middle->addLayout(results_->ResultRows(), 1);

  auto* commands = new QHBoxLayout;
  for (QPushButton* button : results_->CommandButtons()) commands->addWidget(button);
  commands->addWidget(cmdSuggestTerms);
  commands->addStretch(1);
  commands->addWidget(cmdExit);

  auto* window = new QVBoxLayout(central);
  window->addLayout(entry_->ProblemRows());
  window->addLayout(middle, 1);
  window->addLayout(commands);

  SetTabOrder();
}

void frmQuon::SetTabOrder() {
  std::vector<QWidget*> order = entry_->FieldsInTabOrder();
  for (const std::vector<QWidget*>& group :
       {results_->ComputeInTabOrder(), entry_->StepButtonsInTabOrder(),
        constants_->ControlsInTabOrder(), results_->ListInTabOrder()}) {
    order.insert(order.end(), group.begin(), group.end());
  }
  order.push_back(cmdSuggestTerms);
  order.push_back(cmdExit);
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmQuon::ConnectHandlers() {
  connect(cmdExit, &QPushButton::clicked, this, &frmQuon::cmdExit_Click);
  connect(cmdSuggestTerms, &QPushButton::clicked, this, &frmQuon::cmdSuggestTerms_Click);
  connect(mnuExport, &QAction::triggered, this, &frmQuon::mnuExport_Click);
  connect(mnuFitData, &QAction::triggered, this, &frmQuon::mnuFitData_Click);
  connect(mnuHelp, &QAction::triggered, this, &frmQuon::mnuHelp_Click);
  connect(mnuAbout, &QAction::triggered, this, &frmQuon::mnuAbout_Click);
  connect(mnuOpen, &QAction::triggered, files_, &FileCommands::mnuOpen_Click);
  connect(mnuSave, &QAction::triggered, files_, &FileCommands::mnuSave_Click);
  connect(mnuSaveAs, &QAction::triggered, files_, &FileCommands::mnuSaveAs_Click);
  connect(mnuPrint, &QAction::triggered, files_, &FileCommands::mnuPrint_Click);
  connect(results_, &ResultsPanel::EvaluationsWindowLoaded, this,
          &frmQuon::EvaluationsWindowLoaded);
}

void frmQuon::SetMenuStates() {
  const EntryStage stage = entry_->Stage();
  const bool fixed = stage == EntryStage::Fixed;
  mnuOpen->setEnabled(stage == EntryStage::AwaitingNumber);
  recent_->SetEnabled(stage == EntryStage::AwaitingNumber);
  mnuSave->setEnabled(fixed);
  mnuSaveAs->setEnabled(fixed);
  mnuPrint->setEnabled(fixed);
  mnuExport->setEnabled(fixed);
  mnuFitData->setEnabled(fixed);
  mnuHelp->setEnabled(true);
  mnuAbout->setVisible(fixed);
}

void frmQuon::Form_Load() {
  model_.StartDir = QDir::currentPath().toStdString();
  SetMenuStates();
  entry_->Start();
  RememberSavedWork();
}

void frmQuon::OpenFile(const std::string& path) { files_->OpenPath(path); }

void frmQuon::ShowOpenedProblem(const EntryFields& shown) {
  entry_->ShowOpenedProblem(shown);
  constants_->ShowModelConstants();
  results_->ShowStoredResults();
  results_->ShowAccuracy();
  SetMenuStates();
}

void frmQuon::closeEvent(QCloseEvent* event) {
  if (!unloaded_ && !MayClose()) {
    event->ignore();
    return;
  }
  settings_.SetWindowGeometry(saveGeometry());
  Form_Unload();
  event->accept();
}

bool frmQuon::MayClose() {
  const WorkChanges changes =
      ChangesSince(savedFields_, ReadEntryFields(), results_->FitCount() != savedFits_);
  if (!WorkToLose(model_, changes)) return true;
  switch (AskToSaveChanges()) {
    case SaveChangesAnswer::Save:
      return files_->Save();  // a cancelled name or a failed save keeps the work open
    case SaveChangesAnswer::Discard:
      return true;
    case SaveChangesAnswer::Cancel:
      break;
  }
  return false;
}

SaveChangesAnswer frmQuon::AskToSaveChanges() {
  if (services_.AskToSaveChanges) return services_.AskToSaveChanges();
  QMessageBox box(QMessageBox::Question, ProgramTitle(),
                  QStringLiteral("Save changes to this problem?"),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveChangesAnswer::Save;
    case QMessageBox::Discard:
      return SaveChangesAnswer::Discard;
    default:
      return SaveChangesAnswer::Cancel;
  }
}

bool frmQuon::Confirm(const std::string& question) {
  if (services_.Confirm) return services_.Confirm(question);
  return QMessageBox::question(this, ProgramTitle(), QString::fromStdString(question),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void frmQuon::RememberSavedWork() {
  savedFields_ = ReadEntryFields();
  savedFits_ = results_->FitCount();
}

void frmQuon::KeepNewVariableSetsAsSaved() {
  const std::vector<VariableFields> now = entry_->ReadFields().Variables;
  for (std::size_t k = savedFields_.Variables.size(); k < now.size(); ++k) {
    savedFields_.Variables.push_back(now[k]);
  }
}

void frmQuon::FileUsed(const std::string& path) {
  settings_.RememberFile(QString::fromStdString(path));
  recent_->Refresh();
  RememberSavedWork();
}

void frmQuon::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (services_.RestoreDecimalSeparator) services_.RestoreDecimalSeparator();
  // Every other window goes with the main one; the program ends with the last of them.
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top != this && top->isVisible()) top->close();
  }
}

void frmQuon::cmdExit_Click() { close(); }

void frmQuon::mnuHelp_Click() {
  if (services_.Dialogs == nullptr) return;
  services_.Dialogs->SetHelpCommand(kHelpShowFile);
  services_.Dialogs->SetHelpFile(HelpFilePath(model_.StartDir));
  services_.Dialogs->ShowHelp();
}

void frmQuon::mnuAbout_Click() { ShowAbout(); }

// Window-modal and deleted on close: the main window is not blocked in a nested loop.
void frmQuon::mnuExport_Click() {
  auto* window = new frmExport(model_, *engine_, services_.Dialogs, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->open();
}

// A window of its own, kept while open: the user fits, changes the terms and fits again.
void frmQuon::mnuFitData_Click() {
  if (!fitData_) {
    fitData_ = new frmFitData(model_, *services_.Dialogs,
                              {[this] { return ReadEntryFields(); },
                               [this] {
                                 results_->ShowStoredResults();
                                 results_->ShowAccuracy();
                                 SetMenuStates();
                               },
                               [this] { ClearResults(); }},
                              this);
    fitData_->setAttribute(Qt::WA_DeleteOnClose);
  }
  fitData_->show();
  fitData_->raise();
  fitData_->activateWindow();
}

frmFitData* frmQuon::FitDataWindow() const { return fitData_.data(); }

int frmQuon::CurVar() const { return entry_->CurVar(); }

void frmQuon::ClearResults() {
  if (results_ != nullptr) results_->ClearResults();
}

void frmQuon::SetConstants() { quon::SetConstants(ConstantItems(), *engine_); }

std::vector<std::string> frmQuon::ConstantItems() const { return constants_->Items(); }

EntryFields frmQuon::ReadEntryFields() const {
  EntryFields fields = entry_->ReadFields();
  fields.ConstantItems = ConstantItems();
  return fields;
}

frmEvaluations* frmQuon::EvaluationsWindow() const { return results_->EvaluationsWindow(); }

void frmQuon::ShowAccuracy() { results_->ShowAccuracy(); }

frmPlot* frmQuon::PlotWindow() const { return results_->PlotWindow(); }

void frmQuon::ShowMessage(const std::string& text) {
  if (services_.ShowMessage) {
    services_.ShowMessage(text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), QString::fromStdString(text),
                  QMessageBox::Ok, this);
  box.exec();
}

}  // namespace quon
