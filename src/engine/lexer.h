// Splits a text of the language into tokens: numbers (typed as the language types its
// literals), texts in double quotes with "" for a quote, names, operators, the keyword
// operators and literals, and statement ends (":" and line feeds). "'" and, at the start
// of a statement, Rem begin a comment that runs to the end of the line. Linear in the
// length of the text; a character that cannot start a token is a syntax error that names
// it and its position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/err_num.h"
#include "engine/variant.h"

namespace quon::script {

enum class Tok : uint8_t {
  End,           // end of the text
  StatementEnd,  // ":" or a line feed
  Literal,       // a number, True, False, Empty or Null: Token::literal
  Text,          // "..." (Token::text is the source including the quotes)
  Name,
  Reserved,  // a word of the language that is no name and no operator here
  Plus,
  Minus,
  Star,
  Slash,
  Backslash,
  Caret,
  Ampersand,
  Eq,
  Ne,
  Lt,
  Gt,
  Le,
  Ge,
  LParen,
  RParen,
  Comma,
  Dot,
  Mod,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
  Not,
};

struct Token {
  Tok type = Tok::End;
  uint32_t pos = 0;       // offset of the first character in the source
  std::string_view text;  // the token's characters in the source
  Variant literal;        // Tok::Literal only
};

// The characters the language skips between tokens.
inline constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Longest name the language accepts.
inline constexpr size_t MaxNameLength = 255;

// Throws ScriptError (1002) for an invalid character, number, name or text.
std::vector<Token> Lex(std::string_view source);

// "Syntax error at character 6: expected ')' instead of the end of the text (in "sin(x")".
ScriptError SyntaxError(std::string_view source, size_t pos, std::string_view what);

// How a token is named in a description: "the end of the text", "'x'", "the reserved
// word 'rem'".
std::string DescribeToken(const Token& token);

// True when `word` (any case) is one of the language's reserved words.
bool IsReservedWord(std::string_view word);

}  // namespace quon::script
