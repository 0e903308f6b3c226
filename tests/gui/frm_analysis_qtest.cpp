// The analysis window on real widgets: it shows the core's figures, follows the point and
// the chosen variable, copies each figure, and says why it shows nothing.
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QClipboard>
#include <QPushButton>
#include <QtTest>

#include "core/analysis/roots.h"
#include "core/analysis/variance_decomposition.h"
#include "gui/frm_analysis.h"
#include "support/fitted_problem.h"

namespace quon {

// x^2 - y, x on [-1, 1] and y on [0, 1]: largest 1 at x = +-1, y = 0; smallest -1 at
// x = 0, y = 1; roots along x at y = c: +-sqrt(c).
class frmAnalysisTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void ShowsTheFiguresOfTheCoreAndCopiesThem() {
    testing::FittedProblem f("x^2-y", {{"x", VariableFields{"-1", "1", "*", "*", "3", true}},
                                       {"y", VariableFields{"0", "1", "*", "*", "2", true}}});
    frmAnalysis window(f.model);
    QVERIFY(window.ShownExtremes().has_value());
    QCOMPARE(window.ShownExtremes()->Maximum.Point[1], 0.0);
    QVERIFY(qAbs(window.ShownExtremes()->Minimum.Value + 1.0) < 1e-14);
    QVERIFY2(window.ExtremesText().contains("Largest value 1 at x="),
             qPrintable(window.ExtremesText()));
    QVERIFY2(window.RootsText().startsWith(
                 "x = -0.707106781186548, 0.707106781186548 (the others at y=0.5)"),
             qPrintable(window.RootsText()));
    QVERIFY(window.MomentsText().startsWith("Mean -0.166666666666667\n"));

    const VarianceDecomposition d = DecomposeVariance(f.model);
    auto* bars =
        qobject_cast<QBarSeries*>(window.findChild<QChartView*>()->chart()->series().at(0));
    QVERIFY(bars != nullptr);
    QCOMPARE(bars->barSets().size(), 2);
    QCOMPARE(bars->barSets()[0]->at(0), d.MainEffect[0]);
    QCOMPARE(bars->barSets()[1]->at(1), d.TotalEffect[1]);

    const QList<QPushButton*> copies = window.findChildren<QPushButton*>();
    QStringList copied;
    for (QPushButton* button : copies) {
      if (button->text() != "Copy") continue;
      button->click();
      copied << QApplication::clipboard()->text();
    }
    QCOMPARE(copied, (QStringList{window.ExtremesText(), window.RootsText(), window.MomentsText(),
                                  window.SensitivityText()}));
    QVERIFY(window.SensitivityText().startsWith("x: main effect "));
  }

  void FollowsThePointAndTheVariable() {
    testing::FittedProblem f("x^2-y", {{"x", VariableFields{"-1", "1", "*", "*", "3", true}},
                                       {"y", VariableFields{"0", "1", "*", "*", "2", true}}});
    frmAnalysis window(f.model);
    window.SetHeldPoint({0.0, 0.25});
    QCOMPARE(window.ShownRoots()->Roots.size(), std::size_t(2));
    QVERIFY(qAbs(window.ShownRoots()->Roots[1] - 0.5) < 1e-15);
    window.SetHeldPoint({0.5, 0.0});
    window.SetRootsVariable(1);
    QCOMPARE(window.ShownRoots()->Roots.size(), std::size_t(1));
    QVERIFY(qAbs(window.ShownRoots()->Roots[0] - 0.25) < 1e-15);
    window.SetHeldPoint({2.0, 0.0});  // x^2 = 4 is beyond y's interval
    QVERIFY(window.RootsText().startsWith("No root along y from 0 to 1."));
  }

  void SaysWhyItShowsNothing() {
    testing::FittedProblem f;
    f.model.HaveResults = false;
    frmAnalysis window(f.model);
    QVERIFY(!window.ShownExtremes() && !window.ShownRoots() && !window.ShownDecomposition());
    f.model.HaveResults = true;
    f.model.Period[0] = 0.0;
    f.model.Kind[0] = TermKind::Trigonometric;
    window.Refresh();
    QVERIFY(window.ExtremesText().startsWith("The extremes cannot be found: "));
    QVERIFY(window.MomentsText().startsWith("The mean and variance cannot be computed: "));
  }
};

}  // namespace quon

QTEST_MAIN(quon::frmAnalysisTest)
#include "frm_analysis_qtest.moc"
