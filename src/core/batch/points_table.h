// The points file: comma-separated text, a header row naming the problem's variables in
// any order (each once; blanks around a name and the letters' case do not matter), then
// one row per point. A field may be enclosed in double quotes. Empty lines are skipped;
// a line may end in LF, CR LF or CR alone, and a UTF-8 byte order mark before the header
// is skipped.
//
// Every error names the row (the line, counting the header as row 1) and the column
// (counting from 1) where it was found: a field that is not a number or is out of range,
// a row with fewer or more fields than the header, a header naming an unknown variable,
// twice the same variable, or leaving a variable out. A field is quoted in a message as
// Quoted (quoted_text.h) shows it: at most 40 characters, control bytes masked. Lines and
// fields are read as csv_fields.h reads them. Cost: one pass over the text, read from a
// file in blocks of 1 MB, so that memory holds the table (8 bytes per coordinate) but
// never the whole text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/batch/csv_fields.h"

namespace quon {

struct PointsTable {
  int Variables = 0;
  // The coordinates row after row, in the order of the problem's variables (not of the
  // file's columns).
  std::vector<double> Coordinates;
  int64_t Rows() const {
    return Variables == 0 ? 0 : static_cast<int64_t>(Coordinates.size()) / Variables;
  }
};

// `names` are the problem's variables in use; `source` names the text in messages.
// Throws PointsFileError.
PointsTable ParsePoints(std::string_view text, const std::vector<std::string>& names,
                        const std::string& source);

// Reads the file at `path` in blocks of text and hands the points of each block to `block`
// (a table of the rows read since the last call); the whole file is parsed, so an error
// may come after blocks were handed out. Throws as ReadPointsFile.
void ReadPointsBlocks(const std::string& path, const std::vector<std::string>& names,
                      const std::function<void(const PointsTable&)>& block);

// Reads the file at `path` and parses it. Throws PointsFileError, also for what is not a
// regular file (a directory, /dev/zero) and for a table larger than memory.
PointsTable ReadPointsFile(const std::string& path, const std::vector<std::string>& names);

}  // namespace quon
