// The evaluation window driven through its own widgets: the rows it shows, the two values at
// a typed point, and what it says when there is no current fit or a value cannot be had.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "frm_evaluations.h"
#include "model/number_forms.h"
#include "support/fitted_problem.h"

namespace quon {

class FrmEvaluationsTest : public QObject {
  Q_OBJECT

 private:
  // A fitted problem, its engine (recording the messages its error event shows) and the window.
  struct Fixture {
    ProblemModel model;
    QStringList messages;
    ScriptEnvironment engine{
        [this](const std::string& text) { messages << QString::fromStdString(text); }};
    std::unique_ptr<frmEvaluations> window;

    explicit Fixture(EntryFields (*problem)(ProblemModel&) = testing::ParabolaProblem) {
      const EntryFields fields = problem(model);
      if (RunCompute(model, fields, engine).Status != ComputeStatus::Success) {
        qFatal("the fixture's fit failed");
      }
      window = std::make_unique<frmEvaluations>(model, engine);
      window->setAttribute(Qt::WA_DeleteOnClose, false);
      window->show();
    }
    QLineEdit* Value(int row) const {
      return window->findChild<QLineEdit*>(QStringLiteral("txtVarx%1").arg(row));
    }
    QString Approx() const {
      return window->findChild<QLabel*>(QStringLiteral("lblApprox"))->text();
    }
    QString Function() const {
      return window->findChild<QLabel*>(QStringLiteral("lblFunction"))->text();
    }
    void Compute() const {
      QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdCompute")),
                        Qt::LeftButton);
    }
  };

  static EntryFields TwoVariableProblem(ProblemModel& model) {
    return testing::DefineProblem(model, "x*y+sin(y)",
                                  {{"x", VariableFields{"-1", "1", "*", "*", "3", true}},
                                   {"y", VariableFields{"0", "6", "0", "*", "5", false}}});
  }

 private Q_SLOTS:
  void showsOneNamedRowPerVariable() {
    Fixture f(TwoVariableProblem);
    for (int row = 0; row < frmEvaluations::RowCount; ++row) {
      QCOMPARE(f.Value(row)->isVisible(), row < 2);
    }
    QCOMPARE(f.window->findChild<QLabel*>(QStringLiteral("lblVarx0"))->text(),
             QStringLiteral("x="));
    QCOMPARE(f.window->findChild<QLabel*>(QStringLiteral("lblVarx1"))->text(),
             QStringLiteral("y="));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Evaluations"));
    QCOMPARE(f.Value(0)->text(), QStringLiteral("0"));
  }

  void parabolaAtOneAndAHalf() {
    Fixture f;
    f.Value(0)->setText(QStringLiteral("1.5"));
    f.Compute();
    QCOMPARE(f.Approx(), QStringLiteral("2.25"));
    QCOMPARE(f.Function(), QStringLiteral("2.25"));
    f.Compute();  // the offsets are set afresh: the same two numbers again
    QCOMPARE(f.Approx(), QStringLiteral("2.25"));
    QCOMPARE(f.Function(), QStringLiteral("2.25"));
  }

  void valuesFollowTheTypedPoint_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("EmptyTextCountsAsZero") << ""
                                           << "0";
    QTest::newRow("CentreGivesTheConstantCoefficient") << "1"
                                                       << "1";
    QTest::newRow("LeadingNumberOfJunk") << "-0.5abc"
                                         << "0.25";
    QTest::newRow("BlanksAreDropped") << " 2 . 5"
                                      << "6.25";
  }

  void valuesFollowTheTypedPoint() {
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Fixture f;
    f.Value(0)->setText(typed);
    f.Compute();
    QCOMPARE(f.Approx(), expected);
    QCOMPARE(f.Function(), expected);
  }

  void twoVariablesAgreeAtANode() {
    Fixture f(TwoVariableProblem);
    f.Value(0)->setText(QStringLiteral("0"));
    f.Value(1)->setText(QStringLiteral("3"));
    f.Compute();
    QCOMPARE(f.Function(), QString::fromStdString(TextForm(std::sin(3.0))));
    QVERIFY(std::abs(f.Approx().toDouble() - std::sin(3.0)) < 1e-12);
  }

  void noCurrentFitIsSaidInsteadOfAnOldValue() {
    Fixture f;
    f.Value(0)->setText(QStringLiteral("1.5"));
    f.Compute();
    QCOMPARE(f.Approx(), QStringLiteral("2.25"));
    f.model.HaveResults = false;  // as after an edit of the function or a failed Compute
    f.Value(0)->setText(QStringLiteral("2"));
    f.Compute();
    QCOMPARE(f.Approx(), QStringLiteral("no current fit"));
    QCOMPARE(f.Function(), QStringLiteral("4"));
  }

  void anOverflowOfTheFunctionIsSaidInItsLabel() {
    Fixture f;
    f.model.Equation = "exp(x)";
    f.Value(0)->setText(QStringLiteral("1000"));
    f.Compute();
    QVERIFY2(f.Function().startsWith(QStringLiteral("Error 6")), qPrintable(f.Function()));
    QCOMPARE(f.Approx(), QStringLiteral("1000000"));
    QVERIFY(f.messages.isEmpty());
  }

  void aZeroPeriodIsSaidInTheApproximationLabel() {
    Fixture f(TwoVariableProblem);
    f.model.Period[1] = 0;
    f.Compute();
    QVERIFY2(f.Approx().startsWith(QStringLiteral("Error 11")), qPrintable(f.Approx()));
    QCOMPARE(f.Function(), QStringLiteral("0"));
  }

  void aScriptErrorIsShownOnceAndSaidInTheLabel() {
    Fixture f;
    f.model.Equation = "x+";
    f.Compute();
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.Function().startsWith(QStringLiteral("Error 1002")), qPrintable(f.Function()));
  }

  void aFailingConstantLeavesBothValuesUnevaluated() {
    Fixture f;
    f.Value(0)->setText(QStringLiteral("1.5"));
    f.Compute();
    f.model.Constants[0] = "a=(";
    f.model.ConstCount = 1;
    f.Compute();
    QVERIFY2(f.Approx().startsWith(QStringLiteral("not evaluated")), qPrintable(f.Approx()));
    QCOMPARE(f.Function(), f.Approx());
  }

  void aValueBeyondRangeIsRefused() {
    Fixture f;
    f.Value(0)->setText(QStringLiteral("1e999"));
    QSignalSpy changed(f.window.get(), &frmEvaluations::EvaluationPointChanged);
    f.Compute();
    QVERIFY2(f.Approx().contains(QStringLiteral("out of range")), qPrintable(f.Approx()));
    QCOMPARE(changed.count(), 0);
  }

  void signalsTheEvaluatedPoint() {
    Fixture f(TwoVariableProblem);
    QSignalSpy changed(f.window.get(), &frmEvaluations::EvaluationPointChanged);
    f.Value(0)->setText(QStringLiteral("0.5"));
    f.Value(1)->setText(QStringLiteral("-2"));
    f.Compute();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QList<double>>(), (QList<double>{0.5, -2.0}));
    QCOMPARE(f.model.EvalPoint[1], -2.0);
  }

  void gradientShowsBesideTheApproximation() {
    Fixture f(TwoVariableProblem);  // x*y+sin(y): the fit is exact in x, d/dx = y
    f.Value(0)->setText(QStringLiteral("0.5"));
    f.Value(1)->setText(QStringLiteral("3"));
    f.Compute();
    const QString gradient = f.window->findChild<QLabel*>(QStringLiteral("lblGradient"))->text();
    const QStringList parts = gradient.mid(1, gradient.size() - 2).split(QStringLiteral(", "));
    QCOMPARE(parts.size(), 2);
    QCOMPARE(parts[0].toDouble(), 3.0);
  }

  void evaluateFileWritesEveryPointOrNothing() {
    Fixture f;
    const QString dir = QDir::tempPath() + QStringLiteral("/quon_eval_file_%1").arg(getpid());
    QDir().mkpath(dir);
    const auto write = [&](const QString& name, const QByteArray& text) {
      QFile file(dir + name);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(text);
    };
    write(QStringLiteral("/good.csv"), "x\n1.5\n0.25\n");
    write(QStringLiteral("/bad.csv"), "x\n1.5\nabc\n");
    auto* status = f.window->findChild<QLabel*>(QStringLiteral("lblFileStatus"));
    f.window->EvaluateFile(dir + QStringLiteral("/bad.csv"), dir + QStringLiteral("/bad_out.csv"));
    QVERIFY2(status->text().contains(QStringLiteral("row 3, column 1")),
             qPrintable(status->text()));
    QVERIFY(!QFile::exists(dir + QStringLiteral("/bad_out.csv")));
    f.window->EvaluateFile(dir + QStringLiteral("/good.csv"), dir + QStringLiteral("/out.csv"));
    QFile out(dir + QStringLiteral("/out.csv"));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll().split('\n').at(1), QByteArray("1.5,2.25,2.25,0"));
    QDir(dir).removeRecursively();
  }

  void exitClosesAndDeletesTheWindow() {
    ProblemModel model;
    ScriptEnvironment engine;
    RunCompute(model, testing::ParabolaProblem(model), engine);
    QPointer<frmEvaluations> window = new frmEvaluations(model, engine);
    window->show();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdExit")), Qt::LeftButton);
    QTRY_VERIFY(window.isNull());
  }
};

}  // namespace quon

QTEST_MAIN(quon::FrmEvaluationsTest)
#include "frm_evaluations_qtest.moc"
