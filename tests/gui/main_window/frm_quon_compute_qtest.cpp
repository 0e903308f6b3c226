// The road of one Compute through the main window's real widgets: the listing, the
// singular system, refusals, the hourglass, the guard against a second Compute, and the
// evaluation window opened from the main window.
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include "core/fit/fit_driver.h"
#include "gui/frm_evaluations.h"
#include "support/frm_quon_fixture.h"

namespace quon::testing {

class FrmQuonComputeTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { QuietOffscreenNotes(); }

  void parabolaListsItsCoefficientsAndEnablesEvaluations() {
    QuonWindow w;
    EnterParabola(w);
    auto* evaluations = w.Child<QPushButton>(QStringLiteral("cmdEvaluations"));
    QVERIFY(!evaluations->isEnabled());
    PressCompute(w);
    const QStringList lines = ListedLines(w);
    QCOMPARE(lines.size(), 2 + 3 + 3);
    QCOMPARE(lines[0], QStringLiteral("COEFFICIENTS:"));
    QCOMPARE(lines[2].left(24).trimmed(), QStringLiteral("1"));
    QCOMPARE(lines[3].left(24).trimmed(), QStringLiteral("2"));
    QCOMPARE(lines[4].left(24).trimmed(), QStringLiteral("1"));
    QCOMPARE(lines[4].mid(24).trimmed(), QStringLiteral("*(x-1)^2"));
    QVERIFY(w.Model().HaveResults);
    QVERIFY(evaluations->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(w.messages.empty());
    // A second Compute lists the same lines, once.
    PressCompute(w);
    QCOMPARE(ListedLines(w), lines);
  }

  void aSingularSystemShowsItsLineAloneAndKeepsEvaluations_data() {
    QTest::addColumn<bool>("fittedBefore");
    QTest::newRow("AfterASuccessfulFit") << true;
    QTest::newRow("AsTheFirstCompute") << false;
  }

  void aSingularSystemShowsItsLineAloneAndKeepsEvaluations() {
    QFETCH(bool, fittedBefore);
    QuonWindow w;
    EnterParabola(w);
    if (fittedBefore) PressCompute(w);
    // An interval of no width puts every node in one place.
    w.Field(QStringLiteral("txtLL_0"))->setText(QStringLiteral("1"));
    w.Field(QStringLiteral("txtUL_0"))->setText(QStringLiteral("1"));
    PressCompute(w);
    QCOMPARE(ListedLines(w), QStringList{QString::fromLatin1(SingularMatrixLine)});
    QVERIFY(!w.Model().HaveResults);
    QCOMPARE(w.Child<QPushButton>(QStringLiteral("cmdEvaluations"))->isEnabled(), fittedBefore);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void functionEditsClearTheListing() {
    QuonWindow w;
    EnterParabola(w);
    PressCompute(w);
    QVERIFY(ResultsList(w)->rowCount() > 0);
    QTest::keyClicks(w.Field(QStringLiteral("txtEquation")), "+1");
    QCOMPARE(ResultsList(w)->rowCount(), 0);
    QVERIFY(!w.Model().HaveResults);
    QVERIFY(w.Child<QPushButton>(QStringLiteral("cmdEvaluations"))->isEnabled());
  }

  // A grid too large is refused before any work; a text that does not compile is reported
  // once, by the engine.
  void aRefusedComputeShowsOneMessageAndNoListing_data() {
    QTest::addColumn<QString>("equation");
    QTest::addColumn<QString>("terms");
    QTest::newRow("GridTooLarge") << "x*y"
                                  << "200000";
    QTest::newRow("ScriptError") << "x+"
                                 << "3";
  }

  void aRefusedComputeShowsOneMessageAndNoListing() {
    QFETCH(QString, equation);
    QFETCH(QString, terms);
    QuonWindow w;
    EnterFullProblem(w, QStringLiteral("x,y"), equation, {{"0", "1", terms}, {"0", "1", terms}});
    PressCompute(w);
    QCOMPARE(w.messages.size(), std::size_t{1});
    QCOMPARE(ResultsList(w)->rowCount(), 0);
    QVERIFY(!w.Model().HaveResults);
    QVERIFY(!w.Child<QPushButton>(QStringLiteral("cmdEvaluations"))->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void aComputeAskedForWhileListingIsIgnored() {
    QuonWindow w;
    EnterParabola(w);
    CoefListModel* list = ResultsList(w);
    int listings = 0;
    // A click that comes in while the listing lets events through.
    QObject::connect(list, &QAbstractItemModel::rowsInserted, list, [&] {
      ++listings;
      w.Child<QPushButton>(QStringLiteral("cmdCompute"))->click();
    });
    PressCompute(w);
    QCOMPARE(listings, 1);
    QCOMPARE(list->rowCount(), 8);
  }

  void evaluationsOpensTheWindowOnTheFit() {
    QuonWindow w;
    EnterParabola(w);
    PressCompute(w);
    QSignalSpy loaded(w.window.get(), &frmQuon::EvaluationsWindowLoaded);
    ClickAt(w.Child<QPushButton>(QStringLiteral("cmdEvaluations")));
    QPointer<frmEvaluations> window = w.window->EvaluationsWindow();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    window->findChild<QLineEdit*>(QStringLiteral("txtVarx0"))->setText(QStringLiteral("1.5"));
    window->findChild<QPushButton*>(QStringLiteral("cmdCompute"))->click();
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblApprox"))->text(),
             QStringLiteral("2.25"));

    // The main window stays usable: an edit there leaves no current fit to show.
    QTest::keyClicks(w.Field(QStringLiteral("txtEquation")), "+1");
    window->findChild<QPushButton*>(QStringLiteral("cmdCompute"))->click();
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblApprox"))->text(),
             QStringLiteral("no current fit"));
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblFunction"))->text(),
             QStringLiteral("2.25"));

    // Closed, it is built afresh by the next click.
    window->close();
    QTRY_VERIFY(window.isNull());
    QCOMPARE(w.window->EvaluationsWindow(), nullptr);
    ClickAt(w.Child<QPushButton>(QStringLiteral("cmdEvaluations")));
    QVERIFY(w.window->EvaluationsWindow() != nullptr);
    QCOMPARE(loaded.count(), 2);
  }
};

}  // namespace quon::testing

QTEST_MAIN(quon::testing::FrmQuonComputeTest)
#include "frm_quon_compute_qtest.moc"
