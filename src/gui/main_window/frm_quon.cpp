#include "main_window/frm_quon.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "frm_about.h"
#include "frm_export.h"
#include "qt/common_dialog.h"
#include "qt/qt_coef_list_model.h"
#include "qt/qt_fixed_font.h"
#include "qt/qt_focus_guard.h"
#include "shell/decimal_point.h"
#include "shell/help_file.h"

namespace quon {

namespace {

// The accessible name of a control labelled `caption`: without the mnemonic marker and
// the trailing colon.
QString AccessibleFromCaption(QString caption) {
  caption.remove(QLatin1Char('&'));
  if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
  return caption.trimmed();
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAccessibleName(AccessibleFromCaption(caption));
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(AccessibleFromCaption(caption));
  button->setAutoDefault(false);
  return button;
}

QAction* MakeAction(QObject* parent, const char* name, const QString& caption) {
  auto* action = new QAction(caption, parent);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

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
  CreateMenus();
  CreateProblemControls();
  CreateSpecControls();
  CreateConstantControls();
  CreateResultControls();
  CreateAccuracyControls();
  LayOutWindow();
  ConnectHandlers();
  ConnectAccuracyHandlers();
  Form_Load();
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

  // Print, Help and About are commands on the menu bar itself.
  mnuPrint = MakeAction(this, "mnuPrint", QStringLiteral("Print"));
  mnuHelp = MakeAction(this, "mnuHelp", QStringLiteral("Help"));
  mnuAbout = MakeAction(this, "mnuAbout", QStringLiteral("About"));
  menuBar()->addActions({mnuPrint, mnuHelp, mnuAbout});
}

void frmQuon::CreateProblemControls() {
  lblOrder = MakeLabel(this, "lblOrder", QStringLiteral("Enter # of independent variables:"));
  txtOrder = new QLineEdit(this);
  txtOrder->setObjectName(QStringLiteral("txtOrder"));
  txtOrder->setAccessibleName(AccessibleFromCaption(lblOrder->text()));
  lblOrder->setBuddy(txtOrder);

  lblVarNam = MakeLabel(this, "lblVarNam", QString());
  txtVarNams = new QLineEdit(QStringLiteral("x,y,z,t"), this);
  txtVarNams->setObjectName(QStringLiteral("txtVarNams"));
  lblVarNam->setBuddy(txtVarNams);

  lblFunction = MakeLabel(this, "lblFunction", QStringLiteral("Enter function:"));
  lblEquation = MakeLabel(this, "lblEquation", QString());
  lblEquation->setAccessibleName(QStringLiteral("Function signature"));
  txtEquation = new QLineEdit(QStringLiteral("x^2*sin(y)+4*cos(z)-t"), this);
  txtEquation->setObjectName(QStringLiteral("txtEquation"));
  txtEquation->setAccessibleName(AccessibleFromCaption(lblFunction->text()));
  txtEquation->setToolTip(QStringLiteral(
      "Must be in terms of the variables defined above and constants defined below"));
  lblFunction->setBuddy(txtEquation);
}

void frmQuon::CreateResultControls() {
  // The lines of a listing are made as they come into view: a large fit has millions.
  coefList_ = new CoefListModel(model_, this);
  lstCoeff = new QListView(this);
  lstCoeff->setObjectName(QStringLiteral("lstCoeff"));
  lstCoeff->setModel(coefList_);
  lstCoeff->setUniformItemSizes(true);
  lstCoeff->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstCoeff->setToolTip(QStringLiteral("Coefficients"));
  lstCoeff->setAccessibleName(QStringLiteral("Coefficients"));
  // Coefficients and term labels line up in columns only in a fixed-pitch font.
  lstCoeff->setFont(FixedPitchFont(QStringLiteral("Courier New"), 8.25));
  const QFontMetrics metrics(lstCoeff->font());
  lstCoeff->setTextElideMode(Qt::ElideNone);
  coefList_->SetCharacterCell(QSize(metrics.horizontalAdvance(QLatin1Char('0')), metrics.height()));
  // Room for a coefficient (24 columns) and a term of a few factors, and for a listing
  // long enough to read without scrolling at once.
  lstCoeff->setMinimumWidth(metrics.horizontalAdvance(QString(56, QLatin1Char('0'))));
  lstCoeff->setMinimumHeight(metrics.lineSpacing() * 16);

  cmdCompute = MakeButton(this, "cmdCompute", QStringLiteral("Compute"));
  cmdEvaluations = MakeButton(this, "cmdEvaluations", QStringLiteral("Evaluations"));
  cmdEvaluations->setEnabled(false);
  cmdExit = MakeButton(this, "cmdExit", QStringLiteral("E&xit"));
}

void frmQuon::LayOutWindow() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("centralWidget"));
  setCentralWidget(central);

  // The problem's size and its function, top to bottom in the order they are entered.
  auto* problem = new QGridLayout;
  problem->addWidget(lblOrder, 0, 0);
  problem->addWidget(txtOrder, 0, 1, Qt::AlignLeft);
  txtOrder->setMaximumWidth(txtOrder->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  problem->addWidget(lblVarNam, 1, 0);
  problem->addWidget(txtVarNams, 1, 1);
  auto* function = new QHBoxLayout;
  function->addWidget(lblEquation);
  function->addWidget(txtEquation, 1);
  problem->addWidget(lblFunction, 2, 0);
  problem->addLayout(function, 2, 1);
  problem->setColumnStretch(1, 1);

  auto* inputs = new QVBoxLayout;
  inputs->addWidget(fraSpecs);
  inputs->addWidget(fraConstants);
  inputs->addStretch(1);

  auto* middle = new QHBoxLayout;
  middle->addLayout(inputs);
  auto* results = new QVBoxLayout;
  results->addWidget(lstCoeff, 1);
  results->addWidget(accuracyArea);
  middle->addLayout(results, 1);

  auto* commands = new QHBoxLayout;
  commands->addWidget(cmdCompute);
  commands->addWidget(cmdEvaluations);
  commands->addWidget(cmdPlot);
  commands->addStretch(1);
  commands->addWidget(cmdExit);

  auto* window = new QVBoxLayout(central);
  window->addLayout(problem);
  window->addLayout(middle, 1);
  window->addLayout(commands);

  SetTabOrder();
}

void frmQuon::ConnectHandlers() {
  connect(cmdExit, &QPushButton::clicked, this, &frmQuon::cmdExit_Click);
  connect(mnuHelp, &QAction::triggered, this, &frmQuon::mnuHelp_Click);
  connect(mnuAbout, &QAction::triggered, this, &frmQuon::mnuAbout_Click);
  connect(mnuExport, &QAction::triggered, this, &frmQuon::mnuExport_Click);
  ConnectSpecHandlers();
  ConnectConstantHandlers();
  ConnectComputeHandlers();
  ConnectFileHandlers();
  ConnectReportHandlers();
}

void frmQuon::SetMenusToFirstState() {
  mnuOpen->setEnabled(true);
  mnuSave->setEnabled(false);
  mnuSaveAs->setEnabled(false);
  mnuPrint->setEnabled(false);
  mnuAbout->setVisible(false);
  mnuHelp->setEnabled(true);
}

void frmQuon::Form_Load() {
  model_.StartDir = QDir::currentPath().toStdString();
  engine_ = std::make_unique<ScriptEnvironment>(
      [this](const std::string& description) { ShowMessage(description); });
  SetMenusToFirstState();
  lblVarNam->setText(
      QStringLiteral("Enter the names of the independent variables, separated by commas:"));
  txtVarNams->setAccessibleName(AccessibleFromCaption(lblVarNam->text()));
  model_.CurVar = 1;
  txtOrder->setFocus(Qt::OtherFocusReason);
}

void frmQuon::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
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

void frmQuon::ClearResults() {
  if (model_.Loading) return;
  coefList_->Clear();
  model_.HaveResults = false;
  ClearAccuracy();
}

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
