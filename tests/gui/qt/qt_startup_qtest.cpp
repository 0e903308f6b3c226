// The start-up sequence on real windows: the splash is on show while the clock is waited
// on and gone afterwards, the main window follows, and closing it ends the event loop and
// restores the decimal separator. The clock is a fake, so no real seconds pass.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "core/shell/decimal_point.h"
#include "core/shell/sub_main.h"
#include "gui/frm_about.h"
#include "gui/main_window/frm_quon.h"
#include "gui/qt/qt_common_dialog.h"
#include "gui/qt/qt_startup.h"
#include "support/qt_test_support.h"

namespace {

bool AboutOnShow() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (qobject_cast<quon::frmAbout*>(top) != nullptr && top->isVisible()) return true;
  }
  return false;
}

class CommaLocale : public quon::NumericLocale {
 public:
  std::string DecimalSeparator() override { return current; }
  void SwitchToDecimalPoint() override { current = "."; }
  void RestoreOriginal() override { current = ","; }
  std::string current = ",";
};

class Answer : public quon::DecimalWarning {
 public:
  explicit Answer(quon::WarningAnswer answer) : answer_(answer) {}
  quon::WarningAnswer Ask(const std::string&, const std::string&) override {
    windowsWhenAsked = static_cast<int>(QApplication::topLevelWidgets().size());
    return answer_;
  }
  int windowsWhenAsked = -1;

 private:
  quon::WarningAnswer answer_;
};

// Counts the sleeps during which the splash was on show; a second passes per 20 sleeps.
class WatchingClock : public quon::SplashClock {
 public:
  int64_t WholeSeconds() override { return sleeps / 20; }
  void Sleep(std::chrono::milliseconds) override {
    ++sleeps;
    if (AboutOnShow()) ++sleepsWithSplash;
  }
  int sleeps = 0;
  int sleepsWithSplash = 0;
};

// The real start-up shell on a comma locale whose warning gets `answer`, and the fake clock.
struct Startup {
  explicit Startup(quon::WarningAnswer reply) : answer(reply) {}
  CommaLocale locale;
  Answer answer;
  quon::DecimalPoint guard{locale, answer};
  quon::QtCommonDialog dialogs;
  quon::QtStartupShell shell{guard, dialogs};
  WatchingClock clock;
};

}  // namespace

class QtStartupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { quon::testing::UseScratchSettings(); }

  // The splash while the clock is waited on, then the main window with the file argument
  // opened, and the separator restored when it closes.
  void SplashThenMainWindowWithTheFileThenRestoreOnClose() {
    Startup s(quon::WarningAnswer::Yes);
    const std::string path =
        qgetenv("QUON_TEST_DATA").toStdString() + "/spec/parabola_with_results.qsp";
    bool mainShownWithoutSplash = false;
    bool listed = false;
    std::string separatorWhileRunning;
    // Events run once before the wait (to draw the splash) and then in the event loop; the
    // main window exists only in the loop, and its open lets events through while it lists
    // the results: wait until it is done.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      quon::frmQuon* main = s.shell.MainWindow();
      if (main == nullptr || !main->isVisible() || main->Model().SpecFile != path ||
          main->Model().Loading) {
        return;
      }
      poll.stop();
      mainShownWithoutSplash = !AboutOnShow();
      separatorWhileRunning = s.locale.current;
      listed = main->Model().HaveResults &&
               main->findChild<QLineEdit*>("txtEquation")->text().toStdString() ==
                   main->Model().Equation;
      main->close();
    });
    poll.start(10);
    // Fail instead of hanging when the main window never comes.
    QTimer::singleShot(10000, &poll, [] {
      QTest::qFail("the main window did not appear", __FILE__, __LINE__);
      QApplication::exit(1);
    });
    QCOMPARE(quon::Main(s.shell, s.clock, path), 0);
    QVERIFY(s.clock.sleeps > 0);
    QCOMPARE(s.clock.sleepsWithSplash, s.clock.sleeps);
    QVERIFY(mainShownWithoutSplash);
    QVERIFY(listed);
    QCOMPARE(separatorWhileRunning, std::string("."));
    QCOMPARE(s.locale.current, std::string(","));
  }

  void RefusalShowsNoWindow() {
    Startup s(quon::WarningAnswer::Cancel);
    QCOMPARE(quon::Main(s.shell, s.clock), 0);
    QCOMPARE(s.answer.windowsWhenAsked, 0);
    QVERIFY(s.shell.MainWindow() == nullptr);
    QVERIFY(!AboutOnShow());
    QCOMPARE(s.clock.sleeps, 0);
    QCOMPARE(s.locale.current, std::string(","));
  }
};

QTEST_MAIN(QtStartupTest)
#include "qt_startup_qtest.moc"
