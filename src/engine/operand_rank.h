// How the operators see their operands: each kind's rank in the language's order of
// promotion, and the kinds of whole and Single results (operators.h states the rules).
// Shared by the arithmetic, the whole-number division and the logical operators.
#pragma once

#include <cstdint>

#include "engine/err_num.h"
#include "engine/variant.h"

namespace quon::script {

// The width of an operand after the language's coercion, in the order in which the
// language promotes; Currency stands apart (the operators place it by their own rule).
enum class Rank { Empty, Byte, Integer, Long, Single, Double, Currency };

struct Operand {
  double number = 0.0;
  Rank rank = Rank::Integer;
};

// Booleans count as Integers, a text as the Double it reads as; 94 for Null, 13 for a
// text that is no number.
ErrNum ToOperand(const Variant& value, Operand& operand);

// A whole result of rank Byte, Integer or Long, widened along Byte, Integer, Long, Double
// until it fits.
Variant WholeResult(int64_t result, Rank rank);

// A result computed in doubles that the language keeps as a Single where it fits and
// widens to a Double where it does not; 6 for an infinity, 5 for not-a-number.
ErrNum SingleResult(double result, Variant& out);

// A Single beside anything narrower than a Long (Empty, Byte, Integer, Boolean or another
// Single) gives a Single; beside a Long a Double.
bool GivesSingle(Rank a, Rank b);

// An operand of \, Mod and the logical operators: rounded half-even to a Long (6 beyond);
// Byte rank for a Byte, Integer rank for Empty, Boolean or Integer, Long rank otherwise.
ErrNum ToWhole(const Variant& value, int32_t& number, Rank& rank);

// A bitwise result in the width of its rank.
Variant WholeOfRank(int32_t value, Rank rank);

}  // namespace quon::script
