// The printer of the report, printing into PDF files that are read back with pdftotext:
// every line arrives, in order, on the page it was printed on, and the columns of a
// fixed-pitch font survive.
#include <QFontInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/qt/qt_printer.h"
#include "support/pdf_lines.h"

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
};

}  // namespace quon

QTEST_MAIN(quon::QtPrinterTest)
#include "qt_printer_qtest.moc"
