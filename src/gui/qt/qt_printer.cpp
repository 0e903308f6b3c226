#include "gui/qt/qt_printer.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPrinterInfo>
#include <algorithm>

#include "gui/qt/qt_fixed_font.h"

namespace quon {
namespace {

// A PDF has no unprintable border of its own: its page gets the margins of a letter,
// whether the fallback chose the file or the print dialog's "print to file" did (the
// dialog leaves the page layout of the printer it started from).
void UsePdfMargins(QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  }
}

}  // namespace

QtPrinter::QtPrinter(QPrinter& printer)
    : printer_(printer), fontName_(QFontDatabase::systemFont(QFontDatabase::FixedFont).family()) {}

QtPrinter::~QtPrinter() {
  if (painter_) painter_->end();
}

bool QtPrinter::HasDestination() const {
  if (printer_.outputFormat() == QPrinter::PdfFormat) return !printer_.outputFileName().isEmpty();
  return !printer_.printerName().isEmpty() && !QPrinterInfo::availablePrinters().isEmpty();
}

void QtPrinter::PrintToPdf(const QString& path) {
  printer_.setOutputFormat(QPrinter::PdfFormat);
  printer_.setOutputFileName(path);
  UsePdfMargins(printer_);
}

QString QtPrinter::PdfFile() const {
  return printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName() : QString();
}

QFont QtPrinter::PrintFont() const {
  // The size stays what the printer would have used for the family.
  return FixedPitchFont(fontName_, QFont(fontName_).pointSizeF());
}

int QtPrinter::LinesPerPage() const {
  const QFontMetrics metrics(PrintFont(), &printer_);
  return std::max(1, printer_.height() / std::max(1, metrics.lineSpacing()));
}

bool QtPrinter::BeginDocument() {
  if (painter_) return true;
  if (!error_.isEmpty()) return false;
  UsePdfMargins(printer_);
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(&printer_)) {
    painter_.reset();
    const QString where = printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName()
                                                                         : printer_.printerName();
    error_ = where.isEmpty() ? QStringLiteral("There is no printer to print on.")
                             : QStringLiteral("Printing to %1 could not start.").arg(where);
    return false;
  }
  painter_->setFont(PrintFont());
  const QFontMetrics metrics(painter_->font(), &printer_);
  lineHeight_ = std::max(1, metrics.lineSpacing());
  ascent_ = metrics.ascent();
  linesPerPage_ = std::max(1, printer_.height() / lineHeight_);
  lineOnPage_ = 0;
  return true;
}

void QtPrinter::PrintLine(const QString& line) {
  if (!BeginDocument()) return;
  if (lineOnPage_ == linesPerPage_) {
    if (!printer_.newPage()) {
      error_ = QStringLiteral("The printer could not start a new page.");
      painter_->end();
      painter_.reset();
      return;
    }
    lineOnPage_ = 0;
  }
  // The whole line, trailing blanks and all, drawn from the left edge without clipping.
  painter_->drawText(0, ascent_ + lineOnPage_ * lineHeight_, line);
  ++lineOnPage_;
}

QString QtPrinter::EndDoc() {
  // A document without lines is still one (empty) page, as a printer would eject it.
  BeginDocument();
  if (painter_ && !painter_->end() && error_.isEmpty()) {
    error_ = QStringLiteral("The printer did not accept the document.");
  }
  painter_.reset();
  QString error = error_;
  error_.clear();
  return error;
}

}  // namespace quon
