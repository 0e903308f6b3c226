// Print through the main window into a PDF file, read back page by page with pdftotext and
// compared line by line, columns included, with the report's lines.
#include <QComboBox>
#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "qt/qt_printer.h"
#include "report/report_lines.h"
#include "support/frm_quon_fixture.h"
#include "support/pdf_lines.h"

namespace quon::testing {

class FrmQuonReportTest : public QObject {
  Q_OBJECT

 private:
  static void EnterLongProblem(QuonWindow& w) {
    EnterFullProblem(w, QStringLiteral("x,y"), QStringLiteral("a*x^2*cos(y)"),
                     {{"0", "2", "8"}, {"-1", "1", "10", false, "0.5", "*"}});
    TypeInto(w.Child<QComboBox>(QStringLiteral("cboConstants"))->lineEdit(),
             QStringLiteral("a=2.37"));
    ClickAt(w.Child<QPushButton>(QStringLiteral("cmdAddCons")));
  }

 private Q_SLOTS:
  void initTestCase() {
    QuietOffscreenNotes();
    if (!HavePdfToText()) QSKIP("pdftotext (poppler-utils) is not installed");
  }

  void theReportIsPrintedPageByPageInAFixedPitchFont() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer;
    QtPrinter out(printer);
    out.PrintToPdf(path);
    out.SetFontName(QStringLiteral("Courier New"));
    const int perPage = out.LinesPerPage();
    out.SetFontName(QStringLiteral("Helvetica"));

    QuonWindow w(&out);
    EnterLongProblem(w);
    PressCompute(w);
    QVERIFY(w.Model().HaveResults);
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QVERIFY2(w.messages.empty(), w.messages.empty() ? "" : w.messages[0].c_str());
    QCOMPARE(w.dialogs.calls, std::vector<std::string>{"ShowPrinter"});
    QCOMPARE(out.FontName(), QStringLiteral("Helvetica"));

    QStringList expected;
    ReportLines(w.Model(), "a*x^2*cos(y)", {"a=2.37"},
                [&](const std::string& line) { expected << QString::fromStdString(line); });
    QVERIFY(expected.contains(QStringLiteral("CONSTANTS:")));
    QVERIFY(expected.size() > perPage);  // more than one page
    const QList<QList<PdfWord>> pages = PdfWords(path);
    QCOMPARE(pages.size(), (expected.size() + perPage - 1) / perPage);
    const double left = printer.pageLayout().paintRect(QPageLayout::Point).left();
    for (int p = 0; p < pages.size(); ++p) {
      const QStringList lines = PageLines(pages[p], left);
      const QStringList want = AsPrinted(expected.mid(p * perPage, perPage));
      QCOMPARE(lines.size(), want.size());
      for (int i = 0; i < lines.size(); ++i) QCOMPARE(lines[i], want[i]);
    }
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
    QCOMPARE(w.dialogs.calls, (std::vector<std::string>{"ShowPrinter", "ShowSave"}));
    QVERIFY(w.messages.empty());
    const QList<QList<PdfWord>> pages = PdfWords(path);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(PageLines(pages[0], 0).value(0).trimmed(), QStringLiteral("FUNCTION:"));
  }

  void withoutAPrinterOrAFileTheUserIsTold() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
    QPrinter printer;
    QtPrinter out(printer);
    out.SetFontName(QStringLiteral("Helvetica"));
    QuonWindow w(&out);
    EnterParabola(w);
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(w.messages.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(w.messages[0]).contains(QStringLiteral("not printed")),
             w.messages[0].c_str());
    QCOMPARE(out.FontName(), QStringLiteral("Helvetica"));
  }

  void aPrinterThatFailsIsReported() {
    QTemporaryDir dir;
    QPrinter printer;
    QtPrinter out(printer);
    out.PrintToPdf(dir.filePath(QStringLiteral("missing/report.pdf")));
    QuonWindow w(&out);
    EnterParabola(w);
    w.Menu(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(w.messages.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(w.messages[0]).contains(QStringLiteral("report.pdf")),
             w.messages[0].c_str());
  }
};

}  // namespace quon::testing

QTEST_MAIN(quon::testing::FrmQuonReportTest)
#include "frm_quon_report_qtest.moc"
