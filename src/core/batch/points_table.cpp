#include "core/batch/points_table.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "core/model/entry_checks.h"
#include "core/model/quoted_text.h"
#include "core/model/variable_names.h"

namespace quon {
namespace {

// Splits one line into fields at commas outside double quotes; a quoted field loses its
// quotes and "" inside it stands for one quote.
std::vector<std::string> SplitFields(std::string_view line) {
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

// A finite number in the whole field apart from blanks around it; else why not.
struct FieldReading {
  std::optional<double> value;
  const char* problem = "is not a number";
};

FieldReading FieldNumber(std::string_view field) {
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

// Calls `line` for every whole line of `text` (ended by LF, CR LF or CR alone, or by the
// end of the text when `last`); returns the bytes used. A CR at the end of a block that
// is not the last waits for the next block, which may start with its LF.
template <typename OnLine>
std::size_t ForEachLine(std::string_view text, bool last, OnLine&& line) {
  std::size_t begin = 0;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos || (end + 1 == text.size() && text[end] == '\r' && !last)) {
      if (last && begin < text.size()) {
        line(text.substr(begin));
        return text.size();
      }
      return begin;
    }
    line(text.substr(begin, end - begin));
    begin = end + 1;
    if (text[end] == '\r' && begin < text.size() && text[begin] == '\n') ++begin;
  }
}

class Parser {
 public:
  Parser(const std::vector<std::string>& names, const std::string& source)
      : names_(names), source_(source) {}

  [[noreturn]] void Fail(int64_t row, std::size_t column, const std::string& what) const {
    throw PointsFileError(source_ + ", row " + std::to_string(row) + ", column " +
                          std::to_string(column + 1) + ": " + what);
  }

  // Maps each column of the header to a variable.
  void Header(std::string_view line, int64_t row) {
    const std::vector<std::string> fields = SplitFields(line);
    std::vector<bool> seen(names_.size(), false);
    for (std::size_t c = 0; c < fields.size(); ++c) {
      std::size_t k = 0;
      while (k < names_.size() && !SameVariableName(fields[c], names_[k])) ++k;
      if (k == names_.size()) {
        Fail(row, c,
             Quoted(fields[c]) + " is not a variable of the problem (" + JoinNames(names_) + ").");
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
      for (const std::string& field : SplitFields(line)) Store(field, row, column++, out, base);
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
    const FieldReading reading = FieldNumber(field);
    if (!reading.value) {
      Fail(row, column,
           Quoted(TrimBlanks(field)) + " " + reading.problem + " (" + names_[k] + ").");
    }
    out[base + k] = *reading.value;
  }

  const std::vector<std::string>& names_;
  const std::string& source_;
  std::vector<std::size_t> variableOfColumn_;
};

// Feeds the lines of a points text to the parser, in as many blocks as the text comes in.
class PointsReader {
 public:
  PointsReader(const std::vector<std::string>& names, const std::string& source)
      : parser_(names, source), names_(names), source_(source) {
    table_.Variables = static_cast<int>(names.size());
  }

  // Returns the bytes of `text` used; the rest must come again with the next block.
  std::size_t Feed(std::string_view text, bool last) {
    return ForEachLine(text, last, [&](std::string_view line) {
      ++row_;
      // A byte order mark may open the file; it is no part of the first name.
      if (row_ == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
      if (TrimBlanks(line).empty()) return;
      if (!haveHeader_) {
        parser_.Header(line, row_);
        haveHeader_ = true;
      } else {
        parser_.Row(line, row_, table_.Coordinates);
      }
    });
  }

  // The rows read since the last call.
  PointsTable& Table() { return table_; }

  PointsTable Finish() {
    if (!haveHeader_) {
      throw PointsFileError(source_ +
                            ": the file is empty; it needs a header row naming the "
                            "variables (" +
                            JoinNames(names_) + ").");
    }
    return std::move(table_);
  }

 private:
  Parser parser_;
  const std::vector<std::string>& names_;
  const std::string& source_;
  PointsTable table_;
  bool haveHeader_ = false;
  int64_t row_ = 0;
};

}  // namespace

PointsTable ParsePoints(std::string_view text, const std::vector<std::string>& names,
                        const std::string& source) {
  PointsReader reader(names, source);
  reader.Feed(text, true);
  return reader.Finish();
}

void ReadPointsBlocks(const std::string& path, const std::vector<std::string>& names,
                      const std::function<void(const PointsTable&)>& block) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    throw PointsFileError(path + ": cannot open the file: " + std::strerror(errno) + ".");
  }
  // A directory, a device or a FIFO has no end to read to (/dev/zero) or no text at all.
  struct stat status {};
  if (::fstat(::fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
    throw PointsFileError(path + ": not a regular file.");
  }
  try {
    PointsReader reader(names, path);
    std::string text;
    std::size_t kept = 0;
    for (;;) {
      text.resize(kept + (1 << 20));
      const std::size_t n = std::fread(text.data() + kept, 1, text.size() - kept, file.get());
      if (std::ferror(file.get())) {
        throw PointsFileError(path + ": cannot read the file: " + std::strerror(errno) + ".");
      }
      const bool last = n == 0;
      const std::size_t size = kept + n;
      const std::size_t used = reader.Feed(std::string_view(text.data(), size), last);
      if (reader.Table().Rows() > 0) {
        block(reader.Table());
        reader.Table().Coordinates.clear();
      }
      if (last) break;
      text.erase(0, used);
      kept = size - used;
    }
    reader.Finish();
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
