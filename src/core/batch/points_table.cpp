#include "core/batch/points_table.h"

#include <new>

#include "core/model/entry_checks.h"
#include "core/model/quoted_text.h"
#include "core/model/variable_names.h"

namespace quon {
namespace {

// Rows handed out at a time by ReadPointsBlocks.
constexpr int64_t kBlockRows = 1 << 16;

class Parser {
 public:
  Parser(const std::vector<std::string>& names, const std::string& source)
      : names_(names), source_(source) {}

  // Maps each column of the header to a variable.
  void Header(std::string_view line, int64_t row) {
    const std::vector<std::string> fields = SplitCsvFields(line);
    std::vector<bool> seen(names_.size(), false);
    for (std::size_t c = 0; c < fields.size(); ++c) {
      std::size_t k = 0;
      while (k < names_.size() && !SameVariableName(fields[c], names_[k])) ++k;
      if (k == names_.size()) {
        FailAtField(
            source_, row, c,
            Quoted(fields[c]) + " is not a variable of the problem (" + JoinNames(names_) + ").");
      }
      if (seen[k]) {
        FailAtField(source_, row, c, "the variable " + names_[k] + " has a column already.");
      }
      seen[k] = true;
      variableOfColumn_.push_back(k);
    }
    for (std::size_t k = 0; k < names_.size(); ++k) {
      if (!seen[k]) {
        FailAtField(source_, row, fields.size(),
                    "the header has no column for the variable " + names_[k] + ".");
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
      FailAtField(source_, row, column,
                  "the value of " + names_[variableOfColumn_[column]] + " is missing.");
    }
  }

 private:
  void Store(std::string_view field, int64_t row, std::size_t column, std::vector<double>& out,
             std::size_t base) {
    if (column >= variableOfColumn_.size()) {
      FailAtField(source_, row, column, "the row has more values than the header has names.");
    }
    const std::size_t k = variableOfColumn_[column];
    const std::optional<double> value = CsvFieldNumber(field);
    if (!value)
      FailAtField(source_, row, column, FieldNumberProblem(field) + " (" + names_[k] + ").");
    out[base + k] = *value;
  }

  const std::vector<std::string>& names_;
  const std::string& source_;
  std::vector<std::size_t> variableOfColumn_;
};

// Reads the lines of a table into blocks of points, the header first.
void ReadBlocks(CsvLineReader& reader, const std::vector<std::string>& names,
                const std::function<void(const PointsTable&)>& block) {
  Parser parser(names, reader.Path());
  PointsTable table;
  table.Variables = static_cast<int>(names.size());
  std::string_view line;
  int64_t row = 0;
  if (!reader.Next(line, row)) {
    throw PointsFileError(reader.Path() +
                          ": the file is empty; it needs a header row naming the variables (" +
                          JoinNames(names) + ").");
  }
  parser.Header(line, row);
  while (reader.Next(line, row)) {
    parser.Row(line, row, table.Coordinates);
    if (table.Rows() == kBlockRows) {
      block(table);
      table.Coordinates.clear();
    }
  }
  if (table.Rows() > 0) block(table);
}

}  // namespace

PointsTable ParsePoints(std::string_view text, const std::vector<std::string>& names,
                        const std::string& source) {
  CsvLineReader reader(text, source);
  PointsTable table;
  table.Variables = static_cast<int>(names.size());
  ReadBlocks(reader, names, [&](const PointsTable& block) {
    table.Coordinates.insert(table.Coordinates.end(), block.Coordinates.begin(),
                             block.Coordinates.end());
  });
  return table;
}

void ReadPointsBlocks(const std::string& path, const std::vector<std::string>& names,
                      const std::function<void(const PointsTable&)>& block) {
  try {
    CsvLineReader reader(path);
    ReadBlocks(reader, names, block);
  } catch (const std::bad_alloc&) {
    throw PointsFileError(path + ": the points do not fit in memory.");
  }
}

PointsTable ReadPointsFile(const std::string& path, const std::vector<std::string>& names) {
  PointsTable table;
  table.Variables = static_cast<int>(names.size());
  ReadPointsBlocks(path, names, [&](const PointsTable& block) {
    table.Coordinates.insert(table.Coordinates.end(), block.Coordinates.begin(),
                             block.Coordinates.end());
  });
  return table;
}

}  // namespace quon
