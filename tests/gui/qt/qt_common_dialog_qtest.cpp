// The print-to-file dialog as a user meets it: a title and a PDF filter of its own, ".pdf"
// added to a bare name, and a question before an existing file is replaced.
#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "gui/qt/qt_common_dialog.h"
#include "support/qt_test_support.h"

namespace quon::testing {
namespace {

// Runs `act` on the next modal dialog of type T once it is on show.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start(10);
}

}  // namespace

class QtCommonDialogTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    QuietOffscreenNotes();
    UseScratchSettings();
  }

  void printToFileAddsThePdfSuffixAndAsksBeforeReplacing() {
    QTemporaryDir dir;
    QFile old(dir.filePath(QStringLiteral("old.pdf")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    QtCommonDialog dialogs;
    QString title;
    QStringList filters;
    WhenShown<QFileDialog>([&](QFileDialog* file) {
      title = file->windowTitle();
      filters = file->nameFilters();
      file->setDirectory(dir.path());
      TypeInto(file->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
               QStringLiteral("report"));
      static_cast<QDialog*>(file)->accept();  // QFileDialog's own, public in QDialog
    });
    dialogs.ShowPrintToFile();
    QVERIFY(title.contains(QStringLiteral("PDF")));
    QCOMPARE(filters, QStringList{QStringLiteral("PDF files (*.pdf)")});
    QCOMPARE(QString::fromStdString(dialogs.FileName()),
             dir.filePath(QStringLiteral("report.pdf")));

    // "old" is old.pdf, which exists: No to the question keeps the dialog open, to cancel.
    QString question;
    WhenShown<QFileDialog>([&](QFileDialog* file) {
      WhenShown<QMessageBox>([&](QMessageBox* box) {
        question = box->text();
        box->button(QMessageBox::No)->click();
      });
      TypeInto(file->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), QStringLiteral("old"));
      static_cast<QDialog*>(file)->accept();  // QFileDialog's own, public in QDialog
      QVERIFY(file->isVisible());
      file->reject();
    });
    dialogs.ShowPrintToFile();
    QVERIFY2(question.contains(QStringLiteral("old.pdf")), qPrintable(question));
    QCOMPARE(dialogs.FileName(), std::string());
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
  }
};

}  // namespace quon::testing

QTEST_MAIN(quon::testing::QtCommonDialogTest)
#include "qt_common_dialog_qtest.moc"
