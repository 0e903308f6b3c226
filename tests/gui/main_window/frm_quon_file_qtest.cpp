// Open, Save and Save As through the main window, the chosen paths scripted through the
// fake dialogs: a round trip shows the same listing, a refused file changes nothing,
// results that no longer belong to the fields are not saved with them, and a command that
// fails half-way says so.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <new>
#include <stdexcept>

#include "core/io/spec_file.h"
#include "gui/main_window/file_commands.h"
#include "support/frm_quon_fixture.h"

namespace quon::testing {

class FrmQuonFileTest : public QObject {
  Q_OBJECT

 private:
  static void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  static void Trigger(QuonWindow& w, const char* menu, const QString& chosen) {
    w.dialogs.fileName = chosen.toStdString();
    w.Menu(QString::fromLatin1(menu))->trigger();
  }

 private Q_SLOTS:
  void initTestCase() { QuietOffscreenNotes(); }

  // The Chebyshev box counts while Power is checked; it takes the centre and period away;
  // Compute fits Chebyshev terms, and Save and Open keep the kind.
  void ChebyshevBoxChoosesTheKindAndKeepsIt() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cheb.qsp"));
    {
      QuonWindow w;
      EnterFullProblem(w, QStringLiteral("x,y"), QStringLiteral("exp(x)*y"),
                       {{"-1", "1", "16", true, "*", "*", false}, {"0", "2", "2"}});
      auto* chebyshev = w.Child<QCheckBox>(QStringLiteral("chkChebyshev_0"));
      QCOMPARE(chebyshev->accessibleName(), QStringLiteral("Chebyshev"));
      chebyshev->setFocus();
      QTest::keyClick(chebyshev, Qt::Key_Space);
      QVERIFY(chebyshev->isChecked());
      QVERIFY(!w.Field(QStringLiteral("txtExpansion_0"))->isEnabled());
      QVERIFY(!w.Field(QStringLiteral("txtPeriod_0"))->isEnabled());
      w.Child<QCheckBox>(QStringLiteral("chkPower_0"))->setChecked(false);
      QVERIFY(!chebyshev->isEnabled());
      QVERIFY(w.Field(QStringLiteral("txtExpansion_0"))->isEnabled());
      QCOMPARE(quon::KindOf(w.window->ReadEntryFields().Variables[0]),
               quon::TermKind::Trigonometric);
      w.Child<QCheckBox>(QStringLiteral("chkPower_0"))->setChecked(true);
      PressCompute(w);
      QCOMPARE(w.Model().Kind[0], quon::TermKind::Chebyshev);
      QVERIFY(ListedLines(w).join(QLatin1Char('\n')).contains(QStringLiteral("*T15(x)")));
      Trigger(w, "mnuSaveAs", path);
    }
    QuonWindow w;
    Trigger(w, "mnuOpen", path);
    QVERIFY(w.Child<QCheckBox>(QStringLiteral("chkChebyshev_0"))->isChecked());
    QVERIFY(!w.Child<QCheckBox>(QStringLiteral("chkChebyshev_1"))->isChecked());
    QVERIFY(!w.Field(QStringLiteral("txtPeriod_0"))->isEnabled());
    QVERIFY(w.Model().HaveResults);
  }

  void saveAndOpenShowTheSameProblemAndListing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two.qsp"));
    QStringList listed;
    {
      QuonWindow w;
      EnterFullProblem(w, QStringLiteral("x,y"), QStringLiteral("a*x^2+sin(y)"),
                       {{"0", "2", "3"}, {"-1", "1", "4", false, "0", "3"}});
      TypeInto(w.Child<QComboBox>(QStringLiteral("cboConstants"))->lineEdit(),
               QStringLiteral("a=2"));
      ClickAt(w.Child<QPushButton>(QStringLiteral("cmdAddCons")));
      PressCompute(w);
      QVERIFY(w.Model().HaveResults);
      listed = ListedLines(w);
      Trigger(w, "mnuSaveAs", path);
      QVERIFY(w.messages.empty());
      QCOMPARE(w.Model().SpecFile, path.toStdString());
    }
    QuonWindow w;
    Trigger(w, "mnuOpen", path);
    QVERIFY2(w.messages.empty(), w.messages.empty() ? "" : w.messages[0].c_str());
    QCOMPARE(ListedLines(w), listed);
    QVERIFY(w.Child<QPushButton>(QStringLiteral("cmdEvaluations"))->isEnabled());
    QCOMPARE(w.Field(QStringLiteral("txtEquation"))->text(), QStringLiteral("a*x^2+sin(y)"));
    QCOMPARE(w.Field(QStringLiteral("txtVarNams"))->text(), QStringLiteral("x,y"));
    QCOMPARE(w.Field(QStringLiteral("txtTerms_1"))->text(), QStringLiteral("4"));
    QCOMPARE(w.Field(QStringLiteral("txtExpansion_1"))->text(), QStringLiteral("0"));
    QCOMPARE(w.Field(QStringLiteral("txtPeriod_1"))->text(), QStringLiteral("3"));
    QVERIFY(!w.Child<QCheckBox>(QStringLiteral("chkPower_1"))->isChecked());
    QCOMPARE(w.Child<QLabel>(QStringLiteral("lblEquation"))->text(), QString());
    QVERIFY(w.Field(QStringLiteral("txtLL_0"))->isVisible());
    QVERIFY(!w.Field(QStringLiteral("txtLL_1"))->isVisible());
    QCOMPARE(w.Child<QComboBox>(QStringLiteral("cboConstants"))->count(), 1);
    QVERIFY(!w.Field(QStringLiteral("txtOrder"))->isEnabled());
    QVERIFY(!w.Field(QStringLiteral("txtVarNams"))->isEnabled());
    QVERIFY(!w.Menu("mnuOpen")->isEnabled());
    QVERIFY(w.Menu("mnuSave")->isEnabled());
    QVERIFY(w.Menu("mnuSaveAs")->isEnabled());
    QVERIFY(w.Menu("mnuPrint")->isEnabled());
    QVERIFY(!w.Model().Loading);

    // Save writes back to the opened pair without asking, byte for byte the same.
    const QByteArray main = ReadFile(path);
    w.dialogs.calls.clear();
    w.Menu(QStringLiteral("mnuSave"))->trigger();
    QVERIFY(w.dialogs.calls.empty());
    QCOMPARE(ReadFile(path), main);

    // The opened problem computes again to the same listing.
    PressCompute(w);
    QCOMPARE(ListedLines(w), listed);
  }

  void aFileWithoutResultsListsNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none.qsp"));
    {
      QuonWindow w;
      EnterParabola(w);
      Trigger(w, "mnuSave", path);
      QCOMPARE(w.dialogs.calls, std::vector<std::string>{"ShowSave"});
    }
    QuonWindow w;
    Trigger(w, "mnuOpen", path);
    QVERIFY(w.messages.empty());
    QCOMPARE(ResultsList(w)->rowCount(), 0);
    QVERIFY(!w.Child<QPushButton>(QStringLiteral("cmdEvaluations"))->isEnabled());
    QCOMPARE(w.Field(QStringLiteral("txtTerms_0"))->text(), QStringLiteral("3"));
  }

  void aRefusedFileLeavesTheWindowAsItWas_data() {
    QTest::addColumn<QByteArray>("main");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("BinaryJunk") << QByteArray("\x01\xff\x00\x7f junk", 10)
                                << QByteArray("\"x\"\r\n 0 \r\n");
    QTest::newRow("MissingTextFile")
        << QByteArray(" 0 \r\n\"x\",0,2,\"*\",#TRUE#,\"*\",2\r\n#FALSE#\r\n") << QByteArray();
  }

  void aRefusedFileLeavesTheWindowAsItWas() {
    QFETCH(QByteArray, main);
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.qsp"));
    WriteFile(path, main);
    if (!text.isEmpty()) WriteFile(path + QStringLiteral(".str"), text);

    QuonWindow w;
    const QString equation = w.Field(QStringLiteral("txtEquation"))->text();
    Trigger(w, "mnuOpen", path);
    QCOMPARE(w.messages.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(w.messages[0]).contains(QStringLiteral("bad.qsp")),
             w.messages[0].c_str());
    QVERIFY(w.Field(QStringLiteral("txtOrder"))->isEnabled());
    QVERIFY(w.Field(QStringLiteral("txtVarNams"))->isEnabled());
    QVERIFY(w.Menu("mnuOpen")->isEnabled());
    QVERIFY(!w.Menu("mnuSave")->isEnabled());
    QCOMPARE(w.Field(QStringLiteral("txtEquation"))->text(), equation);
    QCOMPARE(w.Model().SpecFile, std::string());
    QVERIFY(!w.Model().Loading);
    QCOMPARE(ResultsList(w)->rowCount(), 0);
    // The user can still enter a problem by hand.
    EnterParabola(w);
    PressCompute(w);
    QVERIFY(w.Model().HaveResults);
  }

  void aConstantThatDoesNotCompileIsSaidInTheAccuracyLine() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("constant.qsp"));
    {
      QuonWindow w;
      EnterParabola(w);
      TypeInto(w.Child<QComboBox>(QStringLiteral("cboConstants"))->lineEdit(),
               QStringLiteral("a=2"));
      ClickAt(w.Child<QPushButton>(QStringLiteral("cmdAddCons")));
      PressCompute(w);
      Trigger(w, "mnuSaveAs", path);
    }
    QByteArray text = ReadFile(path + QStringLiteral(".str"));
    QVERIFY(text.contains("a=2"));
    WriteFile(path + QStringLiteral(".str"), text.replace("a=2", "a=1/"));
    QuonWindow w;
    Trigger(w, "mnuOpen", path);
    QVERIFY2(w.messages.empty(), w.messages.empty() ? "" : w.messages[0].c_str());
    QVERIFY(ResultsList(w)->rowCount() > 0);
    const QString line = w.Child<QLabel>(QStringLiteral("lblAccuracy"))->text();
    QVERIFY2(line.contains(QStringLiteral("cannot be checked")), qPrintable(line));
    QVERIFY2(!line.section(QLatin1Char(':'), 1).trimmed().isEmpty(), qPrintable(line));
  }

  void resultsOfAnotherProblemAreNotSavedAndTheUserIsTold() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("changed.qsp"));
    QuonWindow w;
    EnterParabola(w);
    PressCompute(w);
    // The number of terms changes after the fit; the list still shows the old fit.
    w.Field(QStringLiteral("txtTerms_0"))->setText(QStringLiteral("4"));
    Trigger(w, "mnuSaveAs", path);
    QCOMPARE(w.messages, std::vector<std::string>{ResultsNotSavedMessage()});
    const QByteArray main = ReadFile(path);
    QVERIFY2(main.contains("#FALSE#"), main.constData());
    QVERIFY(main.contains(",3\r\n"));  // the record as the fields give it: 4 terms
    QVERIFY(w.Model().HaveResults);    // nothing is dropped from the window
  }

  // The commands alone, over events that fail half-way: what they let out is said, and an
  // open that fails leaves Loading off, so that edits clear stale results again.
  void failuresInsideTheCommandsAreSaidAndLoadingEndsOff() {
    ProblemModel model;
    FakeCommonDialog dialogs;
    ShellServices services;
    services.Dialogs = &dialogs;
    std::vector<std::string> said;
    FileCommands files(
        nullptr, model, services,
        {[] { return true; }, []() -> EntryFields { throw std::runtime_error("no fields"); },
         [](const EntryFields&) { throw std::bad_alloc(); },
         [&said](const std::string& text) { said.push_back(text); }, [](const std::string&) {},
         [] { return std::string(); }, [](const std::string&) { return true; }});
    files.OpenPath(qEnvironmentVariable("QUON_TEST_DATA").toStdString() +
                   "/spec/parabola_with_results.qsp");
    QVERIFY(!model.Loading);
    QTemporaryDir dir;
    dialogs.fileName = dir.filePath(QStringLiteral("p.qsp")).toStdString();
    QVERIFY(!files.Save());
    QCOMPARE(said.size(), std::size_t{2});
    QVERIFY2(said[0].find("not enough memory to open the problem") != std::string::npos,
             said[0].c_str());
    QCOMPARE(said[1], std::string("Could not save the problem: no fields"));
  }

  // A cancelled dialog changes nothing and says nothing; a save that fails names the file.
  void cancelledDialogsChangeNothingAndAFailedSaveIsSaid() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/folder/p.qsp"));
    QuonWindow w;
    Trigger(w, "mnuOpen", QString());
    QVERIFY(w.Menu("mnuOpen")->isEnabled());
    EnterParabola(w);
    Trigger(w, "mnuSaveAs", QString());
    QCOMPARE(w.Model().SpecFile, std::string());
    QVERIFY(w.messages.empty());
    Trigger(w, "mnuSaveAs", path);
    QCOMPARE(w.messages.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(w.messages[0]).contains(QStringLiteral("p.qsp")),
             w.messages[0].c_str());
    QVERIFY(!QFile::exists(path));
    QCOMPARE(w.Model().SpecFile, std::string());  // Save does not go there later
  }
};

}  // namespace quon::testing

QTEST_MAIN(quon::testing::FrmQuonFileTest)
#include "frm_quon_file_qtest.moc"
