#include "gui/main_window/constants_panel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "core/model/user_constants.h"
#include "gui/main_window/control_factory.h"

namespace quon {

ConstantsPanel::ConstantsPanel(QWidget* window, ProblemModel& model, ScriptEnvironment& engine,
                               Events events)
    : QObject(window), model_(model), engine_(engine), events_(std::move(events)) {
  CreateControls(window);
  ConnectHandlers();
}

void ConstantsPanel::CreateControls(QWidget* window) {
  fraConstants = new QGroupBox(QStringLiteral("User constants"), window);
  fraConstants->setObjectName(QStringLiteral("fraConstants"));
  fraConstants->setToolTip(QStringLiteral("Add or remove user-defined constants"));
  fraConstants->setAccessibleName(fraConstants->title());

  cboConstants = new QComboBox(fraConstants);
  cboConstants->setObjectName(QStringLiteral("cboConstants"));
  cboConstants->setEditable(true);
  // Add keeps the list; the combo must neither insert on Enter nor complete inline, which
  // would turn a typed "a=3" into a listed "a=2.37".
  cboConstants->setInsertPolicy(QComboBox::NoInsert);
  cboConstants->setCompleter(nullptr);
  cboConstants->setToolTip(QStringLiteral("Example: a=2.37"));
  cboConstants->setAccessibleName(QStringLiteral("User constant"));
  cboConstants->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cboConstants->setMinimumContentsLength(12);

  cmdAddCons = MakeButton(fraConstants, "cmdAddCons", QStringLiteral("Add"));
  cmdRemCons = MakeButton(fraConstants, "cmdRemCons", QStringLiteral("Remove"));
  cmdRemCons->setToolTip(QStringLiteral("Remove selected constant"));

  auto* row = new QHBoxLayout(fraConstants);
  row->addWidget(cboConstants, 1);
  row->addWidget(cmdAddCons);
  row->addWidget(cmdRemCons);
}

void ConstantsPanel::ConnectHandlers() {
  connect(cboConstants, &QComboBox::editTextChanged, this, &ConstantsPanel::cboConstants_Change);
  connect(cboConstants->lineEdit(), &QLineEdit::returnPressed, cmdAddCons, &QPushButton::click);
  connect(cmdAddCons, &QPushButton::clicked, this, &ConstantsPanel::cmdAddCons_Click);
  connect(cmdRemCons, &QPushButton::clicked, this, &ConstantsPanel::cmdRemCons_Click);
}

std::vector<QWidget*> ConstantsPanel::ControlsInTabOrder() const {
  return {cboConstants, cmdAddCons, cmdRemCons};
}

void ConstantsPanel::cboConstants_Change() { events_.TextChanged(); }

void ConstantsPanel::cmdAddCons_Click() {
  const std::string text = cboConstants->currentText().toStdString();
  const AddResult result = AddConstant(model_, text);
  switch (result.Outcome) {
    case AddOutcome::Full:
      events_.ShowMessage(ConstantsFullMessage());
      return;
    case AddOutcome::NoEquals:
    case AddOutcome::BadName:
      return;
    case AddOutcome::Added:
      break;
  }
  if (result.RemovedIndex >= 0) cboConstants->removeItem(result.RemovedIndex);
  cboConstants->addItem(QString::fromStdString(text));
  cboConstants->setCurrentIndex(-1);
  cboConstants->setEditText(QString());
}

int ConstantsPanel::SelectedConstant() const {
  const int index = cboConstants->currentIndex();
  if (index < 0 || cboConstants->currentText() != cboConstants->itemText(index)) return -1;
  return index;
}

void ConstantsPanel::cmdRemCons_Click() {
  const int index = SelectedConstant();
  if (index < 0) return;
  const std::string statement = RemoveConstant(model_, index);
  if (!statement.empty()) {
    try {
      engine_.ExecuteStatement(statement);
    } catch (const ScriptFailure&) {
      // The engine has told the user already; the entry goes from the list regardless.
    }
  }
  cboConstants->removeItem(index);
  cboConstants->setCurrentIndex(-1);
}

std::vector<std::string> ConstantsPanel::Items() const {
  std::vector<std::string> items;
  for (int i = 0; i < cboConstants->count(); ++i) {
    items.push_back(cboConstants->itemText(i).toStdString());
  }
  return items;
}

void ConstantsPanel::ShowModelConstants() {
  cboConstants->clear();  // the file's constants replace any typed before the open
  const QString typed = cboConstants->currentText();
  for (int32_t j = 0; j < model_.ConstCount && j < MaxConstants; ++j) {
    cboConstants->addItem(QString::fromStdString(model_.Constants[static_cast<std::size_t>(j)]));
  }
  // Listing entries picks none of them and leaves the typed text alone.
  cboConstants->setCurrentIndex(-1);
  cboConstants->setEditText(typed);
}

}  // namespace quon
