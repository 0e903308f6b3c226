// The language's intrinsic constants (vbCr, vbTrue, vbObjectError, the VarType values, the
// colours, ...), looked up by name in any case. Each has the subtype the language gives
// it: the texts are Strings, numbers up to 32767 in magnitude Integers, larger ones Longs.
// A constant cannot be assigned (501).
#pragma once

#include <string_view>

#include "engine/variant.h"

namespace quon::script {

// The constant's value, or nullptr when `name` is none; the value (and its text) lives as
// long as the program.
const Variant* FindNamedConstant(std::string_view name);

}  // namespace quon::script
