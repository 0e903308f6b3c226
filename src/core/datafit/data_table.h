// A table of observations for a least-squares fit: comma-separated text whose first row
// names the columns, then one observation per row, read in blocks so that a table of any
// length costs a fixed amount of memory (csv_fields.h).
//
// Which column holds each variable, the value and the optional weight comes either from
// the header (quonfit: the problem's variable names, "value" and the name given for the
// weights, each once, in any order, and no other column) or from the caller (the window,
// where the user maps the columns). Every row must have as many fields as the header;
// the mapped ones must be finite numbers, a weight moreover at least 0. Every fault is a
// PointsFileError naming the row and the column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/batch/csv_fields.h"

namespace quon {

// The name of the column of observed values.
inline constexpr const char* ValueColumnName = "value";

struct DataColumns {
  std::vector<std::size_t> Variable;  // per variable in use, its column (from 0)
  std::size_t Value = 0;
  std::optional<std::size_t> Weight;
  std::size_t Count = 0;  // the fields of every row
};

// The columns named by a header row (`row` and `source` for messages). Throws PointsFileError.
DataColumns ColumnsFromHeader(const std::vector<std::string>& header,
                              const std::vector<std::string>& names,
                              const std::optional<std::string>& weightName,
                              const std::string& source, int64_t row);

// The first rows of a table as texts, for the user to see before mapping its columns.
struct TablePreview {
  std::vector<std::string> Header;
  std::vector<std::vector<std::string>> Rows;
};
// Throws PointsFileError when the file cannot be read or is empty.
TablePreview ReadTablePreview(const std::string& path, std::size_t rows);

// The column whose header names `name` (as variable names match), or none.
std::optional<std::size_t> ColumnNamed(const std::vector<std::string>& header,
                                       const std::string& name);

// Observations in the order read.
struct DataBlock {
  std::vector<double> Coordinates;  // row after row, in the order of the problem's variables
  std::vector<double> Values;
  std::vector<double> Weights;  // one per observation, 1 without a weight column
  std::vector<int64_t> Rows;    // the row of each in its file
  std::size_t Size() const { return Values.size(); }
  void Clear();
};

// Where a fit reads its observations from: as often as it needs, from the start.
class DataSource {
 public:
  virtual ~DataSource() = default;
  virtual int Variables() const = 0;
  virtual void Rewind() = 0;
  // Replaces the block's contents by the next (at most `limit`) observations; false, with
  // the block empty, at the end. Throws PointsFileError for a bad row.
  virtual bool Next(DataBlock& block, std::size_t limit) = 0;
};

// A table file. With `columns` the header row is skipped; without, it names the columns.
class CsvDataSource : public DataSource {
 public:
  CsvDataSource(const std::string& path, const std::vector<std::string>& names,
                const std::optional<std::string>& weightName);
  CsvDataSource(const std::string& path, DataColumns columns);

  int Variables() const override { return static_cast<int>(columns_.Variable.size()); }
  void Rewind() override;
  bool Next(DataBlock& block, std::size_t limit) override;

  const DataColumns& Columns() const { return columns_; }

 private:
  void SkipHeader();

  CsvLineReader reader_;
  DataColumns columns_;
  std::vector<double> fields_;
};

// Observations held in memory (tests, and tables read whole).
class MemoryDataSource : public DataSource {
 public:
  MemoryDataSource(int variables, DataBlock data) : variables_(variables), data_(std::move(data)) {}
  int Variables() const override { return variables_; }
  void Rewind() override { next_ = 0; }
  bool Next(DataBlock& block, std::size_t limit) override;

 private:
  int variables_;
  DataBlock data_;
  std::size_t next_ = 0;
};

}  // namespace quon
