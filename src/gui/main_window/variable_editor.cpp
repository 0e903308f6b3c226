#include "gui/main_window/variable_editor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/model/entry_checks.h"
#include "engine/number_text.h"
#include "gui/main_window/control_factory.h"
#include "gui/qt/qt_focus_guard.h"

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

VariableEditor::VariableEditor(QWidget* window, ProblemModel& model, FocusGuard& guard,
                               std::function<bool()> mayStep)
    : QObject(window), model_(model), guard_(guard), mayStep_(std::move(mayStep)) {
  fraSpecs = new QGroupBox(QStringLiteral("Specifications for each variable"), window);
  CreateControls();
  WatchVariableSet(0);
  connect(cmdNextVar, &QPushButton::clicked, this, &VariableEditor::cmdNextVar_Click);
  connect(cmdPrevVar, &QPushButton::clicked, this, &VariableEditor::cmdPrevVar_Click);
}

void VariableEditor::CreateControls() {
  fraSpecs->setObjectName(QStringLiteral("fraSpecs"));
  fraSpecs->setAccessibleName(fraSpecs->title());
  specGrid_ = new QGridLayout(fraSpecs);

  const auto label = [this](const char* name, const QString& caption, int row) {
    QLabel* control = MakeLabel(fraSpecs, name, caption);
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

  cmdPrevVar = MakeButton(fraSpecs, "cmdPrevVar", QStringLiteral("Previous"));
  cmdNextVar = MakeButton(fraSpecs, "cmdNextVar", QStringLiteral("Next"));
  auto* stepping = new QHBoxLayout;
  stepping->addWidget(cmdPrevVar);
  stepping->addWidget(cmdNextVar);
  specGrid_->addLayout(stepping, RowType + 1, 0, 1, 2);
  specGrid_->setColumnStretch(1, 1);
}

void VariableEditor::CreateVariableSet(int k) {
  const bool copy = k > 0;
  QLabel* name = MakeTextLabel(fraSpecs, "", QStringLiteral("Variable name"));
  name->setObjectName(Indexed("lblVar", k));
  if (copy) name->setText(lblVar[0]->text());
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
  auto* chebyshev = new QCheckBox(QStringLiteral("Chebyshev"), fraType);
  chebyshev->setObjectName(Indexed("chkChebyshev", k));
  chebyshev->setAccessibleName(chebyshev->text());
  chebyshev->setToolTip(
      QStringLiteral("With Power: Chebyshev polynomials on Chebyshev points, for many terms"));
  chebyshev->setChecked(copy && chkChebyshev[0]->isChecked());
  chkChebyshev.push_back(chebyshev);
  const auto index = static_cast<std::size_t>(k);
  connect(power, &QCheckBox::toggled, this, [this, index] { ShowKindControls(index); });
  connect(chebyshev, &QCheckBox::toggled, this, [this, index] { ShowKindControls(index); });
  ShowKindControls(index);

  // Every element of an array shares its cell; only the variable on show is visible.
  specGrid_->addWidget(name, RowVariable, 1);
  specGrid_->addWidget(txtLL.back(), RowLower, 1);
  specGrid_->addWidget(txtUL.back(), RowUpper, 1);
  specGrid_->addWidget(txtExpansion.back(), RowExpansion, 1);
  specGrid_->addWidget(txtPeriod.back(), RowPeriod, 1);
  specGrid_->addWidget(txtTerms.back(), RowTerms, 1);
  fraType->layout()->addWidget(power);
  fraType->layout()->addWidget(chebyshev);
  if (copy) {
    for (QWidget* control :
         {static_cast<QWidget*>(name), static_cast<QWidget*>(txtLL.back()),
          static_cast<QWidget*>(txtUL.back()), static_cast<QWidget*>(txtExpansion.back()),
          static_cast<QWidget*>(txtPeriod.back()), static_cast<QWidget*>(txtTerms.back()),
          static_cast<QWidget*>(power), static_cast<QWidget*>(chebyshev)}) {
      control->hide();
    }
  }
}

void VariableEditor::ShowKindControls(std::size_t k) {
  chkChebyshev[k]->setEnabled(chkPower[k]->isChecked());
  const bool centred = UsesCenter(KindOf(
      VariableFields{{}, {}, {}, {}, {}, chkPower[k]->isChecked(), chkChebyshev[k]->isChecked()}));
  txtExpansion[k]->setEnabled(centred);
  txtPeriod[k]->setEnabled(centred);
}

void VariableEditor::WatchVariableSet(int k) {
  guard_.Watch(txtLL[k], {[this, k](bool& Cancel) { txtLL_Validate(k, Cancel); },
                          [this, k] { txtLL_GotFocus(k); },
                          {}});
  guard_.Watch(txtUL[k], {[this, k](bool& Cancel) { txtUL_Validate(k, Cancel); },
                          [this, k] { txtUL_GotFocus(k); },
                          {}});
  guard_.Watch(txtExpansion[k], {{}, [this, k] { txtExpansion_GotFocus(k); }, {}});
  guard_.Watch(txtPeriod[k], {{}, [this, k] { txtPeriod_GotFocus(k); }, {}});
  guard_.Watch(txtTerms[k], {[this, k](bool& Cancel) { txtTerms_Validate(k, Cancel); },
                             [this, k] { txtTerms_GotFocus(k); },
                             {}});
}

std::vector<QWidget*> VariableEditor::FieldsInTabOrder() const {
  std::vector<QWidget*> order;
  for (std::size_t k = 0; k < txtLL.size(); ++k) {
    order.insert(order.end(), {txtLL[k], txtUL[k], txtExpansion[k], txtPeriod[k], txtTerms[k],
                               chkPower[k], chkChebyshev[k]});
  }
  return order;
}

std::vector<QWidget*> VariableEditor::StepButtonsInTabOrder() const {
  return {cmdPrevVar, cmdNextVar};
}

bool VariableEditor::LoadObjects() {
  if (objectsLoaded_) return false;
  objectsLoaded_ = true;
  for (int j = 1; j < VariableCount(model_); ++j) {
    CreateVariableSet(j);
    WatchVariableSet(j);
  }
  lblVar[0]->setText(Text(model_.VarName.empty() ? std::string() : model_.VarName[0]));
  for (QCheckBox* power : chkPower) power->setChecked(true);
  for (QCheckBox* chebyshev : chkChebyshev) chebyshev->setChecked(false);
  return true;
}

void VariableEditor::ShowName(std::size_t k, const std::string& name) {
  if (k < lblVar.size()) lblVar[k]->setText(Text(name));
}

std::size_t VariableEditor::ShownSets() const {
  return std::min(txtLL.size(), static_cast<std::size_t>(VariableCount(model_)));
}

void VariableEditor::ShowSpecs(const EntryFields& shown) {
  for (std::size_t j = 0; j < ShownSets(); ++j) {
    if (j < model_.VarName.size()) lblVar[j]->setText(Text(model_.VarName[j]));
    txtLL[j]->setText(Text(TextForm(model_.LowerLimit[j])));
    txtUL[j]->setText(Text(TextForm(model_.UpperLimit[j])));
    txtTerms[j]->setText(QString::number(static_cast<int64_t>(model_.LastTerm[j]) + 1));
    VariableFields kind;
    ShowKind(kind, model_.Kind[j]);
    chkPower[j]->setChecked(kind.PowerChecked);
    chkChebyshev[j]->setChecked(kind.ChebyshevChecked);
    if (j < shown.Variables.size()) {
      txtExpansion[j]->setText(Text(shown.Variables[j].Expansion));
      txtPeriod[j]->setText(Text(shown.Variables[j].Period));
    }
  }
}

std::vector<VariableFields> VariableEditor::ReadFields() const {
  std::vector<VariableFields> fields;
  for (std::size_t k = 0; k < ShownSets(); ++k) {
    fields.push_back({Text(txtLL[k]), Text(txtUL[k]), Text(txtExpansion[k]), Text(txtPeriod[k]),
                      Text(txtTerms[k]), chkPower[k]->isChecked(), chkChebyshev[k]->isChecked()});
  }
  return fields;
}

void VariableEditor::txtLL_GotFocus(int Index) { SelectWholeText(txtLL[Index]); }

void VariableEditor::txtLL_Validate(int Index, bool& Cancel) {
  if (!LimitAccepted(Text(txtLL[Index]))) Cancel = true;
}

void VariableEditor::txtUL_GotFocus(int Index) { SelectWholeText(txtUL[Index]); }

void VariableEditor::txtUL_Validate(int Index, bool& Cancel) {
  if (!LimitAccepted(Text(txtUL[Index]))) Cancel = true;
}

void VariableEditor::txtExpansion_GotFocus(int Index) { SelectWholeText(txtExpansion[Index]); }

void VariableEditor::txtPeriod_GotFocus(int Index) { SelectWholeText(txtPeriod[Index]); }

void VariableEditor::txtTerms_GotFocus(int Index) { SelectWholeText(txtTerms[Index]); }

void VariableEditor::txtTerms_Validate(int Index, bool& Cancel) {
  if (!TermCountAccepted(Text(txtTerms[Index]))) Cancel = true;
}

void VariableEditor::EditLimit(int LL) {
  if (LL < 0 || LL >= VariableCount(model_) || static_cast<std::size_t>(LL) >= txtLL.size()) return;
  for (std::size_t i = 0; i < txtLL.size(); ++i) {
    for (QWidget* control :
         {static_cast<QWidget*>(txtUL[i]), static_cast<QWidget*>(txtLL[i]),
          static_cast<QWidget*>(lblVar[i]), static_cast<QWidget*>(txtTerms[i]),
          static_cast<QWidget*>(txtExpansion[i]), static_cast<QWidget*>(txtPeriod[i]),
          static_cast<QWidget*>(chkPower[i]), static_cast<QWidget*>(chkChebyshev[i])}) {
      control->setVisible(i == static_cast<std::size_t>(LL));
    }
  }
  if (static_cast<std::size_t>(LL) < model_.VarName.size()) {
    lblVar[LL]->setText(Text(model_.VarName[static_cast<std::size_t>(LL)]));
  }
  txtLL[LL]->setFocus(Qt::OtherFocusReason);
}

void VariableEditor::cmdNextVar_Click() {
  if (!mayStep_()) return;
  curVar_ = curVar_ >= VariableCount(model_) ? 1 : curVar_ + 1;
  EditLimit(curVar_ - 1);
}

void VariableEditor::cmdPrevVar_Click() {
  if (!mayStep_()) return;
  curVar_ = curVar_ <= 1 ? VariableCount(model_) : curVar_ - 1;
  EditLimit(curVar_ - 1);
}

void VariableEditor::ApplyTermCounts(const std::vector<std::string>& counts) {
  for (std::size_t k = 0; k < counts.size() && k < txtTerms.size(); ++k) {
    const int index = static_cast<int>(k);
    if (index >= VariableCount(model_)) break;
    txtTerms[k]->setText(QString::fromStdString(counts[k]));
    bool Cancel = false;
    txtTerms_Validate(index, Cancel);
    if (Cancel) {
      curVar_ = index + 1;
      EditLimit(index);
      txtTerms[k]->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

}  // namespace quon
