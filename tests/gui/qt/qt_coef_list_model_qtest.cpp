// The results list's rows: a listing produced on demand must show exactly the lines, in
// exactly the order, that the listing procedure writes one after the other.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>
#include <string>
#include <vector>

#include "core/report/listing.h"
#include "gui/qt/qt_coef_list_model.h"
#include "support/fitted_problem.h"

namespace quon {

class CoefListModelTest : public QObject {
  Q_OBJECT

 private:
  static std::vector<std::string> WrittenLines(const ProblemModel& model) {
    std::vector<std::string> lines;
    ListCoefficients(
        model, [&](const std::string& line) { lines.push_back(line); }, [] {});
    return lines;
  }

  static void ExpectRowsEqual(const CoefListModel& list, int firstRow,
                              const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const int row = firstRow + static_cast<int>(i);
      QCOMPARE(list.data(list.index(row), Qt::DisplayRole).toString().toStdString(), lines[i]);
    }
  }

 private Q_SLOTS:
  void listingRowsMatchTheWrittenListing_data() {
    QTest::addColumn<QString>("equation");
    QTest::addColumn<QStringList>("terms");
    QTest::newRow("ParabolaOfThreeTerms") << "x^2" << QStringList{"3"};
    QTest::newRow("TwoVariablesMixedKinds") << "x*sin(y)" << QStringList{"3", "4"};
    QTest::newRow("FourVariablesUnequalTerms") << "x+y*z-t" << QStringList{"2", "3", "4", "2"};
  }

  void listingRowsMatchTheWrittenListing() {
    QFETCH(QString, equation);
    QFETCH(QStringList, terms);
    const char* names[] = {"x", "y", "z", "t"};
    std::vector<testing::FieldsOfVariable> variables;
    for (int k = 0; k < terms.size(); ++k) {
      variables.push_back({names[k], {"-1", "2", "*", "*", terms[k].toStdString(), k % 2 == 0}});
    }
    testing::FittedProblem f(equation.toStdString(), variables);
    CoefListModel list(f.model);
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.AppendListing();
    const std::vector<std::string> lines = WrittenLines(f.model);
    QCOMPARE(list.rowCount(), static_cast<int>(lines.size()));
    ExpectRowsEqual(list, 0, lines);
  }

  void rowsAreAsWideAsTheLongestTerm() {
    testing::FittedProblem f("x*y", {{"x", VariableFields{"0", "2", "*", "*", "3", true}},
                                     {"y", VariableFields{"0", "2", "0", "*", "12", false}}});
    CoefListModel list(f.model);
    list.SetCharacterCell(QSize(7, 12));
    list.AppendListing();
    int longest = 0;
    for (int row = 0; row < list.rowCount(); ++row) {
      longest = std::max(longest, static_cast<int>(list.LineText(row).trimmed().size()));
    }
    QCOMPARE(list.LongestLineLength(), longest);
    QCOMPARE(list.data(list.index(0), Qt::SizeHintRole).toSize(), QSize(7 * (longest + 1), 12));
  }

  void withoutCoefficientsOnlySingleLinesShow() {
    ProblemModel model;
    CoefListModel list(model);
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.AppendListing();
    QCOMPARE(list.rowCount(), 0);
    list.AppendLine(QStringLiteral("YIELDS SINGULAR MATRIX."));
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(list.LineText(0), QStringLiteral("YIELDS SINGULAR MATRIX."));
    list.Clear();
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(list.LineText(0), QString());
  }

  void aSecondListingIsAppendedAfterTheFirst() {
    testing::FittedProblem f;
    CoefListModel list(f.model);
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    list.AppendLine(QStringLiteral("before"));
    list.AppendListing();
    list.AppendListing();
    const std::vector<std::string> lines = WrittenLines(f.model);
    const int n = static_cast<int>(lines.size());
    QCOMPARE(list.rowCount(), 1 + 2 * n);
    QCOMPARE(list.LineText(0), QStringLiteral("before"));
    ExpectRowsEqual(list, 1, lines);
    ExpectRowsEqual(list, 1 + n, lines);
    QCOMPARE(inserted.count(), 3);
  }

  void aReshapedCoefShowsEmptyLinesInsteadOfFailing() {
    testing::FittedProblem f;
    CoefListModel list(f.model);
    list.AppendListing();
    f.model.LastTerm[0] = 0;
    f.model.Coef.Allocate(f.model.LastTerm);
    QCOMPARE(list.rowCount(), 8);
    QCOMPARE(list.LineText(7), QString());
  }
};

}  // namespace quon

QTEST_MAIN(quon::CoefListModelTest)
#include "qt_coef_list_model_qtest.moc"
