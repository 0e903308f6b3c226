// The main window's user constants: typed into the combo box, added with Add or Enter,
// removed with Remove. The model's Constants and the combo's list hold the same entries
// in the same order; any change of the combo's text clears the results.
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "main_window/frm_quon.h"
#include "model/user_constants.h"

namespace quon {

void frmQuon::CreateConstantControls() {
  fraConstants = new QGroupBox(QStringLiteral("User constants"), this);
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

  cmdAddCons = new QPushButton(QStringLiteral("Add"), fraConstants);
  cmdAddCons->setObjectName(QStringLiteral("cmdAddCons"));
  cmdAddCons->setAccessibleName(cmdAddCons->text());
  cmdAddCons->setAutoDefault(false);
  cmdRemCons = new QPushButton(QStringLiteral("Remove"), fraConstants);
  cmdRemCons->setObjectName(QStringLiteral("cmdRemCons"));
  cmdRemCons->setAccessibleName(cmdRemCons->text());
  cmdRemCons->setToolTip(QStringLiteral("Remove selected constant"));
  cmdRemCons->setAutoDefault(false);

  auto* row = new QHBoxLayout(fraConstants);
  row->addWidget(cboConstants, 1);
  row->addWidget(cmdAddCons);
  row->addWidget(cmdRemCons);
}

void frmQuon::ConnectConstantHandlers() {
  connect(cboConstants, &QComboBox::editTextChanged, this, &frmQuon::cboConstants_Change);
  connect(cboConstants->lineEdit(), &QLineEdit::returnPressed, cmdAddCons, &QPushButton::click);
  connect(cmdAddCons, &QPushButton::clicked, this, &frmQuon::cmdAddCons_Click);
  connect(cmdRemCons, &QPushButton::clicked, this, &frmQuon::cmdRemCons_Click);
}

void frmQuon::cboConstants_Change() { ClearResults(); }

void frmQuon::cmdAddCons_Click() {
  const std::string text = cboConstants->currentText().toStdString();
  const AddResult result = AddConstant(model_, text);
  switch (result.Outcome) {
    case AddOutcome::Full:
      ShowMessage(ConstantsFullMessage());
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

int frmQuon::SelectedConstant() const {
  const int index = cboConstants->currentIndex();
  if (index < 0 || cboConstants->currentText() != cboConstants->itemText(index)) return -1;
  return index;
}

void frmQuon::cmdRemCons_Click() {
  const int index = SelectedConstant();
  if (index < 0) return;
  const std::string statement = RemoveConstant(model_, index);
  if (!statement.empty()) {
    try {
      engine_->ExecuteStatement(statement);
    } catch (const ScriptFailure&) {
      // The engine has told the user already; the entry goes from the list regardless.
    }
  }
  cboConstants->removeItem(index);
  cboConstants->setCurrentIndex(-1);
}

std::vector<std::string> frmQuon::ConstantItems() const {
  std::vector<std::string> items;
  for (int i = 0; i < cboConstants->count(); ++i) {
    items.push_back(cboConstants->itemText(i).toStdString());
  }
  return items;
}

void frmQuon::SetConstants() { quon::SetConstants(ConstantItems(), *engine_); }

}  // namespace quon
