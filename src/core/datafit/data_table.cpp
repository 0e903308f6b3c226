#include "core/datafit/data_table.h"

#include <algorithm>
#include <string_view>

#include "core/model/variable_names.h"
#include "engine/number_text.h"

namespace quon {
namespace {

std::string JoinWithCommas(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// Reads the fields of one row into `fields` (only the mapped ones need be numbers).
void ReadRow(std::string_view line, int64_t row, const DataColumns& columns,
             const std::string& source, std::vector<double>& fields) {
  const std::vector<std::string> texts = SplitCsvFields(line);
  if (texts.size() < columns.Count) {
    FailAtField(source, row, texts.size(), "the row has fewer values than the header has names.");
  }
  if (texts.size() > columns.Count) {
    FailAtField(source, row, columns.Count, "the row has more values than the header has names.");
  }
  fields.assign(columns.Count, 0.0);
  const auto read = [&](std::size_t column, const char* what) {
    const auto value = CsvFieldNumber(texts[column]);
    if (!value) {
      FailAtField(source, row, column,
                  FieldNumberProblem(texts[column]) + " (" + std::string(what) + ").");
    }
    fields[column] = *value;
  };
  for (std::size_t column : columns.Variable) read(column, "a coordinate");
  read(columns.Value, "the value");
  if (columns.Weight) {
    read(*columns.Weight, "the weight");
    if (fields[*columns.Weight] < 0.0) {
      FailAtField(source, row, *columns.Weight,
                  "the weight " + TextForm(fields[*columns.Weight]) + " is negative.");
    }
  }
}

}  // namespace

DataColumns ColumnsFromHeader(const std::vector<std::string>& header,
                              const std::vector<std::string>& names,
                              const std::optional<std::string>& weightName,
                              const std::string& source, int64_t row) {
  std::vector<std::string> wanted = names;
  wanted.emplace_back(ValueColumnName);
  if (weightName) wanted.push_back(*weightName);
  std::vector<std::optional<std::size_t>> columnOf(wanted.size());
  for (std::size_t c = 0; c < header.size(); ++c) {
    std::size_t k = 0;
    while (k < wanted.size() && !SameVariableName(header[c], wanted[k])) ++k;
    if (k == wanted.size()) {
      FailAtField(source, row, c,
                  "\"" + header[c] + "\" is none of the columns expected (" +
                      JoinWithCommas(wanted) + ").");
    }
    if (columnOf[k]) FailAtField(source, row, c, "the column " + wanted[k] + " is there already.");
    columnOf[k] = c;
  }
  for (std::size_t k = 0; k < wanted.size(); ++k) {
    if (!columnOf[k]) {
      FailAtField(source, row, header.size(), "the header has no column " + wanted[k] + ".");
    }
  }
  DataColumns columns;
  for (std::size_t k = 0; k < names.size(); ++k) columns.Variable.push_back(*columnOf[k]);
  columns.Value = *columnOf[names.size()];
  if (weightName) columns.Weight = *columnOf[names.size() + 1];
  columns.Count = header.size();
  return columns;
}

TablePreview ReadTablePreview(const std::string& path, std::size_t rows) {
  CsvLineReader reader(path);
  std::string_view line;
  int64_t row = 0;
  if (!reader.Next(line, row)) throw PointsFileError(path + ": the table is empty.");
  TablePreview preview;
  preview.Header = SplitCsvFields(line);
  while (preview.Rows.size() < rows && reader.Next(line, row)) {
    preview.Rows.push_back(SplitCsvFields(line));
  }
  return preview;
}

std::optional<std::size_t> ColumnNamed(const std::vector<std::string>& header,
                                       const std::string& name) {
  for (std::size_t c = 0; c < header.size(); ++c) {
    if (SameVariableName(header[c], name)) return c;
  }
  return std::nullopt;
}

void DataBlock::Clear() {
  Coordinates.clear();
  Values.clear();
  Weights.clear();
  Rows.clear();
}

CsvDataSource::CsvDataSource(const std::string& path, const std::vector<std::string>& names,
                             const std::optional<std::string>& weightName)
    : reader_(path) {
  std::string_view line;
  int64_t row = 0;
  if (!reader_.Next(line, row)) {
    throw PointsFileError(path + ": the table is empty; it needs a header row naming " +
                          JoinWithCommas(names) + " and " + ValueColumnName + ".");
  }
  columns_ = ColumnsFromHeader(SplitCsvFields(line), names, weightName, path, row);
}

CsvDataSource::CsvDataSource(const std::string& path, DataColumns columns)
    : reader_(path), columns_(std::move(columns)) {
  SkipHeader();
}

void CsvDataSource::SkipHeader() {
  std::string_view line;
  int64_t row = 0;
  reader_.Next(line, row);
}

void CsvDataSource::Rewind() {
  reader_.Rewind();
  SkipHeader();
}

bool CsvDataSource::Next(DataBlock& block, std::size_t limit) {
  block.Clear();
  std::string_view line;
  int64_t row = 0;
  while (block.Size() < limit && reader_.Next(line, row)) {
    ReadRow(line, row, columns_, reader_.Path(), fields_);
    for (std::size_t column : columns_.Variable) block.Coordinates.push_back(fields_[column]);
    block.Values.push_back(fields_[columns_.Value]);
    block.Weights.push_back(columns_.Weight ? fields_[*columns_.Weight] : 1.0);
    block.Rows.push_back(row);
  }
  return block.Size() > 0;
}

bool MemoryDataSource::Next(DataBlock& block, std::size_t limit) {
  block.Clear();
  const std::size_t end = std::min(data_.Size(), next_ + limit);
  const auto nv = static_cast<std::size_t>(variables_);
  for (std::size_t i = next_; i < end; ++i) {
    block.Coordinates.insert(block.Coordinates.end(),
                             data_.Coordinates.begin() + static_cast<std::ptrdiff_t>(i * nv),
                             data_.Coordinates.begin() + static_cast<std::ptrdiff_t>((i + 1) * nv));
    block.Values.push_back(data_.Values[i]);
    block.Weights.push_back(data_.Weights.empty() ? 1.0 : data_.Weights[i]);
    block.Rows.push_back(data_.Rows.empty() ? static_cast<int64_t>(i) + 2 : data_.Rows[i]);
  }
  next_ = end;
  return block.Size() > 0;
}

}  // namespace quon
