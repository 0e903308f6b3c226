// The main window's shell: menu states through the life of a problem, Help, About, Exit
// and the close box; the help viewer and the About window themselves.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "gui/frm_about.h"
#include "gui/qt/qt_common_dialog.h"
#include "gui/qt/qt_help_window.h"
#include "support/frm_quon_fixture.h"

using quon::testing::ClickAt;
using quon::testing::QuonWindow;
using quon::testing::TypeInto;

namespace {

struct MenuState {
  bool open, save, saveAs, print, help, aboutVisible;
  bool operator==(const MenuState&) const = default;
};

MenuState MenusOf(const QuonWindow& w) {
  return {w.Menu("mnuOpen")->isEnabled(),   w.Menu("mnuSave")->isEnabled(),
          w.Menu("mnuSaveAs")->isEnabled(), w.Menu("mnuPrint")->isEnabled(),
          w.Menu("mnuHelp")->isEnabled(),   w.Menu("mnuAbout")->isVisible()};
}

QList<quon::frmAbout*> OpenAboutWindows() {
  QList<quon::frmAbout*> open;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* about = qobject_cast<quon::frmAbout*>(top); about != nullptr && about->isVisible()) {
      open.append(about);
    }
  }
  return open;
}

}  // namespace

class FrmQuonTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void MenusFollowTheLifeOfAProblem() {
    QuonWindow w;
    const MenuState first{true, false, false, false, true, false};
    QVERIFY(MenusOf(w) == first);
    QCOMPARE(w.Child<QMenu>("mnuFile")->title(), QStringLiteral("File"));
    QCOMPARE(w.Child<QMenu>("mnuFile")->actions().indexOf(w.Menu("mnuFileBar2")), 4);
    QCOMPARE(w.Child<QMenu>("mnuFile")->actions().indexOf(w.Menu("mnuExport")), 5);
    QCOMPARE(w.Child<QMenu>("mnuFile")->actions().indexOf(w.Menu("mnuFitData")), 6);
    QVERIFY(w.Menu("mnuFileBar1")->isSeparator());
    QVERIFY(w.Menu("mnuFileBar2")->isSeparator());

    w.TypeAndTab("txtOrder", "2");
    QVERIFY(MenusOf(w) == (MenuState{false, false, false, false, true, false}));

    TypeInto(w.Field("txtVarNams"), "a,b");
    QTest::keyClick(w.Field("txtVarNams"), Qt::Key_Tab);
    const MenuState fixed{false, true, true, true, true, true};
    QVERIFY(MenusOf(w) == fixed);

    // Nothing later takes the state back.
    ClickAt(w.Child<QPushButton>("cmdNextVar"));
    QTest::keyClicks(w.Field("txtEquation"), "+1");
    QVERIFY(MenusOf(w) == fixed);
    QVERIFY(!w.Child<QPushButton>("cmdEvaluations")->isEnabled());
  }

  // Only work is asked about: not a typed number, nor the offered names accepted.
  void CloseBoxRestoresTheSeparatorAndAsksOnlyAboutWork() {
    QTemporaryDir dir;
    QuonWindow untouched;
    TypeInto(untouched.Field("txtOrder"), "abc");
    QVERIFY(untouched.window->close());
    QCOMPARE(untouched.restored, 1);
    QuonWindow named;
    named.EnterProblem("4", "x,y,z,t");
    QVERIFY(named.window->close());
    QuonWindow saved;
    quon::testing::EnterParabola(saved);
    saved.dialogs.fileName = dir.filePath("p.qsp").toStdString();
    saved.Menu("mnuSaveAs")->trigger();
    QVERIFY(saved.window->close());
    QCOMPARE(untouched.asked + named.asked + saved.asked, 0);
    QuonWindow edited;
    edited.EnterProblem("1", "x");
    edited.Field("txtEquation")->setText("x^3");
    QVERIFY(edited.window->close());
    QCOMPARE(edited.asked, 1);
  }

  // Save from the exit question accepts names still in their field, or says what to finish
  // and keeps the window and the pair that was there.
  void ExitSaveCommitsTheNamesOrSaysWhatToFinish_data() {
    QTest::addColumn<QString>("names");
    QTest::addColumn<bool>("saved");
    QTest::newRow("NamesAccepted") << "a,b" << true;
    QTest::newRow("NamesRefused") << "a" << false;
  }
  void ExitSaveCommitsTheNamesOrSaysWhatToFinish() {
    QFETCH(QString, names);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    QFile pair(dir.filePath("p.qsp"));
    QVERIFY(pair.open(QIODevice::WriteOnly) && pair.write("old") == 3);
    pair.close();
    QuonWindow w;
    w.TypeAndTab("txtOrder", "2");
    TypeInto(w.Field("txtVarNams"), names);  // the focus stays in the names field
    w.Field("txtEquation")->setText("a+b");
    w.answer = quon::SaveChangesAnswer::Save;
    w.dialogs.fileName = pair.fileName().toStdString();
    QCOMPARE(w.window->close(), saved);
    QCOMPARE(w.asked, 1);
    QCOMPARE(pair.size() > 3, saved);
    QCOMPARE(w.Model().VarName == (std::vector<std::string>{"a", "b"}), saved);
    QCOMPARE(w.dialogs.calls.size(), std::size_t{saved});
    QCOMPARE(w.messages.size(), std::size_t{!saved});
    if (saved) return;
    QVERIFY2(w.messages[0].find("2 names") != std::string::npos, w.messages[0].c_str());
    QCOMPARE(w.Focus(), w.Field("txtVarNams"));
  }

  void RecentFilesFollowOpenAndSave() {
    QTemporaryDir dir;
    for (const QString name : {"a.qsp", "b.qsp"}) {
      QuonWindow w(nullptr, name != "a.qsp");
      quon::testing::EnterParabola(w);
      w.dialogs.fileName = dir.filePath(name).toStdString();
      w.Menu("mnuSaveAs")->trigger();
    }
    QuonWindow w(nullptr, true);
    QVERIFY(w.Menu("mnuRecent_0")->text().endsWith("b.qsp"));
    QVERIFY(w.Menu("mnuRecent_1")->text().endsWith("a.qsp"));
    QVERIFY(!w.Menu("mnuRecent_2")->isVisible());
    const QList<QAction*> items = w.Child<QMenu>("mnuFile")->actions();
    QCOMPARE(items.indexOf(w.Menu("mnuRecent_0")), items.indexOf(w.Menu("mnuFitData")) + 1);
    w.Menu("mnuRecent_1")->trigger();
    QCOMPARE(QString::fromStdString(w.Model().SpecFile), dir.filePath("a.qsp"));
    QVERIFY(w.Menu("mnuRecent_0")->text().endsWith("a.qsp"));
    QVERIFY(!w.Menu("mnuRecent_0")->isEnabled());  // like Open, once a problem is shown
    QVERIFY(w.messages.empty());
  }

  void WindowComesBackAtItsLastSize() {
    QSize placed;
    {
      QuonWindow w;
      w.window->resize(w.window->size() + QSize(120, 80));
      placed = w.window->size();
      QVERIFY(w.window->close());
    }
    QuonWindow w(nullptr, true);
    QCOMPARE(w.window->size(), placed);
  }

  void HelpAsksForTheFileInTheStartDirectory() {
    const QString startDir = QDir::currentPath();
    QuonWindow w;
    QCOMPARE(QString::fromStdString(w.Model().StartDir), startDir);
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    w.Menu("mnuHelp")->trigger();
    QVERIFY(QDir::setCurrent(startDir));
    const std::vector<std::string> expected = {
        "HelpCommand=9", "HelpFile=" + QDir(startDir).filePath("quon.hlp").toStdString(),
        "ShowHelp"};
    QCOMPARE(w.dialogs.calls, expected);
  }

  void AboutOpensFromTheMenuAndClosesOnAClickOrWithExit() {
    QuonWindow w;
    w.EnterProblem("1", "x");
    QMenuBar* bar = w.window->menuBar();
    ClickAt(bar, bar->actionGeometry(w.Menu("mnuAbout")).center());
    QTRY_COMPARE(OpenAboutWindows().size(), 1);
    quon::frmAbout* about = OpenAboutWindows().first();
    QCOMPARE(about->accessibleDescription().contains(QLatin1String("Quon Developers")), true);
    // A second opening reuses the window on show.
    w.Menu("mnuAbout")->trigger();
    QCOMPARE(OpenAboutWindows().size(), 1);
    QTest::mouseClick(about, Qt::LeftButton);
    QTRY_COMPARE(OpenAboutWindows().size(), 0);
    // Exit restores the separator and closes every window.
    w.Menu("mnuAbout")->trigger();
    QCOMPARE(OpenAboutWindows().size(), 1);
    ClickAt(w.Child<QPushButton>("cmdExit"));
    QVERIFY(!w.window->isVisible());
    QCOMPARE(w.restored, 1);
    QTRY_COMPARE(OpenAboutWindows().size(), 0);
  }

  void AboutTextFitsItsWindow() {
    const QStringList lines = quon::AboutLines();
    quon::frmAbout about;
    const QFontMetrics metrics(about.font());
    for (const QString& line : lines) {
      QVERIFY(metrics.horizontalAdvance(line) < about.sizeHint().width());
    }
    QVERIFY(metrics.lineSpacing() * lines.size() <= about.sizeHint().height());
  }

  // The help file asked for is shown as a page; a missing one gives way to the help
  // installed beside the program.
  void HelpViewerShowsTheFile_data() {
    QTest::addColumn<bool>("asked");
    QTest::newRow("TheFileAskedFor") << true;
    QTest::newRow("BesideTheProgram") << false;
  }
  void HelpViewerShowsTheFile() {
    QFETCH(bool, asked);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("quon.hlp"));
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("quon.hlp");
    const QString shownFile = asked ? path : beside;
    QFile file(shownFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "<html><body><h1>Getting started</h1><p>Type the number of variables.</p></body></html>");
    file.close();

    quon::QtCommonDialog dialogs;
    dialogs.SetHelpCommand(quon::kHelpShowFile);
    dialogs.SetHelpFile(path.toStdString());
    dialogs.ShowHelp();
    if (!asked) QFile::remove(beside);
    QVERIFY(dialogs.HelpWindow() != nullptr);
    QVERIFY(dialogs.HelpWindow()->isVisible());
    QCOMPARE(dialogs.HelpWindow()->ShownFile(), shownFile);
    const QString shown = dialogs.HelpWindow()->Browser()->toPlainText();
    QVERIFY2(shown.contains(QLatin1String("Getting started")), qPrintable(shown));
    QVERIFY(!shown.contains(QLatin1String("<h1>")));
  }
};

QTEST_MAIN(FrmQuonTest)
#include "frm_quon_qtest.moc"
