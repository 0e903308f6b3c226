// File > Fit data... driven through its widgets: the example table chosen, its columns
// mapped by their names, the fit listed in the main window with the residual figures on
// the accuracy line, the residuals plotted with the worst rows marked; a clash of roles
// is said in the window.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "gui/frm_fit_data.h"
#include "support/frm_quon_fixture.h"

namespace quon {

class FrmFitDataTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void fitsTheChosenTableAndShowsItsResiduals() {
    testing::QuonWindow main;
    testing::EnterFullProblem(main, QStringLiteral("x,y"), QStringLiteral("measured"),
                              {{"0", "2", "3"}, {"0", "1", "2"}});
    main.dialogs.fileName =
        (qEnvironmentVariable("QUON_TEST_DATA") + QStringLiteral("/datafit/plate.csv"))
            .toStdString();
    main.Menu(QStringLiteral("mnuFitData"))->trigger();
    frmFitData* window = main.window->FitDataWindow();
    QVERIFY(window != nullptr);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdTable")), Qt::LeftButton);
    // The columns are mapped by their names, the weight column included (its name).
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdFit")), Qt::LeftButton);
    QVERIFY2(window->StatusText().startsWith("Fitted to 40 observations (1 outside the box)"),
             qPrintable(window->StatusText()));
    QVERIFY(window->StatisticsText().contains("worst_row: 5"));
    QCOMPARE(main.Model().Origin, ResultsOrigin::Data);
    QCOMPARE(testing::ListedLines(main).size(), 2 + 6 + 2 + 1 + 1);  // as listing.h counts
    QVERIFY(main.Child<QLabel>(QStringLiteral("lblAccuracy"))->text().startsWith("Fitted to 40"));
    QCOMPARE(window->Residuals().Points().size(), std::size_t{40});
    QCOMPARE(window->Residuals().Worst().front().Row, 5);
    // One column cannot be both x and y.
    window->MapColumn(1, 0);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmdFit")), Qt::LeftButton);
    QVERIFY(window->StatusText().contains("one role only"));
    window->close();
  }
};

}  // namespace quon

QTEST_MAIN(quon::FrmFitDataTest)
#include "frm_fit_data_qtest.moc"
