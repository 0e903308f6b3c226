// The Print command: the printer dialog, then the report's lines (the core's ReportLines)
// in a fixed-pitch font, the printer's font given back afterwards. Without a printer the
// report goes to a PDF file the user names, or the user is told it was not printed.
#include "core/report/report_lines.h"
#include "gui/main_window/file_commands.h"
#include "gui/qt/common_dialog.h"
#include "gui/qt/qt_printer.h"

namespace quon {

void FileCommands::mnuPrint_Click() {
  ReportPrinter* printer = services_.Printer;
  if (printer == nullptr || services_.Dialogs == nullptr) {
    events_.ShowMessage("There is no printer to print the report on.");
    return;
  }
  const QString savedFont = printer->FontName();
  printer->SetFontName(QStringLiteral("Courier New"));
  services_.Dialogs->ShowPrinter();
  if (!printer->HasDestination()) {
    services_.Dialogs->ShowSave();
    const std::string pdf = services_.Dialogs->FileName();
    if (pdf.empty()) {
      printer->SetFontName(savedFont);
      events_.ShowMessage(
          "There is no printer installed, and no PDF file was chosen: "
          "the report was not printed.");
      return;
    }
    printer->PrintToPdf(QString::fromStdString(pdf));
  }
  const EntryFields fields = events_.ReadEntryFields();
  ReportLines(model_, fields.Equation, fields.ConstantItems, [printer](const std::string& line) {
    printer->PrintLine(QString::fromStdString(line));
  });
  const QString error = printer->EndDoc();
  printer->SetFontName(savedFont);
  if (!error.isEmpty()) events_.ShowMessage("The report was not printed: " + error.toStdString());
}

}  // namespace quon
