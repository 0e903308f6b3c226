#include "core/batch/csv_fields.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/model/quoted_text.h"
#include "core/model/variable_names.h"

namespace quon {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct FieldReading {
  std::optional<double> value;
  const char* problem = "is not a number";
};

FieldReading ReadField(std::string_view field) {
  field = TrimBlanks(field);
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (field.empty() || end != field.data() + field.size()) return {};
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && !std::isfinite(value))) {
    return {std::nullopt, "is out of range"};
  }
  if (ec != std::errc()) return {};
  return {value};
}

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

std::optional<double> CsvFieldNumber(std::string_view field) { return ReadField(field).value; }

std::string FieldNumberProblem(std::string_view field) {
  return Quoted(TrimBlanks(field)) + " " + ReadField(field).problem;
}

void FailAtField(const std::string& source, int64_t row, std::size_t column,
                 const std::string& what) {
  throw PointsFileError(source + ", row " + std::to_string(row) + ", column " +
                        std::to_string(column + 1) + ": " + what);
}

CsvLineReader::CsvLineReader(std::string path) : path_(std::move(path)) {
  auto file = std::make_unique<std::ifstream>(path_, std::ios::binary);
  if (!*file) {
    throw PointsFileError(path_ + ": cannot open the file: " + std::strerror(errno) + ".");
  }
  // A directory, a device or a FIFO has no end to read to (/dev/zero) or no text at all.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path_, error)) {
    throw PointsFileError(path_ + ": not a regular file.");
  }
  in_ = std::move(file);
}

CsvLineReader::CsvLineReader(std::string_view text, std::string source)
    : path_(std::move(source)), in_(std::make_unique<std::istringstream>(std::string(text))) {}

bool CsvLineReader::Refill() {
  if (atEnd_) return false;
  buffer_.erase(0, start_);
  start_ = 0;
  const std::size_t kept = buffer_.size();
  buffer_.resize(kept + kBlockBytes);
  in_->read(buffer_.data() + kept, static_cast<std::streamsize>(kBlockBytes));
  if (in_->bad()) throw PointsFileError(path_ + ": cannot read the file.");
  buffer_.resize(kept + static_cast<std::size_t>(in_->gcount()));
  if (in_->eof()) atEnd_ = true;
  return true;
}

bool CsvLineReader::Next(std::string_view& line, int64_t& row) {
  for (;;) {
    // A CR that ends what has been read may be the first half of a CR LF.
    const auto lineEnd = [&] {
      const std::size_t end = buffer_.find_first_of("\r\n", start_);
      const bool open = end == std::string::npos ||
                        (end + 1 == buffer_.size() && buffer_[end] == '\r' && !atEnd_);
      return open ? std::string::npos : end;
    };
    std::size_t end = lineEnd();
    while (end == std::string::npos && Refill()) end = lineEnd();
    if (end == std::string::npos) {
      if (start_ >= buffer_.size()) return false;
      end = buffer_.size();  // a last line without a line end
    }
    line = std::string_view(buffer_).substr(start_, end - start_);
    start_ = end + 1;
    if (end < buffer_.size() && buffer_[end] == '\r' && start_ < buffer_.size() &&
        buffer_[start_] == '\n') {
      ++start_;
    }
    row = ++row_;
    if (row_ == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    if (!TrimBlanks(line).empty()) return true;
  }
}

void CsvLineReader::Rewind() {
  in_->clear();
  in_->seekg(0);
  buffer_.clear();
  start_ = 0;
  row_ = 0;
  atEnd_ = false;
}

}  // namespace quon
