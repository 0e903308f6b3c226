// The evaluation window driven through its own widgets: the rows it shows, the two values at
// a typed point and the point it signals. What the labels say for each kind of point is
// the core's rule (point_evaluation_test).
// Also the gradient and the evaluation of a points file.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "gui/frm_evaluations.h"
#include "support/fitted_problem.h"
#include "support/qt_test_support.h"

namespace quon {

class FrmEvaluationsTest : public QObject {
  Q_OBJECT

 private:
  // A fitted problem and the window on it.
  struct Fixture : testing::FittedProblem {
    std::unique_ptr<frmEvaluations> window;

    explicit Fixture(EntryFields (*problem)(ProblemModel&) = testing::ParabolaProblem)
        : FittedProblem(problem) {
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

 private Q_SLOTS:
  void showsOneNamedRowPerVariableAndTheGradient() {
    Fixture f(testing::TwoVariableProblem);
    for (int row = 0; row < frmEvaluations::RowCount; ++row) {
      QCOMPARE(f.Value(row)->isVisible(), row < 2);
    }
    QCOMPARE(f.window->findChild<QLabel*>(QStringLiteral("lblVarx0"))->text(),
             QStringLiteral("x="));
    QCOMPARE(f.window->findChild<QLabel*>(QStringLiteral("lblVarx1"))->text(),
             QStringLiteral("y="));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Evaluations"));
    QCOMPARE(f.Value(0)->text(), QStringLiteral("0"));
    // The gradient shows beside the approximation: x*y+sin(y) is fitted exactly in x, d/dx = y.
    f.Value(0)->setText(QStringLiteral("0.5"));
    f.Value(1)->setText(QStringLiteral("3"));
    f.Compute();
    const QString gradient = f.window->findChild<QLabel*>(QStringLiteral("lblGradient"))->text();
    const QStringList parts = gradient.mid(1, gradient.size() - 2).split(QStringLiteral(", "));
    QCOMPARE(parts.size(), 2);
    QCOMPARE(parts[0].toDouble(), 3.0);
  }

  void parabolaAtOneAndAHalf() {
    Fixture f;
    f.Value(0)->setText(QStringLiteral("1.5"));
    f.Compute();
    QCOMPARE(f.Approx(), QStringLiteral("2.25"));
    QCOMPARE(f.Function(), QStringLiteral("2.25"));
    for (const char* value : {"lblApprox", "lblFunction"}) {
      QCOMPARE(testing::AccessibleName(f.window->findChild<QLabel*>(value)),
               QStringLiteral("2.25"));
    }
    f.Compute();  // the offsets are set afresh: the same two numbers again
    QCOMPARE(f.Approx(), QStringLiteral("2.25"));
    QCOMPARE(f.Function(), QStringLiteral("2.25"));
  }

  void signalsTheEvaluatedPointOnly() {
    Fixture f(testing::TwoVariableProblem);
    QSignalSpy changed(f.window.get(), &frmEvaluations::EvaluationPointChanged);
    f.Value(0)->setText(QStringLiteral("1e999"));  // beyond range: refused, nothing signalled
    f.Compute();
    QCOMPARE(changed.count(), 0);
    f.Value(0)->setText(QStringLiteral("0.5"));
    f.Value(1)->setText(QStringLiteral("-2"));
    f.Compute();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QList<double>>(), (QList<double>{0.5, -2.0}));
    QCOMPARE(f.model.EvalPoint[1], -2.0);
  }

  void evaluateFileWritesEveryPointOrNothing() {
    Fixture f;
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& text) {
      QFile file(dir.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(text);
    };
    write(QStringLiteral("good.csv"), "x\n1.5\n0.25\n");
    write(QStringLiteral("bad.csv"), "x\n1.5\nabc\n");
    auto* status = f.window->findChild<QLabel*>(QStringLiteral("lblFileStatus"));
    f.window->EvaluateFile(dir.filePath("bad.csv"), dir.filePath("bad_out.csv"));
    QVERIFY2(status->text().contains(QStringLiteral("row 3, column 1")),
             qPrintable(status->text()));
    QVERIFY(!QFile::exists(dir.filePath("bad_out.csv")));
    f.window->EvaluateFile(dir.filePath("good.csv"), dir.filePath("out.csv"));
    QFile out(dir.filePath("out.csv"));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll().split('\n').at(1), QByteArray("1.5,2.25,2.25,0"));
  }

  void exitClosesAndDeletesTheWindow() {
    testing::FittedProblem f;
    QPointer<frmEvaluations> window = new frmEvaluations(f.model, f.engine);
    window->show();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdExit")), Qt::LeftButton);
    QTRY_VERIFY(window.isNull());
  }
};

}  // namespace quon

QTEST_MAIN(quon::FrmEvaluationsTest)
#include "frm_evaluations_qtest.moc"
