#include "engine/lexer.h"

#include <algorithm>
#include <array>

#include "engine/conversions.h"
#include "engine/number_text.h"

namespace quon::script {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

struct Keyword {
  std::string_view word;
  Tok type;
};

constexpr std::array kKeywords = {
    Keyword{"mod", Tok::Mod},       Keyword{"and", Tok::And},      Keyword{"or", Tok::Or},
    Keyword{"xor", Tok::Xor},       Keyword{"eqv", Tok::Eqv},      Keyword{"imp", Tok::Imp},
    Keyword{"not", Tok::Not},       Keyword{"true", Tok::Literal}, Keyword{"false", Tok::Literal},
    Keyword{"empty", Tok::Literal}, Keyword{"null", Tok::Literal},
};

// Words that start or belong to statements of the full language: never names.
constexpr std::array<std::string_view, 46> kReserved = {
    "call",   "case",   "class",    "const",     "dim",     "do",       "each", "else",
    "elseif", "end",    "erase",    "exit",      "for",     "function", "goto", "if",
    "in",     "is",     "let",      "loop",      "me",      "new",      "next", "nothing",
    "on",     "option", "preserve", "private",   "public",  "redim",    "rem",  "select",
    "set",    "stop",   "sub",      "then",      "to",      "until",    "wend", "while",
    "with",   "byval",  "byref",    "randomize", "default", "typeof",
};

bool EqualsLower(std::string_view word, std::string_view lower) {
  if (word.size() != lower.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(word[i]) != lower[i]) return false;
  }
  return true;
}

std::string Excerpt(std::string_view source, size_t pos) {
  constexpr size_t kWidth = 50;
  size_t first = 0;
  size_t last = source.size();
  if (source.size() > kWidth) {
    first = pos > kWidth / 2 ? std::min(pos - kWidth / 2, source.size() - kWidth) : 0;
    last = first + kWidth;
  }
  std::string excerpt = first > 0 ? "..." : "";
  for (size_t i = first; i < last; ++i) {
    const auto c = static_cast<unsigned char>(source[i]);
    excerpt += (c < 0x20 || c >= 0x7F) ? '?' : static_cast<char>(c);
  }
  if (last < source.size()) excerpt += "...";
  return excerpt;
}

class Lexer {
 public:
  explicit Lexer(std::string_view source) : source_(source) {}

  std::vector<Token> Run() {
    std::vector<Token> tokens;
    while (true) {
      SkipBlanks();
      if (pos_ >= source_.size()) break;
      const char c = source_[pos_];
      if (c == '\'') {
        SkipComment();
        continue;
      }
      Token token = Next(c);
      if (token.type == Tok::Reserved && EqualsLower(token.text, "rem") &&
          AtStatementStart(tokens)) {
        SkipComment();
        continue;
      }
      tokens.push_back(token);
    }
    tokens.push_back(Token{Tok::End, static_cast<uint32_t>(source_.size()), {}, {}});
    return tokens;
  }

 private:
  static bool AtStatementStart(const std::vector<Token>& tokens) {
    return tokens.empty() || tokens.back().type == Tok::StatementEnd;
  }

  void SkipBlanks() {
    while (pos_ < source_.size()) {
      const char c = source_[pos_];
      if (IsBlank(c)) {
        ++pos_;
      } else if (c == '_' && ContinuesLine()) {
        while (source_[pos_] != '\n') ++pos_;
        ++pos_;
      } else {
        break;
      }
    }
  }

  // "_" followed by blanks and a line feed joins two lines.
  bool ContinuesLine() const {
    size_t i = pos_ + 1;
    while (i < source_.size() && IsBlank(source_[i])) ++i;
    return i < source_.size() && source_[i] == '\n';
  }

  void SkipComment() {
    while (pos_ < source_.size() && source_[pos_] != '\n') ++pos_;
  }

  Token Make(Tok type, size_t start) const {
    return Token{type, static_cast<uint32_t>(start), source_.substr(start, pos_ - start), {}};
  }

  Token Next(char c) {
    const size_t start = pos_;
    if (IsDigit(c) || (c == '.' && pos_ + 1 < source_.size() && IsDigit(source_[pos_ + 1]))) {
      return Number(start);
    }
    if (IsLetter(c)) return Word(start);
    if (c == '"') return Text(start);
    if (c == '&' && StartsRadix()) return Radix(start);
    ++pos_;
    switch (c) {
      case '\n':
      case ':':
        return Make(Tok::StatementEnd, start);
      case '+':
        return Make(Tok::Plus, start);
      case '-':
        return Make(Tok::Minus, start);
      case '*':
        return Make(Tok::Star, start);
      case '/':
        return Make(Tok::Slash, start);
      case '\\':
        return Make(Tok::Backslash, start);
      case '^':
        return Make(Tok::Caret, start);
      case '&':
        return Make(Tok::Ampersand, start);
      case '=':
        // "=>" and "=<" are other spellings of ">=" and "<=".
        if (pos_ < source_.size() && source_[pos_] == '>') return ++pos_, Make(Tok::Ge, start);
        if (pos_ < source_.size() && source_[pos_] == '<') return ++pos_, Make(Tok::Le, start);
        return Make(Tok::Eq, start);
      case '(':
        return Make(Tok::LParen, start);
      case ')':
        return Make(Tok::RParen, start);
      case ',':
        return Make(Tok::Comma, start);
      case '.':
        return Make(Tok::Dot, start);
      case '<':
        if (pos_ < source_.size() && source_[pos_] == '>') return ++pos_, Make(Tok::Ne, start);
        if (pos_ < source_.size() && source_[pos_] == '=') return ++pos_, Make(Tok::Le, start);
        return Make(Tok::Lt, start);
      case '>':
        if (pos_ < source_.size() && source_[pos_] == '=') return ++pos_, Make(Tok::Ge, start);
        if (pos_ < source_.size() && source_[pos_] == '<') return ++pos_, Make(Tok::Ne, start);
        return Make(Tok::Gt, start);
      default:
        break;
    }
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) {
      throw SyntaxError(source_, start,
                        "a control character (code " + std::to_string(code) + ") is not allowed");
    }
    if (code >= 0x80) throw SyntaxError(source_, start, "only ASCII characters are allowed");
    throw SyntaxError(source_, start, std::string("the character '") + c + "' is not allowed");
  }

  Token Number(size_t start) {
    while (pos_ < source_.size() && IsDigit(source_[pos_])) ++pos_;
    if (pos_ < source_.size() && source_[pos_] == '.') {
      ++pos_;
      while (pos_ < source_.size() && IsDigit(source_[pos_])) ++pos_;
    }
    if (pos_ < source_.size() && Lower(source_[pos_]) == 'e') {
      ++pos_;
      if (pos_ < source_.size() && (source_[pos_] == '+' || source_[pos_] == '-')) ++pos_;
      while (pos_ < source_.size() && IsDigit(source_[pos_])) ++pos_;
    }
    Token token = Make(Tok::Literal, start);
    if (!DecimalLiteral(token.text, token.literal)) {
      throw SyntaxError(source_, start,
                        "invalid number '" + std::string(token.text.substr(0, 40)) + "'");
    }
    return token;
  }

  // "&H" or "&O" with a digit of its radix after it; anything else after "&" is the
  // concatenation operator ("x" &hi joins "x" and the variable hi).
  bool StartsRadix() const { return ReadRadix(source_.substr(pos_, 3)).length > 0; }

  Token Radix(size_t start) {
    const RadixReading reading = ReadRadix(source_.substr(pos_));
    pos_ += reading.length;
    Token token = Make(Tok::Literal, start);
    // A letter or digit that does not continue the literal makes it invalid (&H1G,
    // &O19, a value wider than 32 bits).
    if (reading.wider32 || (pos_ < source_.size() && IsNameChar(source_[pos_]))) {
      while (pos_ < source_.size() && IsNameChar(source_[pos_])) ++pos_;
      token = Make(Tok::Literal, start);
      throw SyntaxError(source_, start,
                        "invalid number '" + std::string(token.text.substr(0, 40)) + "'");
    }
    token.literal = SmallestWhole(reading.value);
    return token;
  }

  Token Word(size_t start) {
    while (pos_ < source_.size() && IsNameChar(source_[pos_])) ++pos_;
    Token token = Make(Tok::Name, start);
    if (token.text.size() > MaxNameLength) {
      throw SyntaxError(source_, start,
                        "a name is longer than " + std::to_string(MaxNameLength) + " characters");
    }
    for (const Keyword& keyword : kKeywords) {
      if (!EqualsLower(token.text, keyword.word)) continue;
      token.type = keyword.type;
      if (keyword.word == "true") token.literal = Variant::Boolean(true);
      if (keyword.word == "false") token.literal = Variant::Boolean(false);
      if (keyword.word == "null") token.literal = Variant::Null();
      return token;
    }
    if (IsReservedWord(token.text)) token.type = Tok::Reserved;
    return token;
  }

  Token Text(size_t start) {
    ++pos_;
    while (true) {
      if (pos_ >= source_.size() || source_[pos_] == '\n') {
        throw SyntaxError(source_, start, "a text in quotes has no closing quote");
      }
      if (source_[pos_] == '"') {
        if (pos_ + 1 < source_.size() && source_[pos_ + 1] == '"') {
          pos_ += 2;
          continue;
        }
        ++pos_;
        return Make(Tok::Text, start);
      }
      ++pos_;
    }
  }

  std::string_view source_;
  size_t pos_ = 0;
};

}  // namespace

bool IsReservedWord(std::string_view word) {
  return std::any_of(kReserved.begin(), kReserved.end(),
                     [word](std::string_view r) { return EqualsLower(word, r); });
}

std::vector<Token> Lex(std::string_view source) { return Lexer(source).Run(); }

ScriptError SyntaxError(std::string_view source, size_t pos, std::string_view what) {
  return ScriptError(ErrNum::SyntaxError,
                     "Syntax error at character " + std::to_string(pos + 1) + ": " +
                         std::string(what) + " (in \"" + Excerpt(source, pos) + "\")",
                     static_cast<int32_t>(pos));
}

std::string DescribeToken(const Token& token) {
  switch (token.type) {
    case Tok::End:
      return "the end of the text";
    case Tok::StatementEnd:
      return token.text == ":" ? "':'" : "the end of the line";
    case Tok::Reserved:
      return "the reserved word '" + std::string(token.text) + "'";
    default:
      break;
  }
  const std::string_view shown = token.text.substr(0, 40);
  std::string described = "'";
  described += shown;
  described += shown.size() < token.text.size() ? "...'" : "'";
  return described;
}

}  // namespace quon::script
