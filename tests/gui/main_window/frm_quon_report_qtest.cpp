// Print through the main window into a PDF file, read back page by page with pdftotext and
// compared line by line, columns included, with the report's lines.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "core/report/report_lines.h"
#include "gui/qt/qt_printer.h"
#include "support/frm_quon_fixture.h"
#include "support/pdf_lines.h"

namespace quon::testing {

class FrmQuonReportTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    QuietOffscreenNotes();
    if (!HavePdfToText()) QSKIP("pdftotext (poppler-utils) is not installed");
  }

  // The paging is the printer's (qt_printer_qtest); here the report with its constants must
  // reach it in the fixed-pitch font, and the user's font come back afterwards.
  void theReportIsPrintedInAFixedPitchFont() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer;
    QtPrinter out(printer);
    out.PrintToPdf(path);
    out.SetFontName(QStringLiteral("Helvetica"));
    QuonWindow w(&out);
    EnterFullProblem(w, QStringLiteral("x"), QStringLiteral("a*x^2"), {{"0", "2", "3"}});
    TypeInto(w.Child<QComboBox>(QStringLiteral("cboConstants"))->lineEdit(),
             QStringLiteral("a=2.37"));
    ClickAt(w.Child<QPushButton>(QStringLiteral("cmdAddCons")));
    PressCompute(w);
    QVERIFY(w.Model().HaveResults);
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QVERIFY2(w.messages.empty(), w.messages.empty() ? "" : w.messages[0].c_str());
    QCOMPARE(w.dialogs.calls, std::vector<std::string>{"ShowPrinter"});
    QCOMPARE(out.FontName(), QStringLiteral("Helvetica"));

    QStringList expected;
    ReportLines(w.Model(), "a*x^2", {"a=2.37"},
                [&](const std::string& line) { expected << QString::fromStdString(line); });
    QVERIFY(expected.contains(QStringLiteral("CONSTANTS:")));
    const QList<QList<PdfWord>> pages = PdfWords(path);
    QCOMPARE(pages.size(), 1);
    const double left = printer.pageLayout().paintRect(QPageLayout::Point).left();
    QCOMPARE(PageLines(pages[0], left), AsPrinted(expected));
  }

  void withoutAPrinterTheReportGoesToTheChosenPdf() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chosen.pdf"));
    QPrinter printer;
    QtPrinter out(printer);
    QVERIFY(!out.HasDestination());
    QuonWindow w(&out);
    EnterParabola(w);
    w.dialogs.fileName = path.toStdString();
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(w.dialogs.calls, (std::vector<std::string>{"ShowPrinter", "ShowPrintToFile"}));
    QVERIFY(w.messages.empty());
    const QList<QList<PdfWord>> pages = PdfWords(path);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(PageLines(pages[0], 0).value(0).trimmed(), QStringLiteral("FUNCTION:"));
  }

  // Either file of the problem's own pair, by whatever name and from either dialog, is
  // printed into only on a yes.
  void theProblemsOwnPairIsReplacedOnlyAfterAsking() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QPrinter printer;
    QtPrinter out(printer);
    QuonWindow w(&out);
    EnterParabola(w);
    w.dialogs.fileName = dir.filePath(QStringLiteral("p.qsp")).toStdString();
    w.Menu(QStringLiteral("mnuSaveAs"))->trigger();
    QFile text(dir.filePath(QStringLiteral("p.qsp.str")));
    const qint64 saved = text.size();
    w.dialogs.fileName = dir.filePath(QStringLiteral("sub/../p.qsp.str")).toStdString();
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(text.size(), saved);
    w.confirm = true;
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QVERIFY(text.open(QIODevice::ReadOnly) && text.read(4) == "%PDF");
    text.close();
    w.confirm = false;  // the printer now prints into that file by itself: asked again
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(w.questions.size(), std::size_t{3});
    QVERIFY2(w.messages.back().find("was kept") != std::string::npos, w.messages.back().c_str());
  }

  // No printer and no file chosen, or a file that cannot be written: the user is told, and
  // the user's font comes back.
  void aReportNotPrintedIsSaid_data() {
    QTest::addColumn<QString>("pdf");
    QTest::addColumn<QString>("said");
    QTest::newRow("NoPrinterNoFile") << QString() << "not printed";
    QTest::newRow("FileCannotBeWritten") << "missing/report.pdf"
                                         << "report.pdf";
  }

  void aReportNotPrintedIsSaid() {
    QFETCH(QString, pdf);
    QFETCH(QString, said);
    if (pdf.isEmpty() && !QPrinterInfo::availablePrinters().isEmpty()) {
      QSKIP("this machine has a printer");
    }
    QTemporaryDir dir;
    QPrinter printer;
    QtPrinter out(printer);
    if (!pdf.isEmpty()) out.PrintToPdf(dir.filePath(pdf));
    out.SetFontName(QStringLiteral("Helvetica"));
    QuonWindow w(&out);
    EnterParabola(w);
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(w.messages.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(w.messages[0]).contains(said), w.messages[0].c_str());
    QCOMPARE(out.FontName(), QStringLiteral("Helvetica"));
  }
};

}  // namespace quon::testing

QTEST_MAIN(quon::testing::FrmQuonReportTest)
#include "frm_quon_report_qtest.moc"
