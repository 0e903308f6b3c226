// What the argument readers of quonfit's modes share: the usage message, the one
// specification file among the arguments, and whole numbers in a range.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quon::cli {

// Whether `option` is one of the arguments.
bool HasOption(const std::vector<std::string>& args, const std::string& option);

// Writes "quonfit: <text> (see quonfit --help)" on `err`; returns nullopt for the reader
// to return.
std::nullopt_t UsageError(std::FILE* err, const std::string& text);

// Takes `arg`, which is none of the mode's options, as the specification file. Returns
// the usage message when it looks like an option (`mode` then follows the message: "with
// --check") or when a file was given before; nullopt when it was taken.
std::optional<std::string> TakeFileArgument(const std::string& arg, std::string& file,
                                            std::string_view mode = {});

// The message when no specification file was given; nullopt when one was.
std::optional<std::string> MissingFile(const std::string& file);

// The numbers that follow args[i] up to the next option ("--..." or "-o"), appended to
// `into` with i moved past them; false, with the text in `bad`, for another text that is
// not a number ("-inf" is a bad value, not an option).
bool TakeNumbers(const std::vector<std::string>& args, std::size_t& i, std::vector<double>& into,
                 std::string& bad);

// A whole decimal number from `least` to `most`, or nothing.
std::optional<int64_t> WholeNumberIn(const std::string& text, int64_t least, int64_t most);

}  // namespace quon::cli
