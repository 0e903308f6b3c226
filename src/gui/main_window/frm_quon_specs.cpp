// The main window's problem entry: the number of variables and their names, each accepted
// once and then locked; the function; and the per-variable specification controls, one
// set per variable with one set on show, stepped with Next and Previous in a ring.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "main_window/frm_quon.h"
#include "model/entry_checks.h"
#include "number_text.h"
#include "qt/qt_focus_guard.h"

namespace quon {

namespace {

// Grid rows of the frame that shows one variable at a time.
enum SpecRow { RowVariable, RowLower, RowUpper, RowExpansion, RowPeriod, RowTerms, RowType };

QString Indexed(const char* name, int k) {
  return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(k);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::string Text(const QLineEdit* field) { return field->text().toStdString(); }

// Element k of a text-box array as a copy of element 0 (text, tool tip, font, size hint),
// or the designed element 0 itself.
QLineEdit* MakeEntryField(QWidget* parent, const char* name, int k, const QLineEdit* element0,
                          const QString& designText, const QString& accessible) {
  auto* field = new QLineEdit(element0 != nullptr ? element0->text() : designText, parent);
  field->setObjectName(Indexed(name, k));
  field->setAccessibleName(accessible);
  if (element0 != nullptr) {
    field->setToolTip(element0->toolTip());
    field->setFont(element0->font());
  }
  return field;
}

}  // namespace

void frmQuon::CreateSpecControls() {
  fraSpecs = new QGroupBox(QStringLiteral("Specifications for each variable"), this);
  fraSpecs->setObjectName(QStringLiteral("fraSpecs"));
  fraSpecs->setAccessibleName(fraSpecs->title());
  specGrid_ = new QGridLayout(fraSpecs);

  const auto label = [this](const char* name, const QString& caption, int row) {
    auto* control = new QLabel(caption, fraSpecs);
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(caption.chopped(1));
    specGrid_->addWidget(control, row, 0);
    return control;
  };
  lblVariable = label("lblVariable", QStringLiteral("Variable:"), RowVariable);
  lblLL = label("lblLL", QStringLiteral("Lower limit:"), RowLower);
  lblUL = label("lblUL", QStringLiteral("Upper limit:"), RowUpper);
  lblExpansion = label("lblExpansion", QStringLiteral("Center of expansion:"), RowExpansion);
  lblPeriod = label("lblPeriod", QStringLiteral("Period:"), RowPeriod);
  lblTerms = label("lblTerms", QStringLiteral("# of terms:"), RowTerms);

  fraType = new QGroupBox(QStringLiteral("Type"), fraSpecs);
  fraType->setObjectName(QStringLiteral("fraType"));
  fraType->setAccessibleName(fraType->title());
  new QVBoxLayout(fraType);
  specGrid_->addWidget(fraType, RowType, 0, 1, 2);

  CreateVariableSet(0);

  cmdPrevVar = new QPushButton(QStringLiteral("Previous"), fraSpecs);
  cmdPrevVar->setObjectName(QStringLiteral("cmdPrevVar"));
  cmdPrevVar->setAccessibleName(cmdPrevVar->text());
  cmdPrevVar->setAutoDefault(false);
  cmdNextVar = new QPushButton(QStringLiteral("Next"), fraSpecs);
  cmdNextVar->setObjectName(QStringLiteral("cmdNextVar"));
  cmdNextVar->setAccessibleName(cmdNextVar->text());
  cmdNextVar->setAutoDefault(false);
  auto* stepping = new QHBoxLayout;
  stepping->addWidget(cmdPrevVar);
  stepping->addWidget(cmdNextVar);
  specGrid_->addLayout(stepping, RowType + 1, 0, 1, 2);
  specGrid_->setColumnStretch(1, 1);
}

void frmQuon::CreateVariableSet(int k) {
  const bool copy = k > 0;
  auto* name = new QLabel(copy ? lblVar[0]->text() : QString(), fraSpecs);
  name->setObjectName(Indexed("lblVar", k));
  name->setAccessibleName(QStringLiteral("Variable name"));
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  lblVar.push_back(name);

  txtLL.push_back(MakeEntryField(fraSpecs, "txtLL", k, copy ? txtLL[0] : nullptr,
                                 QStringLiteral("-5"), QStringLiteral("Lower limit")));
  txtUL.push_back(MakeEntryField(fraSpecs, "txtUL", k, copy ? txtUL[0] : nullptr,
                                 QStringLiteral("5"), QStringLiteral("Upper limit")));
  txtExpansion.push_back(MakeEntryField(fraSpecs, "txtExpansion", k,
                                        copy ? txtExpansion[0] : nullptr, QStringLiteral("*"),
                                        QStringLiteral("Center of expansion")));
  txtPeriod.push_back(MakeEntryField(fraSpecs, "txtPeriod", k, copy ? txtPeriod[0] : nullptr,
                                     QStringLiteral("*"), QStringLiteral("Period")));
  txtTerms.push_back(MakeEntryField(fraSpecs, "txtTerms", k, copy ? txtTerms[0] : nullptr,
                                    QStringLiteral("10"), QStringLiteral("# of terms")));
  if (!copy) {
    txtExpansion[0]->setToolTip(QStringLiteral("Enter \"*\" for center of interval"));
    txtPeriod[0]->setToolTip(QStringLiteral("Enter \"*\" for 2\u03C0"));
  }

  auto* power = new QCheckBox(QStringLiteral("Power"), fraType);
  power->setObjectName(Indexed("chkPower", k));
  power->setAccessibleName(power->text());
  power->setToolTip(QStringLiteral("Uncheck for Trigonometric"));
  power->setChecked(copy ? chkPower[0]->isChecked() : true);
  chkPower.push_back(power);

  // Every element of an array shares its cell; only the variable on show is visible.
  specGrid_->addWidget(name, RowVariable, 1);
  specGrid_->addWidget(txtLL.back(), RowLower, 1);
  specGrid_->addWidget(txtUL.back(), RowUpper, 1);
  specGrid_->addWidget(txtExpansion.back(), RowExpansion, 1);
  specGrid_->addWidget(txtPeriod.back(), RowPeriod, 1);
  specGrid_->addWidget(txtTerms.back(), RowTerms, 1);
  fraType->layout()->addWidget(power);
  if (copy) {
    for (QWidget* control :
         {static_cast<QWidget*>(name), static_cast<QWidget*>(txtLL.back()),
          static_cast<QWidget*>(txtUL.back()), static_cast<QWidget*>(txtExpansion.back()),
          static_cast<QWidget*>(txtPeriod.back()), static_cast<QWidget*>(txtTerms.back()),
          static_cast<QWidget*>(power)}) {
      control->hide();
    }
  }
}

void frmQuon::WatchVariableSet(int k) {
  focusGuard_->Watch(txtLL[k], {[this, k](bool& Cancel) { txtLL_Validate(k, Cancel); },
                                [this, k] { txtLL_GotFocus(k); },
                                {}});
  focusGuard_->Watch(txtUL[k], {[this, k](bool& Cancel) { txtUL_Validate(k, Cancel); },
                                [this, k] { txtUL_GotFocus(k); },
                                {}});
  focusGuard_->Watch(txtExpansion[k], {{}, [this, k] { txtExpansion_GotFocus(k); }, {}});
  focusGuard_->Watch(txtPeriod[k], {{}, [this, k] { txtPeriod_GotFocus(k); }, {}});
  focusGuard_->Watch(txtTerms[k], {[this, k](bool& Cancel) { txtTerms_Validate(k, Cancel); },
                                   [this, k] { txtTerms_GotFocus(k); },
                                   {}});
}

void frmQuon::SetTabOrder() {
  std::vector<QWidget*> order = {txtOrder, txtVarNams, txtEquation};
  for (std::size_t k = 0; k < txtLL.size(); ++k) {
    order.insert(order.end(),
                 {txtLL[k], txtUL[k], txtExpansion[k], txtPeriod[k], txtTerms[k], chkPower[k]});
  }
  order.insert(order.end(), {cmdCompute, cmdPrevVar, cmdNextVar, cboConstants, cmdAddCons,
                             cmdRemCons, lstCoeff, cmdEvaluations, cmdExit});
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmQuon::ConnectSpecHandlers() {
  focusGuard_->Watch(txtOrder, {[this](bool& Cancel) { txtOrder_Validate(Cancel); },
                                [this] { txtOrder_GotFocus(); }, [this] { txtOrder_LostFocus(); }});
  focusGuard_->Watch(txtVarNams,
                     {[this](bool& Cancel) { txtVarNams_Validate(Cancel); },
                      [this] { txtVarNams_GotFocus(); }, [this] { txtVarNams_LostFocus(); }});
  focusGuard_->Watch(txtEquation, {[this](bool& Cancel) { txtEquation_Validate(Cancel); },
                                   [this] { txtEquation_GotFocus(); },
                                   {}});
  connect(txtEquation, &QLineEdit::textChanged, this, &frmQuon::txtEquation_Change);
  WatchVariableSet(0);
  connect(cmdNextVar, &QPushButton::clicked, this, &frmQuon::cmdNextVar_Click);
  connect(cmdPrevVar, &QPushButton::clicked, this, &frmQuon::cmdPrevVar_Click);
}

// --- Number and names -------------------------------------------------------------------

void frmQuon::txtOrder_GotFocus() { SelectWholeText(txtOrder); }

void frmQuon::txtOrder_Validate(bool& Cancel) {
  const std::optional<int32_t> lastVar = AcceptVariableCount(Text(txtOrder));
  if (!lastVar) {
    Cancel = true;
    return;
  }
  model_.LastVar = *lastVar;
  model_.AllocatePerVariableArrays();
}

void frmQuon::txtOrder_LostFocus() {
  txtOrder->setEnabled(false);
  mnuOpen->setEnabled(false);
  if (txtVarNams->isEnabled()) {
    LoadObjects();
    txtVarNams->setFocus(Qt::OtherFocusReason);
  }
}

void frmQuon::txtVarNams_GotFocus() { SelectWholeText(txtVarNams); }

void frmQuon::txtVarNams_Validate(bool& Cancel) {
  if (model_.Loading) return;
  model_.VarName = SplitNames(Text(txtVarNams));
  if (model_.VarName.size() != static_cast<std::size_t>(model_.LastVar) + 1) {
    Cancel = true;
    return;
  }
  for (int32_t i = 0; i <= model_.LastVar; ++i) {
    const std::string& name = model_.VarName[static_cast<std::size_t>(i)];
    if (name.empty()) {
      Cancel = true;
      return;
    }
    if (static_cast<std::size_t>(i) < lblVar.size()) lblVar[i]->setText(Text(name));
  }
}

void frmQuon::txtVarNams_LostFocus() {
  txtVarNams->setEnabled(false);
  const std::size_t count =
      std::min(model_.VarName.size(), static_cast<std::size_t>(model_.LastVar) + 1);
  lblEquation->setText(Text(Signature({model_.VarName.begin(), model_.VarName.begin() + count})));
  mnuSave->setEnabled(true);
  mnuSaveAs->setEnabled(true);
  mnuPrint->setEnabled(true);
  mnuAbout->setVisible(true);
}

void frmQuon::LoadObjects() {
  if (objectsLoaded_) return;
  objectsLoaded_ = true;
  for (int j = 1; j <= model_.LastVar; ++j) {
    CreateVariableSet(j);
    WatchVariableSet(j);
  }
  lblVar[0]->setText(Text(model_.VarName.empty() ? std::string() : model_.VarName[0]));
  for (QCheckBox* power : chkPower) power->setChecked(true);
  SetTabOrder();
}

// --- Function and per-variable fields ---------------------------------------------------

void frmQuon::txtEquation_GotFocus() { SelectWholeText(txtEquation); }

void frmQuon::txtEquation_Validate(bool& Cancel) {
  if (!EquationAccepted(Text(txtEquation))) Cancel = true;
}

void frmQuon::txtEquation_Change() { ClearResults(); }

void frmQuon::txtLL_GotFocus(int Index) { SelectWholeText(txtLL[Index]); }

void frmQuon::txtLL_Validate(int Index, bool& Cancel) {
  if (!LimitAccepted(Text(txtLL[Index]))) Cancel = true;
}

void frmQuon::txtUL_GotFocus(int Index) { SelectWholeText(txtUL[Index]); }

void frmQuon::txtUL_Validate(int Index, bool& Cancel) {
  if (!LimitAccepted(Text(txtUL[Index]))) Cancel = true;
}

void frmQuon::txtExpansion_GotFocus(int Index) { SelectWholeText(txtExpansion[Index]); }

void frmQuon::txtPeriod_GotFocus(int Index) { SelectWholeText(txtPeriod[Index]); }

void frmQuon::txtTerms_GotFocus(int Index) { SelectWholeText(txtTerms[Index]); }

void frmQuon::txtTerms_Validate(int Index, bool& Cancel) {
  if (!TermCountAccepted(Text(txtTerms[Index]))) Cancel = true;
}

void frmQuon::EditLimit(int LL) {
  if (LL < 0 || LL > model_.LastVar || static_cast<std::size_t>(LL) >= txtLL.size()) return;
  for (std::size_t i = 0; i < txtLL.size(); ++i) {
    for (QWidget* control :
         {static_cast<QWidget*>(txtUL[i]), static_cast<QWidget*>(txtLL[i]),
          static_cast<QWidget*>(lblVar[i]), static_cast<QWidget*>(txtTerms[i]),
          static_cast<QWidget*>(txtExpansion[i]), static_cast<QWidget*>(txtPeriod[i]),
          static_cast<QWidget*>(chkPower[i])}) {
      control->setVisible(i == static_cast<std::size_t>(LL));
    }
  }
  if (static_cast<std::size_t>(LL) < model_.VarName.size()) {
    lblVar[LL]->setText(Text(model_.VarName[static_cast<std::size_t>(LL)]));
  }
  txtLL[LL]->setFocus(Qt::OtherFocusReason);
}

void frmQuon::cmdNextVar_Click() {
  model_.CurVar = model_.CurVar >= model_.LastVar + 1 ? 1 : model_.CurVar + 1;
  EditLimit(model_.CurVar - 1);
}

void frmQuon::cmdPrevVar_Click() {
  model_.CurVar = model_.CurVar <= 1 ? model_.LastVar + 1 : model_.CurVar - 1;
  EditLimit(model_.CurVar - 1);
}

// --- Between controls and model ---------------------------------------------------------

void frmQuon::SetDisplayedSpecs() {
  const QString typed = cboConstants->currentText();
  for (int32_t j = 0; j < model_.ConstCount && j < MaxConstants; ++j) {
    cboConstants->addItem(Text(model_.Constants[static_cast<std::size_t>(j)]));
  }
  // Listing entries picks none of them and leaves the typed text alone.
  cboConstants->setCurrentIndex(-1);
  cboConstants->setEditText(typed);

  txtOrder->setText(QString::number(model_.LastVar + 1));
  txtEquation->setText(Text(model_.Equation));
  const std::size_t shown = std::min(txtLL.size(), static_cast<std::size_t>(model_.LastVar) + 1);
  for (std::size_t j = 0; j < shown; ++j) {
    if (j < model_.VarName.size()) lblVar[j]->setText(Text(model_.VarName[j]));
    txtLL[j]->setText(Text(TextForm(model_.LowerLimit[j])));
    txtUL[j]->setText(Text(TextForm(model_.UpperLimit[j])));
    txtTerms[j]->setText(QString::number(static_cast<int64_t>(model_.LastTerm[j]) + 1));
    model_.IsTrig[j] = !model_.IsPower[j];
    chkPower[j]->setChecked(model_.IsPower[j]);
  }
  const std::size_t named =
      std::min(model_.VarName.size(), static_cast<std::size_t>(model_.LastVar) + 1);
  txtVarNams->setText(Text(JoinNames({model_.VarName.begin(), model_.VarName.begin() + named})));
}

EntryFields frmQuon::ReadEntryFields() const {
  EntryFields fields;
  fields.Equation = Text(txtEquation);
  const std::size_t count = std::min(txtLL.size(), static_cast<std::size_t>(model_.LastVar) + 1);
  for (std::size_t k = 0; k < count; ++k) {
    fields.Variables.push_back({Text(txtLL[k]), Text(txtUL[k]), Text(txtExpansion[k]),
                                Text(txtPeriod[k]), Text(txtTerms[k]), chkPower[k]->isChecked()});
  }
  fields.ConstantItems = ConstantItems();
  return fields;
}

}  // namespace quon
