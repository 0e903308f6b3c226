#include "core/export/source_names.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace quon {
namespace {

const std::set<std::string>& CWords() {
  static const std::set<std::string> words = {
      // Keywords of C and of C++, whose compilers also read C files.
      "auto", "break", "case", "char", "const", "continue", "default", "do", "double", "else",
      "enum", "extern", "float", "for", "goto", "if", "inline", "int", "long", "register",
      "restrict", "return", "short", "signed", "sizeof", "static", "struct", "switch", "typedef",
      "union", "unsigned", "void", "volatile", "while", "bool", "true", "false", "class", "new",
      "delete", "this", "template", "typename", "namespace", "using", "private", "public",
      "protected", "virtual", "friend", "operator", "try", "catch", "throw", "and", "or", "not",
      "xor", "and_eq", "or_eq", "not_eq", "xor_eq", "bitand", "bitor", "compl", "mutable",
      "explicit", "export", "nullptr", "constexpr", "decltype", "noexcept", "static_assert",
      "thread_local", "alignas", "alignof", "char8_t", "char16_t", "char32_t", "concept",
      "requires", "consteval", "constinit", "co_await", "co_return", "co_yield", "wchar_t",
      "dynamic_cast", "static_cast", "const_cast", "reinterpret_cast", "typeid", "asm", "main",
      // The macros and types of <math.h>.
      "INFINITY", "NAN", "math_errhandling", "fpclassify", "isfinite", "isinf", "isnan", "isnormal",
      "signbit", "isgreater", "isgreaterequal", "isless", "islessequal", "islessgreater",
      "isunordered", "float_t", "double_t", "errno", "DOMAIN", "SING", "OVERFLOW", "UNDERFLOW",
      "TLOSS", "PLOSS",
      // The C library's mathematical extensions that <math.h> declares by default.
      "j0", "j1", "jn", "y0", "y1", "yn", "gamma", "drem", "finite", "significand", "scalb",
      "exp10", "pow10", "sincos", "signgam", "matherr"};
  return words;
}

// The functions of <math.h>; each has a float ("f") and a long double ("l") twin.
const std::set<std::string>& CMathFunctions() {
  static const std::set<std::string> functions = {
      "acos",   "asin",     "atan",    "atan2",     "cos",        "sin",   "tan",       "acosh",
      "asinh",  "atanh",    "cosh",    "sinh",      "tanh",       "exp",   "exp2",      "expm1",
      "frexp",  "ilogb",    "ldexp",   "log",       "log10",      "log1p", "log2",      "logb",
      "modf",   "scalbn",   "scalbln", "cbrt",      "fabs",       "hypot", "pow",       "sqrt",
      "erf",    "erfc",     "lgamma",  "tgamma",    "ceil",       "floor", "nearbyint", "rint",
      "lrint",  "llrint",   "round",   "lround",    "llround",    "trunc", "fmod",      "remainder",
      "remquo", "copysign", "nan",     "nextafter", "nexttoward", "fdim",  "fmax",      "fmin",
      "fma"};
  return functions;
}

const std::set<std::string>& PythonWords() {
  static const std::set<std::string> words = {
      "False", "None", "True", "and", "as", "assert", "async", "await", "break", "class",
      "continue", "def", "del", "elif", "else", "except", "finally", "for", "from", "global", "if",
      "import", "in", "is", "lambda", "nonlocal", "not", "or", "pass", "raise", "return", "try",
      "while", "with", "yield",
      // What the generated code calls.
      "numpy", "math", "range", "float"};
  return words;
}

// Fortran has no reserved words; these are the intrinsics and the statement words the
// generated code writes, which a name of the same spelling would shadow or confuse.
const std::set<std::string>& FortranWords() {
  static const std::set<std::string> words = {
      "sin",      "cos",       "atan",     "mod",    "real64",    "iso_fortran_env",
      "real",     "integer",   "module",   "use",    "intrinsic", "only",
      "implicit", "none",      "private",  "public", "parameter", "contains",
      "pure",     "elemental", "function", "result", "intent",    "in",
      "do",       "end",       "if",       "then",   "else",      "data",
      "save"};
  return words;
}

bool StartsWith(const std::string& text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The standard reserves "_X..." and "__..."; <math.h> owns the M_, FP_ and HUGE_VAL
// families. No suffix frees such a name, so a parameter's gets a "v" before it.
bool HasReservedCPrefix(const std::string& name) {
  if (name.size() > 1 && name[0] == '_' &&
      (name[1] == '_' || std::isupper(static_cast<unsigned char>(name[1])))) {
    return true;
  }
  return StartsWith(name, "M_") || StartsWith(name, "FP_") || StartsWith(name, "HUGE_VAL") ||
         StartsWith(name, "MATH_");
}

bool IsCReserved(const std::string& name) {
  if (CWords().count(name) != 0 || CMathFunctions().count(name) != 0) return true;
  const char last = name.empty() ? '\0' : name.back();
  if ((last == 'f' || last == 'l') && CMathFunctions().count(name.substr(0, name.size() - 1)) != 0)
    return true;
  return HasReservedCPrefix(name);
}

// The length of the UTF-8 sequence starting at text[i] when it is valid, else 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::size_t LongestIdentifier(SourceLanguage language) {
  return language == SourceLanguage::Fortran ? 63 : 255;
}

bool IsIdentifier(const std::string& name, SourceLanguage language) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  if (name.size() > LongestIdentifier(language)) return false;
  if (language == SourceLanguage::Fortran && name[0] == '_') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

bool IsReservedName(const std::string& name, SourceLanguage language) {
  switch (language) {
    case SourceLanguage::C:
      return IsCReserved(name);
    case SourceLanguage::Python:
      return PythonWords().count(name) != 0 || (name.size() > 4 && StartsWith(name, "__") &&
                                                name.compare(name.size() - 2, 2, "__") == 0);
    case SourceLanguage::Fortran:
      return FortranWords().count(Folded(name, language)) != 0;
  }
  return false;
}

std::string Folded(const std::string& name, SourceLanguage language) {
  if (language != SourceLanguage::Fortran) return name;
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

std::string Sanitised(const std::string& name, SourceLanguage language, std::size_t room) {
  std::string text(name);
  text.erase(0, text.find_first_not_of(" \t"));
  text.erase(text.find_last_not_of(" \t") + 1);
  for (char& c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') c = '_';
  }
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0])) ||
      (language == SourceLanguage::Fortran && text[0] == '_') ||
      (language == SourceLanguage::C && HasReservedCPrefix(text))) {
    text = "v" + text;
  }
  if (text.size() > room) text.resize(room);
  return text;
}

std::string CommentSafe(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out.push_back(c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c));
      ++i;
    } else if (const std::size_t length = Utf8SequenceLength(text, i); length != 0) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      out.push_back('?');
      ++i;
    }
  }
  return out;
}

std::size_t Utf8Boundary(std::string_view text, std::size_t bytes) {
  if (bytes >= text.size()) return text.size();
  std::size_t end = bytes;
  // Never split before a continuation byte (10xxxxxx).
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end == 0 ? bytes : end;
}

}  // namespace quon
