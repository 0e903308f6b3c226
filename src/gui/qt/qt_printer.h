// The printer the report is printed on, as a small interface: the name of its current font,
// one line at a time, and the end of the document. QtPrinter puts the lines on a QPrinter
// (a printer or a PDF file) top to bottom, starting a new page when one is full; tests and
// the window use it alike, a test with a PDF file as its output.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <memory>

namespace quon {

class ReportPrinter {
 public:
  virtual ~ReportPrinter() = default;

  // The name of the font the next lines are printed in.
  virtual QString FontName() const = 0;
  virtual void SetFontName(const QString& name) = 0;

  // False when there is nowhere to print to (no printer installed and no file chosen).
  virtual bool HasDestination() const = 0;
  // Prints the following documents into the PDF file at `path`.
  virtual void PrintToPdf(const QString& path) = 0;
  // The PDF file the next document goes to; empty when it goes to a printer.
  virtual QString PdfFile() const = 0;

  // Prints one line below the previous one.
  virtual void PrintLine(const QString& line) = 0;
  // Ends the document, which sends it to the printer. Returns an empty text when it was
  // printed, otherwise what went wrong, for the user.
  virtual QString EndDoc() = 0;
};

// The printer's font set to `name` for the length of a scope (one print), and the font the
// user had given back however the print ends.
class ScopedPrinterFont {
 public:
  ScopedPrinterFont(ReportPrinter& printer, const QString& name)
      : printer_(printer), saved_(printer.FontName()) {
    printer_.SetFontName(name);
  }
  ~ScopedPrinterFont() { printer_.SetFontName(saved_); }
  ScopedPrinterFont(const ScopedPrinterFont&) = delete;
  ScopedPrinterFont& operator=(const ScopedPrinterFont&) = delete;

 private:
  ReportPrinter& printer_;
  QString saved_;
};

class QtPrinter : public ReportPrinter {
 public:
  // `printer` must outlive this object; its settings (the one the printer dialog changed)
  // are used as they stand when a document starts.
  explicit QtPrinter(QPrinter& printer);
  ~QtPrinter() override;

  QString FontName() const override { return fontName_; }
  void SetFontName(const QString& name) override { fontName_ = name; }
  bool HasDestination() const override;
  void PrintToPdf(const QString& path) override;
  QString PdfFile() const override;
  void PrintLine(const QString& line) override;
  QString EndDoc() override;

  // The font the lines are drawn in for the current font name: that family when the
  // platform has it in a fixed pitch, otherwise the platform's fixed-pitch font.
  QFont PrintFont() const;
  // Lines that fit on one page of the printer as it is set now.
  int LinesPerPage() const;

 private:
  bool BeginDocument();

  QPrinter& printer_;
  QString fontName_;
  std::unique_ptr<QPainter> painter_;
  QString error_;
  int lineOnPage_ = 0;
  int linesPerPage_ = 1;
  int lineHeight_ = 1;
  int ascent_ = 0;
};

}  // namespace quon
