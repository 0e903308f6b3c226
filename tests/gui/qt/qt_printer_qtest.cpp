// The printer of the report, printing into PDF files that are read back with pdftotext:
// every line arrives, in order, on the page it was printed on, and the columns of a
// fixed-pitch font survive. And the dialog that names such a file.
#include <QAbstractButton>
#include <QFileDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/qt/qt_common_dialog.h"
#include "gui/qt/qt_printer.h"
#include "support/pdf_lines.h"
#include "support/qt_test_support.h"

namespace quon {

class QtPrinterTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    if (!testing::HavePdfToText()) QSKIP("pdftotext (poppler-utils) is not installed");
  }

  void linesArrivePageByPageInOrder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer;
    QtPrinter out(printer);
    out.PrintToPdf(path);
    QVERIFY(out.HasDestination());
    QCOMPARE(out.PdfFile(), path);
    out.SetFontName(QStringLiteral("Courier New"));
    const int perPage = out.LinesPerPage();
    QVERIFY(perPage > 10);

    // Two and a half pages of lines whose text tells their number and keeps columns.
    QStringList printed;
    const int count = perPage * 2 + perPage / 2;
    for (int i = 0; i < count; ++i) {
      printed << (i % 5 == 4
                      ? QString()
                      : QStringLiteral("  LINE%1     %2 ").arg(i, 5, 10, QChar('0')).arg(i * 7, 6));
    }
    for (const QString& line : printed) out.PrintLine(line);
    QCOMPARE(out.EndDoc(), QString());

    const QList<QList<testing::PdfWord>> pages = testing::PdfWords(path);
    QCOMPARE(pages.size(), 3);
    const double left = printer.pageLayout().paintRect(QPageLayout::Point).left();
    for (int p = 0; p < pages.size(); ++p) {
      const QStringList lines = testing::PageLines(pages[p], left);
      const QStringList expected = testing::AsPrinted(printed.mid(p * perPage, perPage));
      QCOMPARE(lines.size(), expected.size());
      for (int i = 0; i < lines.size(); ++i) QCOMPARE(lines[i], expected[i]);
    }
  }

  // The print dialog's "print to file" leaves a printer set to a PDF file with the page
  // layout it had; the fallback chooses the file through PrintToPdf. Either way the text
  // starts 15 mm from the left and top edges.
  void pdfMarginsDoNotDependOnHowThePdfWasChosen() {
    QTemporaryDir dir;
    const QString fromDialog = dir.filePath(QStringLiteral("dialog.pdf"));
    const QString fromFallback = dir.filePath(QStringLiteral("fallback.pdf"));
    QPrinter dialogPrinter;
    dialogPrinter.setOutputFormat(QPrinter::PdfFormat);
    dialogPrinter.setOutputFileName(fromDialog);
    QPrinter fallbackPrinter;
    QtPrinter viaDialog(dialogPrinter);
    QtPrinter viaFallback(fallbackPrinter);
    viaFallback.PrintToPdf(fromFallback);
    for (QtPrinter* out : {&viaDialog, &viaFallback}) {
      out->PrintLine(QStringLiteral("FUNCTION:"));
      QCOMPARE(out->EndDoc(), QString());
    }
    const double margin = 15 / 25.4 * 72;  // points
    for (const QString& path : {fromDialog, fromFallback}) {
      const QList<testing::PdfWord> words = testing::PdfWords(path).value(0);
      QCOMPARE(words.size(), 1);
      QVERIFY2(std::abs(words[0].Left - margin) < 1, qPrintable(path));
      QVERIFY2(words[0].Top > margin - 1 && words[0].Top < margin + 12, qPrintable(path));
    }
  }

  void aFontThatIsNotFixedPitchFallsBackToOneThatIs() {
    QPrinter printer;
    QtPrinter out(printer);
    out.SetFontName(QStringLiteral("No Such Font Family Anywhere"));
    QVERIFY(QFontInfo(out.PrintFont()).fixedPitch());
    QCOMPARE(out.FontName(), QStringLiteral("No Such Font Family Anywhere"));
  }

  // A document that cannot be written says which file; the next starts afresh.
  void aFailedDocumentIsReportedAndTheNextStartsAfresh() {
    QTemporaryDir dir;
    QPrinter printer;
    QtPrinter out(printer);
    out.PrintToPdf(dir.filePath(QStringLiteral("missing/folder/report.pdf")));
    out.PrintLine(QStringLiteral("ONE"));
    const QString error = out.EndDoc();
    QVERIFY2(error.contains(QStringLiteral("report.pdf")), qPrintable(error));
    const QString second = dir.filePath(QStringLiteral("second.pdf"));
    out.PrintToPdf(second);
    out.PrintLine(QStringLiteral("TWO"));
    QCOMPARE(out.EndDoc(), QString());
    const double left = printer.pageLayout().paintRect(QPageLayout::Point).left();
    QCOMPARE(testing::PageLines(testing::PdfWords(second).value(0), left), QStringList{"TWO"});
  }

  // The dialog for a PDF file: its title and filter, ".pdf" added to a bare name, and a
  // question before an existing file is replaced (No keeps the dialog open, to cancel).
  void theDialogForAPdfFileAddsTheSuffixAndAsksBeforeReplacing() {
    testing::UseScratchSettings();
    QTemporaryDir dir;
    QFile old(dir.filePath(QStringLiteral("old.pdf")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    QtCommonDialog dialogs;
    QString shown, question;
    const auto typeAndAccept = [&](QFileDialog* file, const QString& name) {
      shown = file->windowTitle() + QStringLiteral(" | ") + file->nameFilters().join(';');
      file->setDirectory(dir.path());
      testing::TypeInto(file->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), name);
      static_cast<QDialog*>(file)->accept();  // QFileDialog's own, public in QDialog
    };
    testing::WhenShown<QFileDialog>([&](QFileDialog* file) { typeAndAccept(file, "report"); });
    dialogs.ShowPrintToFile();
    QCOMPARE(shown, QStringLiteral("Print the report to a PDF file | PDF files (*.pdf)"));
    QCOMPARE(QString::fromStdString(dialogs.FileName()),
             dir.filePath(QStringLiteral("report.pdf")));
    testing::WhenShown<QFileDialog>([&](QFileDialog* file) {
      testing::WhenShown<QMessageBox>([&](QMessageBox* box) {
        question = box->text();
        box->button(QMessageBox::No)->click();
      });
      typeAndAccept(file, "old");
      file->reject();
    });
    dialogs.ShowPrintToFile();
    QVERIFY2(question.contains(QStringLiteral("old.pdf")), qPrintable(question));
    QCOMPARE(dialogs.FileName(), std::string());
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
  }
};

}  // namespace quon

QTEST_MAIN(quon::QtPrinterTest)
#include "qt_printer_qtest.moc"
