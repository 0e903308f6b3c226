#include "core/batch/points_table.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

#include "core/batch/csv_fields.h"
#include "core/batch/variable_names.h"
#include "core/model/entry_checks.h"

namespace quon {
namespace {

class Parser {
 public:
  Parser(const std::vector<std::string>& names, const std::string& source)
      : names_(names), source_(source) {}

  [[noreturn]] void Fail(int64_t row, std::size_t column, const std::string& what) const {
    FailAtField(source_, row, column, what);
  }

  // Maps each column of the header to a variable.
  void Header(std::string_view line, int64_t row) {
    const std::vector<std::string> fields = SplitCsvFields(line);
    std::vector<bool> seen(names_.size(), false);
    for (std::size_t c = 0; c < fields.size(); ++c) {
      std::size_t k = 0;
      while (k < names_.size() && !SameVariableName(fields[c], names_[k])) ++k;
      if (k == names_.size()) {
        Fail(row, c,
             "\"" + fields[c] + "\" is not a variable of the problem (" + JoinNames(names_) + ").");
      }
      if (seen[k]) Fail(row, c, "the variable " + names_[k] + " has a column already.");
      seen[k] = true;
      variableOfColumn_.push_back(k);
    }
    for (std::size_t k = 0; k < names_.size(); ++k) {
      if (!seen[k]) {
        Fail(row, fields.size(), "the header has no column for the variable " + names_[k] + ".");
      }
    }
  }

  void Row(std::string_view line, int64_t row, std::vector<double>& out) {
    const std::size_t base = out.size();
    out.resize(base + names_.size());
    std::size_t column = 0;
    // The common case, a plain line without quotes, is split without copying.
    if (line.find('"') == std::string_view::npos) {
      std::size_t start = 0;
      for (;;) {
        const std::size_t comma = line.find(',', start);
        const std::string_view field = line.substr(
            start, comma == std::string_view::npos ? line.size() - start : comma - start);
        Store(field, row, column++, out, base);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
    } else {
      for (const std::string& field : SplitCsvFields(line)) Store(field, row, column++, out, base);
    }
    if (column < variableOfColumn_.size()) {
      Fail(row, column, "the value of " + names_[variableOfColumn_[column]] + " is missing.");
    }
  }

 private:
  void Store(std::string_view field, int64_t row, std::size_t column, std::vector<double>& out,
             std::size_t base) {
    if (column >= variableOfColumn_.size()) {
      Fail(row, column, "the row has more values than the header has names.");
    }
    const std::size_t k = variableOfColumn_[column];
    const std::optional<double> value = CsvFieldNumber(field);
    if (!value) {
      Fail(row, column,
           "\"" + std::string(TrimBlanks(field)) + "\" is not a number (" + names_[k] + ").");
    }
    out[base + k] = *value;
  }

  const std::vector<std::string>& names_;
  const std::string& source_;
  std::vector<std::size_t> variableOfColumn_;
};

}  // namespace

PointsTable ParsePoints(std::string_view text, const std::vector<std::string>& names,
                        const std::string& source) {
  Parser parser(names, source);
  PointsTable table;
  table.Variables = static_cast<int>(names.size());
  bool haveHeader = false;
  int64_t row = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++row;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (TrimBlanks(line).empty()) continue;
    if (!haveHeader) {
      parser.Header(line, row);
      haveHeader = true;
    } else {
      parser.Row(line, row, table.Coordinates);
    }
  }
  if (!haveHeader) {
    throw PointsFileError(source +
                          ": the file is empty; it needs a header row naming the "
                          "variables (" +
                          JoinNames(names) + ").");
  }
  return table;
}

PointsTable ReadPointsFile(const std::string& path, const std::vector<std::string>& names) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw PointsFileError(path + ": cannot open the file: " + std::strerror(errno) + ".");
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw PointsFileError(path + ": cannot read the file.");
  return ParsePoints(text, names, path);
}

}  // namespace quon
