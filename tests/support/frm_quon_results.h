// Test support for the results side of the main window: entering a whole problem through
// the entry fields, pressing Compute, and reading the results list.
#pragma once

#include <QCheckBox>
#include <QListView>
#include <QPushButton>
#include <QStringList>

#include "qt/qt_coef_list_model.h"
#include "support/frm_quon_fixture.h"

namespace quon::testing {

struct VariableEntry {
  QString LowerLimit, UpperLimit, Terms;
  bool Power = true;
  QString Expansion = QStringLiteral("*");
  QString Period = QStringLiteral("*");
};

// Accepts the number and names, then fills each variable's fields and the function.
inline void EnterFullProblem(QuonWindow& w, const QString& names, const QString& equation,
                             const QList<VariableEntry>& variables) {
  w.EnterProblem(QString::number(variables.size()), names);
  for (int k = 0; k < variables.size(); ++k) {
    const VariableEntry& v = variables[k];
    w.Field(QStringLiteral("txtLL_%1").arg(k))->setText(v.LowerLimit);
    w.Field(QStringLiteral("txtUL_%1").arg(k))->setText(v.UpperLimit);
    w.Field(QStringLiteral("txtTerms_%1").arg(k))->setText(v.Terms);
    w.Field(QStringLiteral("txtExpansion_%1").arg(k))->setText(v.Expansion);
    w.Field(QStringLiteral("txtPeriod_%1").arg(k))->setText(v.Period);
    w.Child<QCheckBox>(QStringLiteral("chkPower_%1").arg(k))->setChecked(v.Power);
  }
  w.Field(QStringLiteral("txtEquation"))->setText(equation);
}

// x^2 with one power variable of 3 terms on [0, 2]: coefficients 1, 2 and 1 about x = 1.
inline void EnterParabola(QuonWindow& w) {
  EnterFullProblem(w, QStringLiteral("x"), QStringLiteral("x^2"), {{"0", "2", "3"}});
}

inline void PressCompute(QuonWindow& w) {
  ClickAt(w.Child<QPushButton>(QStringLiteral("cmdCompute")));
}

inline CoefListModel* ResultsList(const QuonWindow& w) {
  return qobject_cast<CoefListModel*>(w.Child<QListView>(QStringLiteral("lstCoeff"))->model());
}

// Every line of the results list.
inline QStringList ListedLines(const QuonWindow& w) {
  QStringList lines;
  const CoefListModel* list = ResultsList(w);
  for (int row = 0; row < list->rowCount(); ++row) lines << list->LineText(row);
  return lines;
}

}  // namespace quon::testing
