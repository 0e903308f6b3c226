// The built-ins on texts: Len, Left, Right, Mid, InStr, InStrRev, LCase, UCase, LTrim,
// RTrim, Trim, Space, String, StrComp, StrReverse, Replace, Chr and Asc, with the language's
// rules: positions count from 1; a text argument that is Null gives Null (94 for
// StrReverse, Replace and Asc, which the language does not let pass); lengths and counts
// are rounded half-even to a Long and a negative one is 5, as are a start before 1, an
// empty text for Asc and String, and a code outside 0..255 for Chr. A comparison argument
// is 0 (binary, the default) or 1 (text: letters compare without regard to case). Texts
// are bytes; no result may be longer than MaxTextLength (14). Each costs O(length).
#include <algorithm>
#include <string>
#include <string_view>

#include "engine/builtins.h"
#include "engine/conversions.h"

namespace quon::script {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// A whole-number argument: rounded half-even to a Long; 94 for Null, 5 below `least`.
ErrNum WholeArgument(const Variant& arg, int32_t least, int32_t& value) {
  if (arg.Is(Kind::Null)) return ErrNum::InvalidUseOfNull;
  if (ErrNum err = ToLong(arg, value); err != ErrNum::None) return err;
  return value < least ? ErrNum::InvalidCall : ErrNum::None;
}

// A comparison argument: false for binary (0), true for text (1).
ErrNum CompareArgument(const Variant& arg, bool& textCompare) {
  int32_t mode = 0;
  if (ErrNum err = WholeArgument(arg, 0, mode); err != ErrNum::None) return err;
  if (mode > 1) return ErrNum::InvalidCall;
  textCompare = mode == 1;
  return ErrNum::None;
}

bool Same(char a, char b, bool textCompare) { return textCompare ? Lower(a) == Lower(b) : a == b; }

// The first position at or after `from` (0-based) where `what` occurs in `text`, or npos.
size_t FindForward(std::string_view text, std::string_view what, size_t from, bool textCompare) {
  const auto found =
      std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), what.begin(),
                  what.end(), [textCompare](char a, char b) { return Same(a, b, textCompare); });
  return found == text.end() ? std::string_view::npos : static_cast<size_t>(found - text.begin());
}

// The last position where `what` ends at or before `end` (0-based, exclusive), or npos.
size_t FindBackward(std::string_view text, std::string_view what, size_t end, bool textCompare) {
  for (size_t start = end - what.size() + 1; start-- > 0;) {
    if (std::equal(what.begin(), what.end(), text.begin() + static_cast<std::ptrdiff_t>(start),
                   [textCompare](char a, char b) { return Same(a, b, textCompare); })) {
      return start;
    }
  }
  return std::string_view::npos;
}

int Order(std::string_view a, std::string_view b, bool textCompare) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(textCompare ? Lower(a[i]) : a[i]);
    const auto y = static_cast<unsigned char>(textCompare ? Lower(b[i]) : b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

class TextCall {
 public:
  TextCall(const Variant* args, uint16_t argc, StringScratch& scratch)
      : args_(args), argc_(argc), scratch_(scratch) {}

  ErrNum Run(Op op, Variant& result) {
    switch (op) {
      case Op::Len:
        return Len(result);
      case Op::Left:
      case Op::Right:
        return LeftOrRight(op == Op::Left, result);
      case Op::Mid:
        return Mid(result);
      case Op::InStr:
        return InStr(result);
      case Op::InStrRev:
        return InStrRev(result);
      case Op::StrComp:
        return StrComp(result);
      case Op::Space:
        return Repeat(args_[0], nullptr, result);
      case Op::String:
        return Repeat(args_[0], &args_[1], result);
      case Op::Replace:
        return Replace(result);
      case Op::Chr:
        return Chr(result);
      case Op::Asc:
        return Asc(result);
      default:
        return Transform(op, result);
    }
  }

 private:
  // The text of argument i; false (result set to Null) when it is Null.
  bool Text(size_t i, std::string_view& text, Variant& result) {
    if (args_[i].Is(Kind::Null)) {
      result = Variant::Null();
      return false;
    }
    text = TextOf(args_[i], buffers_[i]);
    return true;
  }

  ErrNum Give(std::string_view text, Variant& result) {
    if (text.size() > MaxTextLength) return ErrNum::OutOfStringSpace;
    std::string& out = scratch_.Next();
    out.assign(text);
    result = Variant::String(&out);
    return ErrNum::None;
  }

  ErrNum Len(Variant& result) {
    std::string_view text;
    if (!Text(0, text, result)) return ErrNum::None;
    result = Variant::Long(static_cast<int32_t>(text.size()));
    return ErrNum::None;
  }

  ErrNum LeftOrRight(bool left, Variant& result) {
    int32_t length = 0;
    if (ErrNum err = WholeArgument(args_[1], 0, length); err != ErrNum::None) return err;
    std::string_view text;
    if (!Text(0, text, result)) return ErrNum::None;
    const size_t n = std::min(text.size(), static_cast<size_t>(length));
    return Give(left ? text.substr(0, n) : text.substr(text.size() - n), result);
  }

  ErrNum Mid(Variant& result) {
    int32_t start = 0;
    int32_t length = INT32_MAX;
    if (ErrNum err = WholeArgument(args_[1], 1, start); err != ErrNum::None) return err;
    if (argc_ == 3) {
      if (ErrNum err = WholeArgument(args_[2], 0, length); err != ErrNum::None) return err;
    }
    std::string_view text;
    if (!Text(0, text, result)) return ErrNum::None;
    const size_t first = std::min(text.size(), static_cast<size_t>(start) - 1);
    return Give(text.substr(first, static_cast<size_t>(length)), result);
  }

  ErrNum InStr(Variant& result) {
    // InStr(text, what), or InStr(start, text, what[, compare]).
    const size_t shift = argc_ >= 3 ? 1 : 0;
    int32_t start = 1;
    bool textCompare = false;
    if (shift == 1) {
      if (ErrNum err = WholeArgument(args_[0], 1, start); err != ErrNum::None) return err;
    }
    if (argc_ == 4) {
      if (ErrNum err = CompareArgument(args_[3], textCompare); err != ErrNum::None) return err;
    }
    std::string_view text;
    std::string_view what;
    if (!Text(shift, text, result) || !Text(shift + 1, what, result)) return ErrNum::None;
    int32_t position = 0;
    if (!text.empty() && static_cast<size_t>(start) <= text.size()) {
      const size_t found = FindForward(text, what, static_cast<size_t>(start) - 1, textCompare);
      position = found == std::string_view::npos ? 0 : static_cast<int32_t>(found) + 1;
    }
    result = Variant::Long(position);
    return ErrNum::None;
  }

  ErrNum InStrRev(Variant& result) {
    // InStrRev(text, what[, start[, compare]]); start -1 is the end of the text.
    int32_t start = -1;
    bool textCompare = false;
    if (argc_ >= 3) {
      if (ErrNum err = WholeArgument(args_[2], -1, start); err != ErrNum::None) return err;
      if (start == 0) return ErrNum::InvalidCall;
    }
    if (argc_ == 4) {
      if (ErrNum err = CompareArgument(args_[3], textCompare); err != ErrNum::None) return err;
    }
    std::string_view text;
    std::string_view what;
    if (!Text(0, text, result) || !Text(1, what, result)) return ErrNum::None;
    const size_t end = start == -1 ? text.size() : static_cast<size_t>(start);
    int32_t position = 0;
    if (end <= text.size()) {
      if (what.empty()) {
        position = static_cast<int32_t>(end);
      } else if (what.size() <= end) {
        const size_t found = FindBackward(text, what, end, textCompare);
        position = found == std::string_view::npos ? 0 : static_cast<int32_t>(found) + 1;
      }
    }
    result = Variant::Long(position);
    return ErrNum::None;
  }

  ErrNum StrComp(Variant& result) {
    bool textCompare = false;
    if (argc_ == 3) {
      if (ErrNum err = CompareArgument(args_[2], textCompare); err != ErrNum::None) return err;
    }
    std::string_view a;
    std::string_view b;
    if (!Text(0, a, result) || !Text(1, b, result)) return ErrNum::None;
    result = Variant::Integer(static_cast<int16_t>(Order(a, b, textCompare)));
    return ErrNum::None;
  }

  // Space(count) (fill nullptr) or String(count, fill).
  ErrNum Repeat(const Variant& countArg, const Variant* fill, Variant& result) {
    if (fill != nullptr && (countArg.Is(Kind::Null) || fill->Is(Kind::Null))) {
      result = Variant::Null();
      return ErrNum::None;
    }
    int32_t count = 0;
    if (ErrNum err = WholeArgument(countArg, 0, count); err != ErrNum::None) return err;
    char c = ' ';
    if (fill != nullptr) {
      if (fill->Is(Kind::String)) {
        if (fill->text().empty()) return ErrNum::InvalidCall;
        c = fill->text()[0];
      } else {
        int32_t code = 0;
        if (ErrNum err = ToLong(*fill, code); err != ErrNum::None) return err;
        c = static_cast<char>(static_cast<uint8_t>(code & 0xFF));
      }
    }
    if (static_cast<size_t>(count) > MaxTextLength) return ErrNum::OutOfStringSpace;
    std::string& out = scratch_.Next();
    out.assign(static_cast<size_t>(count), c);
    result = Variant::String(&out);
    return ErrNum::None;
  }

  // Replace(text, find, with[, start[, count[, compare]]]): the text from `start` on, with
  // up to `count` (-1: every) occurrences of find replaced, left to right.
  ErrNum Replace(Variant& result) {
    for (size_t i = 0; i < 3; ++i) {
      if (args_[i].Is(Kind::Null)) return ErrNum::InvalidUseOfNull;
    }
    int32_t start = 1;
    int32_t count = -1;
    bool textCompare = false;
    if (argc_ >= 4) {
      if (ErrNum err = WholeArgument(args_[3], 1, start); err != ErrNum::None) return err;
    }
    if (argc_ >= 5) {
      if (ErrNum err = WholeArgument(args_[4], -1, count); err != ErrNum::None) return err;
    }
    if (argc_ == 6) {
      if (ErrNum err = CompareArgument(args_[5], textCompare); err != ErrNum::None) return err;
    }
    const std::string_view text = TextOf(args_[0], buffers_[0]);
    const std::string_view find = TextOf(args_[1], buffers_[1]);
    const std::string_view with = TextOf(args_[2], buffers_[2]);
    std::string& out = scratch_.Next();
    size_t at = std::min(text.size(), static_cast<size_t>(start) - 1);
    for (int32_t done = 0; !find.empty() && done != count; ++done) {
      const size_t found = FindForward(text, find, at, textCompare);
      if (found == std::string_view::npos) break;
      if (out.size() + (found - at) + with.size() > MaxTextLength) return ErrNum::OutOfStringSpace;
      out.append(text.substr(at, found - at)).append(with);
      at = found + find.size();
    }
    if (out.size() + (text.size() - at) > MaxTextLength) return ErrNum::OutOfStringSpace;
    out.append(text.substr(at));
    result = Variant::String(&out);
    return ErrNum::None;
  }

  ErrNum Chr(Variant& result) {
    int32_t code = 0;
    if (ErrNum err = WholeArgument(args_[0], 0, code); err != ErrNum::None) return err;
    if (code > 255) return ErrNum::InvalidCall;
    // Assigned as a count and a character: copying it from a view of a local makes GCC 12
    // warn at -O3 of an overlap that cannot happen (-Wrestrict).
    std::string& out = scratch_.Next();
    out.assign(1, static_cast<char>(static_cast<uint8_t>(code)));
    result = Variant::String(&out);
    return ErrNum::None;
  }

  ErrNum Asc(Variant& result) {
    if (args_[0].Is(Kind::Null)) return ErrNum::InvalidUseOfNull;
    const std::string_view text = TextOf(args_[0], buffers_[0]);
    if (text.empty()) return ErrNum::InvalidCall;
    result = Variant::Integer(static_cast<uint8_t>(text[0]));
    return ErrNum::None;
  }

  // LCase, UCase, LTrim, RTrim, Trim and StrReverse.
  ErrNum Transform(Op op, Variant& result) {
    if (op == Op::StrReverse && args_[0].Is(Kind::Null)) return ErrNum::InvalidUseOfNull;
    std::string_view text;
    if (!Text(0, text, result)) return ErrNum::None;
    if (op == Op::LTrim || op == Op::Trim) {
      while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    }
    if (op == Op::RTrim || op == Op::Trim) {
      while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    }
    std::string& out = scratch_.Next();
    out.assign(text);
    if (op == Op::LCase) std::transform(out.begin(), out.end(), out.begin(), Lower);
    if (op == Op::UCase) std::transform(out.begin(), out.end(), out.begin(), Upper);
    if (op == Op::StrReverse) std::reverse(out.begin(), out.end());
    result = Variant::String(&out);
    return ErrNum::None;
  }

  const Variant* args_;
  uint16_t argc_;
  StringScratch& scratch_;
  std::string buffers_[3];  // the texts of numeric arguments
};

}  // namespace

ErrNum CallTextBuiltin(Op op, const Variant* args, uint16_t argc, Variant& result,
                       StringScratch& scratch) {
  return TextCall(args, argc, scratch).Run(op, result);
}

}  // namespace quon::script
