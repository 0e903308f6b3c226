// The file commands alone, over fake events: whatever a command lets out is said and never
// ends the program, and an open that fails half-way leaves Loading off.
#include <QTemporaryDir>
#include <QtTest>
#include <new>
#include <stdexcept>

#include "gui/main_window/file_commands.h"
#include "support/qt_test_support.h"

namespace quon::testing {

class FileCommandsTest : public QObject {
  Q_OBJECT

  struct Harness {
    explicit Harness(FileCommands::Events events) {
      services.Dialogs = &dialogs;
      events.OpenAllowed = [] { return true; };
      events.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
      events.FileUsed = [](const std::string&) {};
      events.CommitEntry = [] { return std::string(); };
      files = std::make_unique<FileCommands>(nullptr, model, services, std::move(events));
    }
    ProblemModel model;
    FakeCommonDialog dialogs;
    ShellServices services;
    std::vector<std::string> messages;
    std::unique_ptr<FileCommands> files;
  };

 private Q_SLOTS:
  void aFailureInsideASaveIsSaid_data() {
    QTest::addColumn<bool>("outOfMemory");
    QTest::addColumn<QString>("said");
    QTest::newRow("OutOfMemory") << true << "not enough memory to save the problem";
    QTest::newRow("AnyOtherFailure") << false << "Could not save the problem: no fields";
  }
  void aFailureInsideASaveIsSaid() {
    QFETCH(bool, outOfMemory);
    QFETCH(QString, said);
    FileCommands::Events events;
    events.ReadEntryFields = [outOfMemory]() -> EntryFields {
      if (outOfMemory) throw std::bad_alloc();
      throw std::runtime_error("no fields");
    };
    Harness h(std::move(events));
    QTemporaryDir dir;
    h.dialogs.fileName = dir.filePath(QStringLiteral("p.qsp")).toStdString();
    QVERIFY(!h.files->Save());
    QCOMPARE(h.messages.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(h.messages[0]).contains(said), h.messages[0].c_str());
    QVERIFY(h.model.SpecFile.empty());
  }

  void anOpenThatThrowsHalfWayLeavesLoadingOff() {
    FileCommands::Events events;
    events.ShowOpenedProblem = [](const EntryFields&) { throw std::bad_alloc(); };
    Harness h(std::move(events));
    h.files->OpenPath(qEnvironmentVariable("QUON_TEST_DATA").toStdString() +
                      "/spec/parabola_with_results.qsp");
    QVERIFY(!h.model.Loading);
    QCOMPARE(h.messages.size(), std::size_t{1});
    QVERIFY2(h.messages[0].find("open the problem") != std::string::npos, h.messages[0].c_str());
  }
};

}  // namespace quon::testing

QTEST_MAIN(quon::testing::FileCommandsTest)
#include "file_commands_qtest.moc"
