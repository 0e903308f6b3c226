#include "core/batch/csv_fields.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/batch/variable_names.h"

namespace quon {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

}  // namespace

std::vector<std::string> SplitCsvFields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        fields.back().push_back(c);
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        fields.back().push_back('"');
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

std::optional<double> CsvFieldNumber(std::string_view field) {
  field = TrimBlanks(field);
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (field.empty() || ec != std::errc() || end != field.data() + field.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

void FailAtField(const std::string& source, int64_t row, std::size_t column,
                 const std::string& what) {
  throw PointsFileError(source + ", row " + std::to_string(row) + ", column " +
                        std::to_string(column + 1) + ": " + what);
}

CsvLineReader::CsvLineReader(std::string path) : path_(std::move(path)) {
  in_.open(path_, std::ios::binary);
  if (!in_) {
    throw PointsFileError(path_ + ": cannot open the file: " + std::strerror(errno) + ".");
  }
}

bool CsvLineReader::Refill() {
  if (atEnd_) return false;
  buffer_.erase(0, start_);
  start_ = 0;
  const std::size_t kept = buffer_.size();
  buffer_.resize(kept + kBlockBytes);
  in_.read(buffer_.data() + kept, static_cast<std::streamsize>(kBlockBytes));
  if (in_.bad()) throw PointsFileError(path_ + ": cannot read the file.");
  buffer_.resize(kept + static_cast<std::size_t>(in_.gcount()));
  if (in_.eof()) atEnd_ = true;
  return true;
}

bool CsvLineReader::Next(std::string_view& line, int64_t& row) {
  for (;;) {
    std::size_t end = buffer_.find('\n', start_);
    while (end == std::string::npos && Refill()) end = buffer_.find('\n', start_);
    if (end == std::string::npos) {
      if (start_ >= buffer_.size()) return false;
      end = buffer_.size();  // a last line without a line end
    }
    line = std::string_view(buffer_).substr(start_, end - start_);
    start_ = end + 1;
    row = ++row_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!TrimBlanks(line).empty()) return true;
  }
}

void CsvLineReader::Rewind() {
  in_.clear();
  in_.seekg(0);
  buffer_.clear();
  start_ = 0;
  row_ = 0;
  atEnd_ = false;
}

}  // namespace quon
