// The built-ins about values and kinds: IsNumeric, IsEmpty, IsNull, IsArray, IsObject,
// VarType, Hex, Oct, RGB and the ScriptEngine functions. Hex and Oct round their argument
// half-even to a Long (6 beyond) and write negative values in two's complement, 16 bits
// wide for the Integer kinds (Hex(-1) is "FFFF") and 32 bits for the others; Null gives
// Null. RGB rounds each part to a whole number, takes 255 for anything larger and fails
// with 5 for a negative part.
#include <array>
#include <string>

#include "engine/builtins.h"
#include "engine/conversions.h"
#include "engine/number_text.h"

namespace quon::script {
namespace {

// The engine's name and version, as the language's own functions report them.
const std::string kEngineName = "VBScript";
constexpr int32_t kMajorVersion = 5;
constexpr int32_t kMinorVersion = 8;
constexpr int32_t kBuildVersion = 16384;

bool IsNumericValue(const Variant& value) {
  if (value.Is(Kind::Null)) return false;
  if (!value.Is(Kind::String)) return true;
  const auto reading = ReadNumericText(value.text());
  return reading && !reading->tooLarge;
}

ErrNum Radix(const Variant& arg, int bitsPerDigit, Variant& result, StringScratch& scratch) {
  if (arg.Is(Kind::Null)) {
    result = arg;
    return ErrNum::None;
  }
  const bool narrow = arg.Is(Kind::Integer) || arg.Is(Kind::Boolean) || arg.Is(Kind::Empty);
  int32_t value = 0;
  if (ErrNum err = ToLong(arg, value); err != ErrNum::None) return err;
  uint32_t bits = static_cast<uint32_t>(value);
  if (narrow) bits &= 0xFFFFu;
  char digits[12];
  char* end = digits + sizeof digits;
  char* p = end;
  const uint32_t mask = (1u << bitsPerDigit) - 1;
  do {
    *--p = "0123456789ABCDEF"[bits & mask];
    bits >>= bitsPerDigit;
  } while (bits != 0);
  std::string& text = scratch.Next();
  text.assign(p, end);
  result = Variant::String(&text);
  return ErrNum::None;
}

ErrNum ColourPart(const Variant& arg, int32_t& part) {
  if (ErrNum err = ToLong(arg, part); err != ErrNum::None) return err;
  if (part < 0) return ErrNum::InvalidCall;
  if (part > 255) part = 255;
  return ErrNum::None;
}

}  // namespace

ErrNum CallInfoBuiltin(Op op, const Variant* args, uint16_t, Variant& result,
                       StringScratch& scratch) {
  const Variant& arg = args[0];
  switch (op) {
    case Op::IsNumeric:
      result = Variant::Boolean(IsNumericValue(arg));
      return ErrNum::None;
    case Op::IsEmpty:
      result = Variant::Boolean(arg.Is(Kind::Empty));
      return ErrNum::None;
    case Op::IsNull:
      result = Variant::Boolean(arg.Is(Kind::Null));
      return ErrNum::None;
    case Op::IsArray:
    case Op::IsObject:
      result = Variant::Boolean(false);  // the values of expressions are neither
      return ErrNum::None;
    case Op::VarType:
      result = Variant::Integer(static_cast<int16_t>(arg.kind()));
      return ErrNum::None;
    case Op::Hex:
      return Radix(arg, 4, result, scratch);
    case Op::Oct:
      return Radix(arg, 3, result, scratch);
    case Op::RGB: {
      std::array<int32_t, 3> parts{};
      for (size_t i = 0; i < parts.size(); ++i) {
        if (ErrNum err = ColourPart(args[i], parts[i]); err != ErrNum::None) return err;
      }
      result = Variant::Long(parts[0] + parts[1] * 256 + parts[2] * 65536);
      return ErrNum::None;
    }
    case Op::ScriptEngine:
      result = Variant::String(&kEngineName);
      return ErrNum::None;
    case Op::ScriptEngineMajorVersion:
      result = Variant::Long(kMajorVersion);
      return ErrNum::None;
    case Op::ScriptEngineMinorVersion:
      result = Variant::Long(kMinorVersion);
      return ErrNum::None;
    default:
      result = Variant::Long(kBuildVersion);
      return ErrNum::None;
  }
}

}  // namespace quon::script
