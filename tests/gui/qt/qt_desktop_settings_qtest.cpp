// What the program remembers between runs, in a scratch settings folder: the rule of the
// recent-files list, and the open dialog starting in the folder last used.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui/qt/qt_common_dialog.h"
#include "gui/qt/qt_desktop_settings.h"
#include "support/qt_test_support.h"

class QtDesktopSettingsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { quon::testing::UseScratchSettings(); }

  void RecentFilesKeepTheLastFourOnce_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("used");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("FirstFile") << QStringList{} << "a" << QStringList{"a"};
    QTest::newRow("NewFileGoesFirst") << QStringList{"a", "b"} << "c" << QStringList{"c", "a", "b"};
    QTest::newRow("UsedAgainMovesUp")
        << QStringList{"a", "b", "c"} << "c" << QStringList{"c", "a", "b"};
    QTest::newRow("OldestDropsBeyondFour")
        << QStringList{"a", "b", "c", "d"} << "e" << QStringList{"e", "a", "b", "c"};
  }
  void RecentFilesKeepTheLastFourOnce() {
    QFETCH(QStringList, before);
    QFETCH(QString, used);
    QFETCH(QStringList, after);
    QCOMPARE(quon::WithRecentFile(before, used, quon::DesktopSettings::kRecentFiles), after);
  }

  void OpenDialogStartsInTheFolderLastUsed() {
    QTemporaryDir dir;
    quon::DesktopSettings().RememberFolderOf(dir.filePath(QStringLiteral("p.qsp")));
    QString shown;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      poll.stop();
      shown = dialog->directory().absolutePath();
      dialog->reject();
    });
    poll.start(20);
    quon::QtCommonDialog dialogs;
    dialogs.ShowOpen();
    QCOMPARE(shown, QDir(dir.path()).absolutePath());
    QCOMPARE(dialogs.FileName(), std::string());
  }
};

QTEST_MAIN(QtDesktopSettingsTest)
#include "qt_desktop_settings_qtest.moc"
