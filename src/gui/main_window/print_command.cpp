// The Print command: the printer dialog, then the report's lines (the core's ReportLines)
// in a fixed-pitch font, the printer's font given back however the print ends. Without a
// printer the report goes to a PDF file the user names in a dialog of its own, or the user
// is told it was not printed. A file of the problem's own pair, chosen in either dialog,
// is printed into only after the user has said yes to replacing it.
#include "core/io/pair_files.h"
#include "core/report/report_lines.h"
#include "gui/command_guard.h"
#include "gui/main_window/file_commands.h"
#include "gui/qt/common_dialog.h"
#include "gui/qt/qt_printer.h"

namespace quon {

void FileCommands::mnuPrint_Click() {
  RunGuarded("print the report", events_.ShowMessage, [this] { Print(); });
}

void FileCommands::Print() {
  ReportPrinter* printer = services_.Printer;
  if (printer == nullptr || services_.Dialogs == nullptr) {
    events_.ShowMessage("There is no printer to print the report on.");
    return;
  }
  const ScopedPrinterFont font(*printer, QStringLiteral("Courier New"));
  services_.Dialogs->ShowPrinter();
  // The printer dialog may have chosen a file itself; without a printer the user names one.
  const bool askForFile = !printer->HasDestination();
  std::string pdf = printer->PdfFile().toStdString();
  if (askForFile) {
    services_.Dialogs->ShowPrintToFile();
    pdf = services_.Dialogs->FileName();
    if (pdf.empty()) {
      events_.ShowMessage(
          "There is no printer installed, and no PDF file was chosen: "
          "the report was not printed.");
      return;
    }
  }
  if (!MayPrintInto(pdf)) {
    events_.ShowMessage("The report was not printed, and " + pdf + " was kept.");
    return;
  }
  if (askForFile) printer->PrintToPdf(QString::fromStdString(pdf));
  const EntryFields fields = events_.ReadEntryFields();
  try {
    ReportLines(model_, fields.Equation, fields.ConstantItems, [printer](const std::string& line) {
      printer->PrintLine(QString::fromStdString(line));
    });
  } catch (...) {
    // A report cut short still ends its document, so that the next Print starts afresh.
    printer->EndDoc();
    throw;
  }
  const QString error = printer->EndDoc();
  if (!error.isEmpty()) events_.ShowMessage("The report was not printed: " + error.toStdString());
}

bool FileCommands::MayPrintInto(const std::string& pdf) {
  return !IsFileOfPair(pdf, model_.SpecFile) ||
         events_.Confirm(pdf +
                         " is a file of this problem: printing the report into it replaces "
                         "the problem. Replace it with the report?");
}

}  // namespace quon
