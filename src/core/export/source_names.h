// The names and texts a source export writes, made safe for its language whatever the
// problem holds.
//
// A name the generated code cannot use as given is one that is not an identifier of the
// language, or that the language or its standard headers already use: C's keywords, the
// functions and macros of <math.h> (INFINITY, NAN, exp, isnan, M_PI ...) and the names the
// standard reserves (a leading "_" with a capital or a second "_", as in _Generic and
// __func__); Python's keywords, the built-ins the code calls and the dunder names
// (__debug__ cannot even be assigned); Fortran's intrinsics and statement words that the
// code uses (mod, real, sin ...), compared without case.
//
// A comment or header text keeps its printable characters and valid UTF-8 sequences; every
// control character (CR, LF, NUL, ...) and every byte that is not part of a valid UTF-8
// sequence becomes "?", so that no text can end a comment early or make the file unreadable
// for the compiler.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quon {

enum class SourceLanguage { C, Python, Fortran };

// The language's longest identifier that the export writes (Fortran: 63 characters).
std::size_t LongestIdentifier(SourceLanguage language);

// Whether `name` is an identifier of the language at all.
bool IsIdentifier(const std::string& name, SourceLanguage language);

// Whether the language, its headers or its standard library already use `name` (compared
// as the language compares names).
bool IsReservedName(const std::string& name, SourceLanguage language);

// The name as the language compares names: Fortran ignores case.
std::string Folded(const std::string& name, SourceLanguage language);

// `name` turned into an identifier: blanks around it dropped, any other character that an
// identifier cannot hold as "_", a leading digit (or Fortran's leading "_") after a "v",
// and at most `room` characters.
std::string Sanitised(const std::string& name, SourceLanguage language, std::size_t room);

// The text with every control character and every byte outside a valid UTF-8 sequence
// replaced by "?".
std::string CommentSafe(std::string_view text);

// The longest prefix of `text` of at most `bytes` bytes that does not end inside a UTF-8
// sequence (used to split long comment lines).
std::size_t Utf8Boundary(std::string_view text, std::size_t bytes);

}  // namespace quon
