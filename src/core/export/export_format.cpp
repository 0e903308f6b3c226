#include "core/export/export_format.h"

#include <algorithm>
#include <cctype>

#include "core/export/c_source.h"
#include "core/export/data_export.h"
#include "core/export/fortran_source.h"
#include "core/export/python_source.h"
#include "core/io/temporary_file.h"

namespace quon {
namespace {

struct FormatEntry {
  ExportFormat Format;
  const char* Name;
  const char* Extension;
};

constexpr std::array<FormatEntry, 5> kFormats = {{{ExportFormat::C, "c", ".c"},
                                                  {ExportFormat::Python, "python", ".py"},
                                                  {ExportFormat::Fortran, "fortran", ".f90"},
                                                  {ExportFormat::Csv, "csv", ".csv"},
                                                  {ExportFormat::Json, "json", ".json"}}};

const FormatEntry& Entry(ExportFormat format) {
  return *std::find_if(kFormats.begin(), kFormats.end(),
                       [&](const FormatEntry& e) { return e.Format == format; });
}

}  // namespace

std::optional<ExportFormat> ParseExportFormat(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const FormatEntry& e : kFormats) {
    if (lower == e.Name) return e.Format;
  }
  return std::nullopt;
}

const char* ExportFormatName(ExportFormat format) { return Entry(format).Name; }
const char* ExportExtension(ExportFormat format) { return Entry(format).Extension; }

std::string ExportText(ExportFormat format, const ProblemModel& model, const ExportInfo& info) {
  switch (format) {
    case ExportFormat::C:
      return CSource(MakeSourcePlan(model, info, SourceLanguage::C));
    case ExportFormat::Python:
      return PythonSource(MakeSourcePlan(model, info, SourceLanguage::Python));
    case ExportFormat::Fortran:
      return FortranSource(MakeSourcePlan(model, info, SourceLanguage::Fortran));
    case ExportFormat::Csv:
      return CsvExport(model);
    case ExportFormat::Json:
      return JsonExport(model, info);
  }
  throw ExportError("Unknown export format.");
}

void WriteExport(const std::string& path, ExportFormat format, const ProblemModel& model,
                 const ExportInfo& info) {
  // The text is complete before the file is created: a refused export leaves nothing.
  const std::string text = ExportText(format, model, info);
  TemporaryFile file(path);
  file.Write(text);
  file.Close();
  file.Commit();
}

}  // namespace quon
