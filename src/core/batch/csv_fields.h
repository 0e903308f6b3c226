// What every reader of comma-separated tables shares: splitting a line into fields, reading
// a field as a number, reading a file line by line in bounded memory, and the one form of
// a message that names the row and the column of a fault.
//
// A field may be enclosed in double quotes ("" inside stands for one quote). Rows count
// the lines of the file from 1 (the header is row 1); empty lines are skipped; a line may
// end in CR LF.
#pragma once

#include <cstdint>
#include <fstream>
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

// "<source>, row <row>, column <column + 1>: <what>" as a PointsFileError.
[[noreturn]] void FailAtField(const std::string& source, int64_t row, std::size_t column,
                              const std::string& what);

// The non-empty lines of a file, read a block at a time so that a table of any length
// costs a fixed amount of memory. Throws PointsFileError when the file cannot be opened
// or read.
class CsvLineReader {
 public:
  explicit CsvLineReader(std::string path);

  // The next non-empty line (without its line end) and its row; false at the end. The
  // view stays valid until the next call.
  bool Next(std::string_view& line, int64_t& row);

  // Back to the first line.
  void Rewind();

  const std::string& Path() const { return path_; }

 private:
  bool Refill();

  std::string path_;
  std::ifstream in_;
  std::string buffer_;
  std::size_t start_ = 0;
  int64_t row_ = 0;
  bool atEnd_ = false;
};

}  // namespace quon
