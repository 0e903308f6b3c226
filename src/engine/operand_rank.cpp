#include "engine/operand_rank.h"

#include <algorithm>

#include "engine/conversions.h"
#include "engine/real_arithmetic.h"

namespace quon::script {

ErrNum ToOperand(const Variant& value, Operand& operand) {
  switch (value.kind()) {
    case Kind::Empty:
      operand = {0.0, Rank::Empty};
      return ErrNum::None;
    case Kind::Byte:
      operand = {value.number(), Rank::Byte};
      return ErrNum::None;
    case Kind::Boolean:
    case Kind::Integer:
      operand = {value.number(), Rank::Integer};
      return ErrNum::None;
    case Kind::Long:
      operand = {value.number(), Rank::Long};
      return ErrNum::None;
    case Kind::Single:
      operand = {value.number(), Rank::Single};
      return ErrNum::None;
    case Kind::Double:
      operand = {value.number(), Rank::Double};
      return ErrNum::None;
    case Kind::Currency:
      operand = {value.number(), Rank::Currency};
      return ErrNum::None;
    case Kind::String:
      operand.rank = Rank::Double;
      return ParseNumericText(value.text(), operand.number);
    case Kind::Null:
      break;
  }
  return ErrNum::InvalidUseOfNull;
}

Variant WholeResult(int64_t result, Rank rank) {
  if (rank == Rank::Byte && result >= 0 && result <= 255) {
    return Variant::Byte(static_cast<uint8_t>(result));
  }
  if (rank <= Rank::Integer && result >= -32768 && result <= 32767) {
    return Variant::Integer(static_cast<int16_t>(result));
  }
  if (result >= INT32_MIN && result <= INT32_MAX) {
    return Variant::Long(static_cast<int32_t>(result));
  }
  return Variant::Double(static_cast<double>(result));
}

ErrNum SingleResult(double result, Variant& out) {
  const ErrNum err = real::ResultFailure(result);
  if (err == ErrNum::None) out = SingleOrWider(result);
  return err;
}

bool GivesSingle(Rank a, Rank b) {
  return std::max(a, b) == Rank::Single && std::min(a, b) != Rank::Long;
}

ErrNum ToWhole(const Variant& value, int32_t& number, Rank& rank) {
  Operand operand;
  if (ErrNum err = ToOperand(value, operand); err != ErrNum::None) return err;
  rank = operand.rank == Rank::Byte      ? Rank::Byte
         : operand.rank <= Rank::Integer ? Rank::Integer
                                         : Rank::Long;
  return RoundToRange(operand.number, -2147483648.0, 2147483647.0, number);
}

Variant WholeOfRank(int32_t value, Rank rank) {
  if (rank == Rank::Byte) return Variant::Byte(static_cast<uint8_t>(value));
  return rank == Rank::Integer ? Variant::Integer(static_cast<int16_t>(value))
                               : Variant::Long(value);
}

}  // namespace quon::script
