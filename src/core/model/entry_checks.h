// The checks the main window's entry fields run when the focus is about to leave them,
// and the texts derived from accepted entries. A refused entry keeps the focus in its
// field and changes nothing; no message is shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quon {

// The number of variables typed in txtOrder: LastVar (the number minus 1, halves rounded
// to even) when the leading number lies in (0, 4] and rounds to at least one variable;
// nothing when refused. "2.5" gives LastVar 2, "0.5" gives 0, "0.3" and "4.4" are refused.
std::optional<int32_t> AcceptVariableCount(std::string_view text);

// The list of names split at every ",", nothing trimmed; the empty text gives no names.
std::vector<std::string> SplitNames(std::string_view text);

// Why the names cannot name a problem's variables, or nothing: a name that is empty, has a
// blank or a control character at either end or holds a control character, or a name that
// the expression language takes for an earlier one (it ignores case: "x,X").
std::optional<std::string> NamesProblem(const std::vector<std::string>& names);

// The function's signature over the names: "f(x,y,z,t)"; "f()" for no names.
std::string Signature(const std::vector<std::string>& names);

// The names joined by "," as txtVarNams shows them.
std::string JoinNames(const std::vector<std::string>& names);

// A lower or upper limit: the text is a number.
bool LimitAccepted(std::string_view text);

// A number of terms: the text is a number of at least 2 ("1.99" is refused).
bool TermCountAccepted(std::string_view text);

// The function text: anything but the empty text.
bool EquationAccepted(std::string_view text);

}  // namespace quon
