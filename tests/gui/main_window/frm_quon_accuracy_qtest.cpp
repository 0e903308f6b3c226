// The main window's accuracy line, its conditioning warning and the Plot command. The
// figures themselves are the core's (accuracy_check_test); here they must reach the window.
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include "core/fit/compute_command.h"
#include "gui/frm_analysis.h"
#include "gui/frm_plot.h"
#include "support/fitted_problem.h"
#include "support/frm_quon_fixture.h"

namespace quon {
namespace {

// Fits `equation` over one variable x of `terms` power terms on [-1, 1] in the window's
// own model and engine, as Compute does, then lets the window show the check.
void Fit(testing::QuonWindow& w, const std::string& equation, const char* terms) {
  const EntryFields fields =
      testing::DefineProblem(w.Model(), equation, {{"x", {"-1", "1", "*", "*", terms, true}}});
  if (RunCompute(w.Model(), fields, w.window->Engine()).Status != ComputeStatus::Success) {
    qFatal("the fit of the test problem failed");
  }
  w.window->ShowAccuracy();
}

}  // namespace

class frmQuonAccuracyTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void NothingBeforeAFitThenAWarningForManyPowerTerms() {
    testing::QuonWindow w;
    QVERIFY(w.Child<QLabel>("lblAccuracy")->text().isEmpty());
    QVERIFY(!w.Child<QLabel>("lblConditionWarning")->isVisible());
    QVERIFY(!w.Child<QPushButton>("cmdPlot")->isEnabled());
    w.EnterProblem("1", "x");
    Fit(w, "Exp(x)", "30");
    QLabel* warning = w.Child<QLabel>("lblConditionWarning");
    QVERIFY(warning->isVisible());
    QCOMPARE(testing::AccessibleName(warning), warning->text());
    QCOMPARE(testing::AccessibleName(w.Child<QLabel>("lblAccuracy")),
             w.Child<QLabel>("lblAccuracy")->text());
    QVERIFY2(warning->text().startsWith("Warning: x: "), qPrintable(warning->text()));
  }

  void ComputeShowsTheLineAndThePlotFollowsTheEvaluationPoint() {
    testing::QuonWindow w;
    w.EnterProblem("2", "x,y");
    w.Child<QPushButton>("cmdCompute")->click();
    QVERIFY(w.Model().HaveResults);
    const QString line = w.Child<QLabel>("lblAccuracy")->text();
    QVERIFY2(line.startsWith("Between the nodes ("), qPrintable(line));
    QVERIFY(!w.Child<QLabel>("lblConditionWarning")->isVisible());
    QVERIFY(w.messages.empty());

    w.Child<QPushButton>("cmdPlot")->click();
    frmPlot* plot = w.window->PlotWindow();
    QVERIFY(plot != nullptr);
    QCOMPARE(plot->Series().Held, (std::vector<double>{0.0, 0.0}));  // the centres
    w.Child<QPushButton>("cmdAnalysis")->click();
    auto* analysis = w.window->findChild<frmAnalysis*>();
    QVERIFY(analysis != nullptr && analysis->ShownExtremes().has_value());

    w.Child<QPushButton>("cmdEvaluations")->click();
    auto* evaluations = w.window->findChild<QWidget*>("frmEvaluations");
    QVERIFY(evaluations != nullptr);
    evaluations->findChild<QLineEdit*>("txtVarx0")->setText("1.5");
    evaluations->findChild<QLineEdit*>("txtVarx1")->setText("-2");
    evaluations->findChild<QPushButton*>("cmdCompute")->click();
    QCOMPARE(plot->Series().Held, (std::vector<double>{1.5, -2.0}));
    QVERIFY(analysis->RootsText().contains("(the others at y=-2)"));

    // A plot opened later starts at the point typed last.
    plot->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.window->PlotWindow() == nullptr);
    w.Child<QPushButton>("cmdPlot")->click();
    QCOMPARE(w.window->PlotWindow()->Series().Held, (std::vector<double>{1.5, -2.0}));
  }

  void ClearingTheResultsClearsTheLineAndThePlot() {
    testing::QuonWindow w;
    w.EnterProblem("1", "x");
    Fit(w, "1/(1+25*x^2)", "15");
    w.Child<QPushButton>("cmdPlot")->click();
    frmPlot* plot = w.window->PlotWindow();
    QVERIFY(plot != nullptr);
    QVERIFY(plot->isVisible());
    QCOMPARE(plot->Series().NodeX.size(), std::size_t(15));
    w.window->ClearResults();
    QVERIFY(w.Child<QLabel>("lblAccuracy")->text().isEmpty());
    QVERIFY(!w.Child<QPushButton>("cmdPlot")->isEnabled());
    QVERIFY(!w.Child<QPushButton>("cmdAnalysis")->isEnabled());
    QVERIFY(plot->StatusText().contains("no results"));
    // A second click brings back the same window, not a new one.
    Fit(w, "x^2", "3");
    w.Child<QPushButton>("cmdPlot")->click();
    QCOMPARE(w.window->PlotWindow(), plot);
    QCOMPARE(plot->Series().NodeX.size(), std::size_t(3));
  }
};

}  // namespace quon

QTEST_MAIN(quon::frmQuonAccuracyTest)
#include "frm_quon_accuracy_qtest.moc"
