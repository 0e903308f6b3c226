#include "gui/main_window/problem_entry.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>
#include <algorithm>
#include <string>

#include "core/model/entry_checks.h"
#include "gui/main_window/control_factory.h"
#include "gui/main_window/variable_editor.h"
#include "gui/qt/qt_focus_guard.h"

namespace quon {

namespace {

std::string Text(const QLineEdit* field) { return field->text().toStdString(); }

}  // namespace

ProblemEntry::ProblemEntry(QWidget* window, ProblemModel& model, FocusGuard& guard, Events events)
    : QObject(window), model_(model), guard_(guard), events_(std::move(events)) {
  CreateControls(window);
  editor_ = new VariableEditor(window, model_, guard_, [this] { return Complete(); });
  ConnectHandlers();
}

void ProblemEntry::CreateControls(QWidget* window) {
  lblOrder = MakeLabel(window, "lblOrder", QStringLiteral("Enter # of independent variables:"));
  txtOrder = new QLineEdit(window);
  txtOrder->setObjectName(QStringLiteral("txtOrder"));
  txtOrder->setAccessibleName(AccessibleFromCaption(lblOrder->text()));
  lblOrder->setBuddy(txtOrder);

  lblVarNam = MakeLabel(window, "lblVarNam", QString());
  txtVarNams = new QLineEdit(QStringLiteral("x,y,z,t"), window);
  txtVarNams->setObjectName(QStringLiteral("txtVarNams"));
  lblVarNam->setBuddy(txtVarNams);

  lblFunction = MakeLabel(window, "lblFunction", QStringLiteral("Enter function:"));
  lblEquation = MakeTextLabel(window, "lblEquation", QStringLiteral("Function signature"));
  txtEquation = new QLineEdit(QStringLiteral("x^2*sin(y)+4*cos(z)-t"), window);
  txtEquation->setObjectName(QStringLiteral("txtEquation"));
  txtEquation->setAccessibleName(AccessibleFromCaption(lblFunction->text()));
  txtEquation->setToolTip(QStringLiteral(
      "Must be in terms of the variables defined above and constants defined below"));
  lblFunction->setBuddy(txtEquation);

  // The problem's size and its function, top to bottom in the order they are entered.
  problemRows_ = new QGridLayout;
  problemRows_->addWidget(lblOrder, 0, 0);
  problemRows_->addWidget(txtOrder, 0, 1, Qt::AlignLeft);
  txtOrder->setMaximumWidth(txtOrder->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
  problemRows_->addWidget(lblVarNam, 1, 0);
  problemRows_->addWidget(txtVarNams, 1, 1);
  auto* function = new QHBoxLayout;
  function->addWidget(lblEquation);
  function->addWidget(txtEquation, 1);
  problemRows_->addWidget(lblFunction, 2, 0);
  problemRows_->addLayout(function, 2, 1);
  problemRows_->setColumnStretch(1, 1);
}

void ProblemEntry::ConnectHandlers() {
  guard_.Watch(txtOrder, {[this](bool& Cancel) { txtOrder_Validate(Cancel); },
                          [this] { txtOrder_GotFocus(); }, [this] { txtOrder_LostFocus(); }});
  guard_.Watch(txtVarNams, {[this](bool& Cancel) { txtVarNams_Validate(Cancel); },
                            [this] { txtVarNams_GotFocus(); }, [this] { txtVarNams_LostFocus(); }});
  guard_.Watch(txtEquation, {[this](bool& Cancel) { txtEquation_Validate(Cancel); },
                             [this] { txtEquation_GotFocus(); },
                             {}});
  connect(txtEquation, &QLineEdit::textChanged, this, &ProblemEntry::txtEquation_Change);
}

QGroupBox* ProblemEntry::SpecsFrame() const { return editor_->Frame(); }

std::vector<QWidget*> ProblemEntry::FieldsInTabOrder() const {
  std::vector<QWidget*> order = {txtOrder, txtVarNams, txtEquation};
  const std::vector<QWidget*> variables = editor_->FieldsInTabOrder();
  order.insert(order.end(), variables.begin(), variables.end());
  return order;
}

std::vector<QWidget*> ProblemEntry::StepButtonsInTabOrder() const {
  return editor_->StepButtonsInTabOrder();
}

EntryStage ProblemEntry::Stage() const {
  if (txtOrder->isEnabled()) return EntryStage::AwaitingNumber;
  if (txtVarNams->isEnabled()) return EntryStage::AwaitingNames;
  return EntryStage::Fixed;
}

bool ProblemEntry::Complete() {
  switch (Stage()) {
    case EntryStage::AwaitingNumber:
      txtOrder->setFocus(Qt::OtherFocusReason);
      return false;
    case EntryStage::AwaitingNames:
      txtVarNams->setFocus(Qt::OtherFocusReason);
      return false;
    case EntryStage::Fixed:
      break;
  }
  return true;
}

std::string ProblemEntry::CommitNumberAndNames() {
  bool cancel = false;
  if (Stage() == EntryStage::AwaitingNumber) {
    txtOrder_Validate(cancel);
    if (cancel) {
      txtOrder->setFocus(Qt::OtherFocusReason);
      return "Enter the number of independent variables (1 to 4) first: the problem cannot "
             "be saved without it.";
    }
    txtOrder_LostFocus();
  }
  if (Stage() == EntryStage::AwaitingNames) {
    txtVarNams_Validate(cancel);
    if (cancel) {
      txtVarNams->setFocus(Qt::OtherFocusReason);
      const int count = VariableCount(model_);
      return (count == 1 ? std::string("Enter the name of the variable")
                         : "Enter the " + std::to_string(count) +
                               " names of the variables, separated by commas,") +
             " first: the problem cannot be saved before its variables are named.";
    }
    txtVarNams_LostFocus();
  }
  return {};
}

void ProblemEntry::Start() {
  lblVarNam->setText(
      QStringLiteral("Enter the names of the independent variables, separated by commas:"));
  txtVarNams->setAccessibleName(AccessibleFromCaption(lblVarNam->text()));
  txtOrder->setFocus(Qt::OtherFocusReason);
}

int ProblemEntry::CurVar() const { return editor_->CurVar(); }

EntryFields ProblemEntry::ReadFields() const {
  EntryFields fields;
  fields.Equation = Text(txtEquation);
  fields.Variables = editor_->ReadFields();
  return fields;
}

void ProblemEntry::ApplyTermCounts(const std::vector<std::string>& counts) {
  editor_->ApplyTermCounts(counts);
}

void ProblemEntry::ShowOpenedProblem(const EntryFields& shown) {
  txtOrder->setEnabled(false);
  txtVarNams->setEnabled(false);
  LoadObjects();
  txtOrder->setText(QString::number(VariableCount(model_)));
  txtEquation->setText(QString::fromStdString(model_.Equation));
  editor_->ShowSpecs(shown);
  const std::size_t named =
      std::min(model_.VarName.size(), static_cast<std::size_t>(VariableCount(model_)));
  const std::vector<std::string> names(model_.VarName.begin(), model_.VarName.begin() + named);
  txtVarNams->setText(QString::fromStdString(JoinNames(names)));
}

void ProblemEntry::LoadObjects() {
  if (editor_->LoadObjects()) events_.ControlsCreated();
}

// --- Number and names -------------------------------------------------------------------

void ProblemEntry::txtOrder_GotFocus() { SelectWholeText(txtOrder); }

void ProblemEntry::txtOrder_Validate(bool& Cancel) {
  const std::optional<int32_t> lastVar = AcceptVariableCount(Text(txtOrder));
  if (!lastVar) {
    Cancel = true;
    return;
  }
  model_.LastVar = *lastVar;
  model_.AllocatePerVariableArrays();
}

void ProblemEntry::txtOrder_LostFocus() {
  txtOrder->setEnabled(false);
  events_.StageChanged();
  if (txtVarNams->isEnabled()) {
    LoadObjects();
    txtVarNams->setFocus(Qt::OtherFocusReason);
  }
}

void ProblemEntry::txtVarNams_GotFocus() { SelectWholeText(txtVarNams); }

void ProblemEntry::txtVarNams_Validate(bool& Cancel) {
  if (model_.Loading) return;
  model_.VarName = SplitNames(Text(txtVarNams));
  if (model_.VarName.size() != static_cast<std::size_t>(VariableCount(model_))) {
    Cancel = true;
    return;
  }
  // A name the language would read as another variable, or as an earlier one, is refused
  // with its reason beside the field (no dialog: the focus stays in the field).
  if (const std::optional<std::string> problem = NamesProblem(model_.VarName)) {
    QToolTip::showText(txtVarNams->mapToGlobal(QPoint(0, txtVarNams->height())),
                       QString::fromStdString(*problem), txtVarNams);
    Cancel = true;
    return;
  }
  for (std::size_t i = 0; i < model_.VarName.size(); ++i) editor_->ShowName(i, model_.VarName[i]);
}

void ProblemEntry::txtVarNams_LostFocus() {
  txtVarNams->setEnabled(false);
  const std::size_t count =
      std::min(model_.VarName.size(), static_cast<std::size_t>(VariableCount(model_)));
  lblEquation->setText(
      QString::fromStdString(Signature({model_.VarName.begin(), model_.VarName.begin() + count})));
  events_.StageChanged();
}

// --- Function ---------------------------------------------------------------------------

void ProblemEntry::txtEquation_GotFocus() { SelectWholeText(txtEquation); }

void ProblemEntry::txtEquation_Validate(bool& Cancel) {
  if (!EquationAccepted(Text(txtEquation))) Cancel = true;
}

void ProblemEntry::txtEquation_Change() { events_.FunctionChanged(); }

}  // namespace quon
