// The points file: comma-separated text, a header row naming the problem's variables in
// any order (each once; blanks around a name and the letters' case do not matter), then
// one row per point. A field may be enclosed in double quotes. Empty lines are skipped;
// a line may end in CR LF.
//
// Every error names the row (the line, counting the header as row 1) and the column
// (counting from 1) where it was found: a field that is not a finite number, a row with
// fewer or more fields than the header, a header naming an unknown variable, twice the
// same variable, or leaving a variable out. Cost: one pass over the text.
#pragma once

#include <cstdint>
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

// Reads the file at `path` and parses it. Throws PointsFileError.
PointsTable ReadPointsFile(const std::string& path, const std::vector<std::string>& names);

}  // namespace quon
