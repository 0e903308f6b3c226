// Reads the items of one file of a specification pair: the next item, whether it stands on
// the same line after a "," or on the next line; or a whole line. Blanks before an item
// are skipped; a quoted item runs to its closing quote (a doubled quote inside stands for
// one quote); an unquoted item runs to the next "," or the end of the line, trailing
// blanks dropped. Lines end in CR LF, LF or CR.
//
// Every failure throws a SpecFileError that names the file, the line and the item.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quon {

class SpecItemReader {
 public:
  SpecItemReader(std::string_view text, std::string fileName);

  // `what` names the item in messages ("the lower limit of variable 2").
  std::string ReadText(std::string_view what);
  double ReadNumber(std::string_view what);
  bool ReadBoolean(std::string_view what);
  // A number that must be finite (a limit): "NaN", "Infinity" and a decimal beyond the
  // largest double are refused.
  double ReadFiniteNumber(std::string_view what);
  // An item that is either a flag (#TRUE# or #FALSE#, unquoted) or the quoted text `name`.
  enum class FlagOrName { True, False, Name };
  FlagOrName ReadFlagOrName(std::string_view what, std::string_view name);
  // The rest of the current line, without its line end; at the end of the file the text
  // must not be empty there.
  std::string ReadLine(std::string_view what);

  // Refuses anything but blanks and line ends after the last item.
  void ExpectEnd(std::string_view what);

  // Bytes not read yet: an upper bound of the items left.
  std::size_t Remaining() const { return text_.size() - pos_; }

  // Throws a SpecFileError for the current line.
  [[noreturn]] void Fail(const std::string& problem) const;
  // Throws a SpecFileError for the line where the last item read began.
  [[noreturn]] void FailAtLastItem(const std::string& problem);

 private:
  struct Item {
    std::string text;
    bool quoted = false;
  };
  Item ReadItem(std::string_view what);
  bool AtLineEnd() const;
  void SkipLineEnd();

  std::string_view text_;
  std::string fileName_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int itemLine_ = 1;
};

// The value of a number item as the writer spells it: an optional sign, digits with at most
// one point (with or without a digit before it), an optional exponent (E or e, an optional
// sign, digits); or "Infinity", "-Infinity", "NaN". False for anything else. The program's
// one range rule applies (number_text.h): the largest double's text form reads as the
// largest double, a decimal beyond it as an infinity of its sign, a tiny one as zero.
bool ParseNumberItem(std::string_view text, double& value);

}  // namespace quon
