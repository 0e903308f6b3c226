// What every reader of comma-separated tables shares: splitting a line into fields, reading
// a field as a number and saying why one is none, reading a table line by line in bounded
// memory, and the one form of a message that names the row and the column of a fault.
//
// A field may be enclosed in double quotes ("" inside stands for one quote). Rows count
// the lines of the table from 1 (the header is row 1); empty lines are skipped; a line may
// end in LF, CR LF or CR alone, and a UTF-8 byte order mark before the first line is
// skipped. A field is quoted in a message as Quoted (quoted_text.h) shows it: at most 40
// characters, control bytes masked.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quon {

class PointsFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Splits one line into fields at commas outside double quotes.
std::vector<std::string> SplitCsvFields(std::string_view line);

// A finite number in the whole field apart from blanks around it, or nothing.
std::optional<double> CsvFieldNumber(std::string_view field);

// Why a field is no number, for a message: the field quoted, then "is not a number" or
// "is out of range" (1e-999, 1e999, a value that is not finite).
std::string FieldNumberProblem(std::string_view field);

// "<source>, row <row>, column <column + 1>: <what>" as a PointsFileError.
[[noreturn]] void FailAtField(const std::string& source, int64_t row, std::size_t column,
                              const std::string& what);

// The non-empty lines of a table, read a block at a time so that a table of any length
// costs a fixed amount of memory.
class CsvLineReader {
 public:
  // The file at `path`. Throws PointsFileError when it cannot be opened or is not a
  // regular file (a directory, a device such as /dev/zero).
  explicit CsvLineReader(std::string path);
  // A table held as text; `source` names it in messages.
  CsvLineReader(std::string_view text, std::string source);

  // The next non-empty line (without its line end) and its row; false at the end. The
  // view stays valid until the next call. Throws PointsFileError when the file cannot be
  // read.
  bool Next(std::string_view& line, int64_t& row);

  // Back to the first line.
  void Rewind();

  const std::string& Path() const { return path_; }

 private:
  bool Refill();

  std::string path_;
  std::unique_ptr<std::istream> in_;
  std::string buffer_;
  std::size_t start_ = 0;
  int64_t row_ = 0;
  bool atEnd_ = false;
};

}  // namespace quon
