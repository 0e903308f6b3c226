// A main window with fake dialogs and a recorded message sink, shown and active; the
// steps a user takes to enter a whole problem and press Compute; and the results list.
#pragma once

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "gui/main_window/frm_quon.h"
#include "gui/qt/qt_coef_list_model.h"
#include "support/qt_test_support.h"

namespace quon::testing {

class QuonWindow {
 public:
  // printer: where Print prints (none: Print says there is no printer). The settings
  // start empty unless keepSettings (what an earlier window of the test left).
  explicit QuonWindow(ReportPrinter* printer = nullptr, bool keepSettings = false) {
    QuietOffscreenNotes();
    UseScratchSettings(keepSettings);
    ShellServices services;
    services.Dialogs = &dialogs;
    services.Printer = printer;
    services.RestoreDecimalSeparator = [this] { ++restored; };
    services.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
    services.AskToSaveChanges = [this] {
      ++asked;
      return answer;
    };
    services.Confirm = [this](const std::string& question) {
      questions.push_back(question);
      return confirm;
    };
    window = std::make_unique<frmQuon>(std::move(services));
    window->show();
    if (!QTest::qWaitForWindowActive(window.get())) qFatal("the main window did not become active");
  }

  template <typename T>
  T* Child(const QString& name) const {
    T* child = window->findChild<T*>(name);
    if (child == nullptr) qFatal("no control named %s", qPrintable(name));
    return child;
  }
  QLineEdit* Field(const QString& name) const { return Child<QLineEdit>(name); }
  QAction* Menu(const QString& name) const { return Child<QAction>(name); }
  QWidget* Focus() const { return QApplication::focusWidget(); }
  ProblemModel& Model() const { return window->Model(); }
  int CurVar() const { return window->CurVar(); }

  // The number of lines in the results list.
  int ResultLines() const { return Child<QAbstractItemView>("lstCoeff")->model()->rowCount(); }
  // Puts a line into the results list and marks the results as present, as a finished fit
  // does; the tests of clearing start from here.
  void PutResults() {
    auto* lines = qobject_cast<CoefListModel*>(Child<QAbstractItemView>("lstCoeff")->model());
    if (lines == nullptr) qFatal("the results list has no coefficient list model");
    lines->AppendLine(QStringLiteral("COEFFICIENTS:"));
    Model().HaveResults = true;
  }

  // Types `text` into the focused field and presses Tab.
  void TypeAndTab(const QString& field, const QString& text) {
    TypeInto(Field(field), text);
    QTest::keyClick(Field(field), Qt::Key_Tab);
  }

  // Accepts a number of variables and their names, as a user would.
  void EnterProblem(const QString& count, const QString& names) {
    TypeAndTab(QStringLiteral("txtOrder"), count);
    TypeAndTab(QStringLiteral("txtVarNams"), names);
    if (Field(QStringLiteral("txtVarNams"))->isEnabled()) qFatal("the names were refused");
  }

  FakeCommonDialog dialogs;
  std::vector<std::string> messages;
  int restored = 0;
  // The answer to the exit question, and how often it was asked.
  SaveChangesAnswer answer = SaveChangesAnswer::Discard;
  int asked = 0;
  // The answer to yes-or-no questions, and the questions asked.
  bool confirm = false;
  std::vector<std::string> questions;
  ModalWatch modalWatch;
  std::unique_ptr<frmQuon> window;
};

struct VariableEntry {
  QString LowerLimit, UpperLimit, Terms;
  bool Power = true;
  QString Expansion = QStringLiteral("*");
  QString Period = QStringLiteral("*");
  bool Chebyshev = false;
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
    w.Child<QCheckBox>(QStringLiteral("chkChebyshev_%1").arg(k))->setChecked(v.Chebyshev);
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
