#include "core/io/spec_item_reader.h"

#include <cmath>
#include <limits>

#include "core/io/spec_file.h"
#include "core/model/quoted_text.h"
#include "engine/number_text.h"

namespace quon {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

bool ParseNumberItem(std::string_view text, double& value) {
  if (text == "Infinity") return value = std::numeric_limits<double>::infinity(), true;
  if (text == "-Infinity") return value = -std::numeric_limits<double>::infinity(), true;
  if (text == "NaN") return value = std::numeric_limits<double>::quiet_NaN(), true;
  const DecimalReading reading = ReadDecimal(text, DecimalSyntax{true, false});
  if (reading.length == 0 || reading.length != text.size()) return false;
  value = reading.value;
  return true;
}

SpecItemReader::SpecItemReader(std::string_view text, std::string fileName)
    : text_(text), fileName_(std::move(fileName)) {}

void SpecItemReader::Fail(const std::string& problem) const {
  throw SpecFileError(fileName_ + ", line " + std::to_string(line_) + ": " + problem);
}

bool SpecItemReader::AtLineEnd() const {
  return pos_ == text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n';
}

void SpecItemReader::SkipLineEnd() {
  if (pos_ == text_.size()) return;
  if (text_[pos_] == '\r') {
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  } else if (text_[pos_] == '\n') {
    ++pos_;
  }
  ++line_;
}

SpecItemReader::Item SpecItemReader::ReadItem(std::string_view what) {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  if (pos_ == text_.size()) Fail("the file ends before " + std::string(what) + ".");
  itemLine_ = line_;
  Item item;
  if (text_[pos_] == '"') {
    item.quoted = true;
    ++pos_;
    for (;;) {
      if (pos_ == text_.size()) Fail(std::string(what) + " has no closing quote.");
      const char c = text_[pos_++];
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          item.text.push_back('"');
          ++pos_;
          continue;
        }
        break;
      }
      if (c == '\n' || (c == '\r' && (pos_ == text_.size() || text_[pos_] != '\n'))) ++line_;
      item.text.push_back(c);
    }
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    if (!AtLineEnd() && text_[pos_] != ',') {
      Fail("unexpected text after the closing quote of " + std::string(what) + ".");
    }
  } else {
    const std::size_t begin = pos_;
    while (!AtLineEnd() && text_[pos_] != ',') ++pos_;
    std::size_t end = pos_;
    while (end > begin && IsBlank(text_[end - 1])) --end;
    item.text.assign(text_.substr(begin, end - begin));
  }
  if (pos_ < text_.size() && text_[pos_] == ',') {
    ++pos_;
  } else {
    SkipLineEnd();
  }
  return item;
}

std::string SpecItemReader::ReadText(std::string_view what) { return ReadItem(what).text; }

double SpecItemReader::ReadNumber(std::string_view what) {
  const Item item = ReadItem(what);
  double value = 0.0;
  if (!ParseNumberItem(item.text, value)) {
    FailAtLastItem(std::string(what) + " is not a number: " + Quoted(item.text) + ".");
  }
  return value;
}

double SpecItemReader::ReadFiniteNumber(std::string_view what) {
  const Item item = ReadItem(what);
  double value = 0.0;
  if (!ParseNumberItem(item.text, value)) {
    FailAtLastItem(std::string(what) + " is not a number: " + Quoted(item.text) + ".");
  }
  if (!std::isfinite(value)) {
    FailAtLastItem(std::string(what) + " is not a finite number: " + Quoted(item.text) + ".");
  }
  return value;
}

void SpecItemReader::FailAtLastItem(const std::string& problem) {
  line_ = itemLine_;
  Fail(problem);
}

bool SpecItemReader::ReadBoolean(std::string_view what) {
  const int line = line_;
  const Item item = ReadItem(what);
  if (!item.quoted && EqualsIgnoringCase(item.text, "#TRUE#")) return true;
  if (!item.quoted && EqualsIgnoringCase(item.text, "#FALSE#")) return false;
  line_ = line;
  Fail(std::string(what) + " is not #TRUE# or #FALSE#: " + Quoted(item.text) + ".");
}

SpecItemReader::FlagOrName SpecItemReader::ReadFlagOrName(std::string_view what,
                                                          std::string_view name) {
  const int line = line_;
  const Item item = ReadItem(what);
  if (!item.quoted && EqualsIgnoringCase(item.text, "#TRUE#")) return FlagOrName::True;
  if (!item.quoted && EqualsIgnoringCase(item.text, "#FALSE#")) return FlagOrName::False;
  if (item.quoted && item.text == name) return FlagOrName::Name;
  line_ = line;
  Fail(std::string(what) + " is not #TRUE# or #FALSE# (nor \"" + std::string(name) +
       "\"): " + Quoted(item.text) + ".");
}

std::string SpecItemReader::ReadLine(std::string_view what) {
  if (pos_ == text_.size()) Fail("the file ends before " + std::string(what) + ".");
  const std::size_t begin = pos_;
  while (!AtLineEnd()) ++pos_;
  std::string line(text_.substr(begin, pos_ - begin));
  SkipLineEnd();
  return line;
}

void SpecItemReader::ExpectEnd(std::string_view what) {
  for (; pos_ < text_.size(); ++pos_) {
    const char c = text_[pos_];
    if (c == '\n' || (c == '\r' && (pos_ + 1 == text_.size() || text_[pos_ + 1] != '\n'))) {
      ++line_;
    } else if (!IsBlank(c) && c != '\r') {
      Fail(std::string(what));
    }
  }
}

}  // namespace quon
