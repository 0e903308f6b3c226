// The Suggest terms dialog from the main window: a search applied to the fields, a search
// cancelled, a search whose thread cannot start, and the fields' own check on counts
// written into them.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <system_error>

#include "gui/frm_suggest_terms.h"
#include "support/frm_quon_fixture.h"

namespace quon {
namespace {

// Opens the dialog from the window and starts a search for `tolerance`.
frmSuggestTerms* StartSearch(testing::QuonWindow& w, const QString& tolerance) {
  QTest::mouseClick(w.Child<QPushButton>("cmdSuggestTerms"), Qt::LeftButton);
  auto* dialog = w.window->findChild<frmSuggestTerms*>();
  if (dialog == nullptr) qFatal("Suggest terms opened no dialog");
  dialog->findChild<QLineEdit*>("txtTolerance")->setText(tolerance);
  QTest::mouseClick(dialog->findChild<QPushButton*>("cmdSearch"), Qt::LeftButton);
  return dialog;
}

QLineEdit* TermField(const testing::QuonWindow& w, int k) {
  return w.Field(QStringLiteral("txtTerms_%1").arg(k));
}

QStringList TermFields(const testing::QuonWindow& w, int variables) {
  QStringList texts;
  for (int k = 0; k < variables; ++k) texts << TermField(w, k)->text();
  return texts;
}

}  // namespace

class frmSuggestTermsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void ApplyWritesTheSuggestedCountIntoTheField() {
    testing::QuonWindow w;
    w.EnterProblem("1", "x");
    w.Field(QStringLiteral("txtEquation"))->setText(QStringLiteral("x^3-x"));
    frmSuggestTerms* dialog = StartSearch(w, QStringLiteral("1E-10"));
    auto* apply = dialog->findChild<QPushButton*>("cmdApply");
    QTRY_VERIFY_WITH_TIMEOUT(apply->isEnabled(), 20000);
    QTest::mouseClick(apply, Qt::LeftButton);
    QCOMPARE(TermField(w, 0)->text(), QStringLiteral("4"));
  }

  // How fast Cancel is felt is a matter of the search's slices, measured by hand; here the
  // bound only tells a search that stops from one that runs on.
  void CancelStopsTheSearchAndLeavesTheFields() {
    testing::QuonWindow w;
    w.EnterProblem("4", "x,y,z,t");
    // A costly function and an accuracy beyond reach keep the search busy for long.
    QString equation = QStringLiteral("x");
    for (int i = 1; i <= 40; ++i) equation += QStringLiteral("+sin(x*y+z*t+%1)").arg(i);
    w.Field(QStringLiteral("txtEquation"))->setText(equation);
    const QStringList before = TermFields(w, 4);
    frmSuggestTerms* dialog = StartSearch(w, QStringLiteral("1E-300"));
    auto* status = dialog->findChild<QLabel*>("lblStatus");
    QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(QStringLiteral("fits")), 20000);
    QVERIFY(dialog->Searching());
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->Searching(), 10000);
    QVERIFY(!dialog->findChild<QPushButton*>("cmdApply")->isEnabled());
    QCOMPARE(TermFields(w, 4), before);
  }

  void AThreadThatCannotStartIsSaid() {
    testing::QuonWindow w;
    w.EnterProblem("1", "x");
    frmSuggestTerms dialog(
        w.Model(), w.window->Engine(), [&w] { return w.window->ReadEntryFields(); },
        [](const std::vector<std::string>&) {}, nullptr,
        [](std::function<void()>) -> std::function<void()> {
          throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        });
    dialog.findChild<QPushButton*>("cmdSearch")->click();
    QVERIFY(!dialog.Searching());
    QVERIFY(dialog.findChild<QPushButton*>("cmdSearch")->isEnabled());
    const QString status = dialog.findChild<QLabel*>("lblStatus")->text();
    QVERIFY2(status.startsWith(QStringLiteral("The search could not be started")),
             qPrintable(status));
  }

  void ARefusedCountKeepsTheFocusInItsField() {
    testing::QuonWindow w;
    w.EnterProblem("2", "x,y");
    w.window->ApplyTermCounts({"5", "1"});
    QCOMPARE(TermField(w, 0)->text(), QStringLiteral("5"));
    QCOMPARE(w.Focus(), TermField(w, 1));
  }
};

}  // namespace quon

QTEST_MAIN(quon::frmSuggestTermsTest)
#include "frm_suggest_terms_qtest.moc"
