#include "engine/builtins.h"

#include <array>
#include <cmath>
#include <string>

#include "engine/conversions.h"
#include "engine/currency.h"

namespace quon::script {
namespace {

constexpr std::array kBuiltins = {
    Builtin{"abs", Op::Abs, 1, 1},
    Builtin{"atn", Op::Atn, 1, 1},
    Builtin{"cos", Op::Cos, 1, 1},
    Builtin{"exp", Op::Exp, 1, 1},
    Builtin{"fix", Op::Fix, 1, 1},
    Builtin{"int", Op::Int, 1, 1},
    Builtin{"log", Op::Log, 1, 1},
    Builtin{"sgn", Op::Sgn, 1, 1},
    Builtin{"sin", Op::Sin, 1, 1},
    Builtin{"sqr", Op::Sqr, 1, 1},
    Builtin{"tan", Op::Tan, 1, 1},
    Builtin{"round", Op::Round, 1, 2},
    Builtin{"cdbl", Op::CDbl, 1, 1},
    Builtin{"cint", Op::CInt, 1, 1},
    Builtin{"clng", Op::CLng, 1, 1},
    Builtin{"cbool", Op::CBool, 1, 1},
    Builtin{"cstr", Op::CStr, 1, 1},
    Builtin{"typename", Op::TypeName, 1, 1},
    Builtin{"cbyte", Op::CByte, 1, 1},
    Builtin{"csng", Op::CSng, 1, 1},
    Builtin{"ccur", Op::CCur, 1, 1},
    // Values and kinds.
    Builtin{"isnumeric", Op::IsNumeric, 1, 1},
    Builtin{"isempty", Op::IsEmpty, 1, 1},
    Builtin{"isnull", Op::IsNull, 1, 1},
    Builtin{"isarray", Op::IsArray, 1, 1},
    Builtin{"isobject", Op::IsObject, 1, 1},
    Builtin{"vartype", Op::VarType, 1, 1},
    Builtin{"hex", Op::Hex, 1, 1},
    Builtin{"oct", Op::Oct, 1, 1},
    Builtin{"rgb", Op::RGB, 3, 3},
    Builtin{"scriptengine", Op::ScriptEngine, 0, 0},
    Builtin{"scriptenginemajorversion", Op::ScriptEngineMajorVersion, 0, 0},
    Builtin{"scriptengineminorversion", Op::ScriptEngineMinorVersion, 0, 0},
    Builtin{"scriptenginebuildversion", Op::ScriptEngineBuildVersion, 0, 0},
    // Texts.
    Builtin{"len", Op::Len, 1, 1},
    Builtin{"left", Op::Left, 2, 2},
    Builtin{"right", Op::Right, 2, 2},
    Builtin{"mid", Op::Mid, 2, 3},
    Builtin{"instr", Op::InStr, 2, 4},
    Builtin{"instrrev", Op::InStrRev, 2, 4},
    Builtin{"lcase", Op::LCase, 1, 1},
    Builtin{"ucase", Op::UCase, 1, 1},
    Builtin{"ltrim", Op::LTrim, 1, 1},
    Builtin{"rtrim", Op::RTrim, 1, 1},
    Builtin{"trim", Op::Trim, 1, 1},
    Builtin{"space", Op::Space, 1, 1},
    Builtin{"string", Op::String, 2, 2},
    Builtin{"strcomp", Op::StrComp, 2, 3},
    Builtin{"strreverse", Op::StrReverse, 1, 1},
    Builtin{"replace", Op::Replace, 3, 6},
    Builtin{"chr", Op::Chr, 1, 1},
    Builtin{"asc", Op::Asc, 1, 1},
    // The random generator.
    Builtin{"rnd", Op::Rnd, 0, 1, false},
};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsLower(std::string_view word, std::string_view lower) {
  if (word.size() != lower.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(word[i]) != lower[i]) return false;
  }
  return true;
}

// Abs, Fix and Int keep the argument's kind (Empty and Boolean become Integers; a whole
// result that no longer fits widens, a Currency one fails with 6) and give a Double for a
// Double or a text.
ErrNum KindPreserving(Op op, const Variant& arg, Variant& result) {
  switch (arg.kind()) {
    case Kind::Null:
      result = arg;
      return ErrNum::None;
    case Kind::Empty:
    case Kind::Boolean:
    case Kind::Byte:
    case Kind::Integer:
    case Kind::Long: {
      result = arg.Is(Kind::Long) || arg.Is(Kind::Byte)
                   ? arg
                   : Variant::Integer(static_cast<int16_t>(arg.integer()));
      return op == Op::Abs && arg.integer() < 0 ? Negate(result) : ErrNum::None;
    }
    case Kind::Single: {
      const double x = arg.number();
      result = Variant::Single(static_cast<float>(op == Op::Abs   ? real::Abs(x)
                                                  : op == Op::Fix ? real::Fix(x)
                                                                  : real::Int(x)));
      return ErrNum::None;
    }
    case Kind::Currency: {
      int64_t count = arg.currency();
      ErrNum err = ErrNum::None;
      if (op == Op::Abs) {
        if (count < 0) err = currency::Negate(count, count);
      } else if (op == Op::Fix) {
        count = currency::Truncate(count);
      } else {
        err = currency::Floor(count, count);
      }
      if (err == ErrNum::None) result = Variant::Currency(count);
      return err;
    }
    default:
      break;
  }
  double x = 0.0;
  if (ErrNum err = ToDouble(arg, x); err != ErrNum::None) return err;
  result = Variant::Double(op == Op::Abs   ? real::Abs(x)
                           : op == Op::Fix ? real::Fix(x)
                                           : real::Int(x));
  return ErrNum::None;
}

// Round(x, digits): halves to the even neighbour at the given decimal place.
ErrNum RoundTo(const Variant* args, uint16_t argc, Variant& result) {
  int32_t digits = 0;
  if (argc == 2) {
    if (args[1].Is(Kind::Null)) return ErrNum::InvalidUseOfNull;
    if (ErrNum err = ToLong(args[1], digits); err != ErrNum::None) return err;
    if (digits < 0) return ErrNum::InvalidCall;
  }
  const Variant& arg = args[0];
  switch (arg.kind()) {
    case Kind::Null:
      result = arg;
      return ErrNum::None;
    case Kind::Empty:
    case Kind::Integer:
      result = Variant::Integer(static_cast<int16_t>(arg.integer()));
      return ErrNum::None;
    case Kind::Boolean:  // whole numbers already, and they keep their kind
    case Kind::Byte:
    case Kind::Long:
      result = arg;
      return ErrNum::None;
    case Kind::Currency: {
      int64_t count = 0;
      const ErrNum err = currency::RoundToDecimals(arg.currency(), digits, count);
      if (err == ErrNum::None) result = Variant::Currency(count);
      return err;
    }
    default:
      break;
  }
  double x = 0.0;
  if (ErrNum err = ToDouble(arg, x); err != ErrNum::None) return err;
  // A Single is rounded as a double and stays a Single.
  const auto kindOf = [single = arg.Is(Kind::Single)](double rounded) {
    return single ? Variant::Single(static_cast<float>(rounded)) : Variant::Double(rounded);
  };
  if (digits == 0) {
    result = kindOf(std::nearbyint(x));
    return ErrNum::None;
  }
  // Beyond 15 decimals, or where scaling leaves no fraction, x is already as rounded as a
  // double can hold it.
  const double scale = std::pow(10.0, digits > 22 ? 22 : digits);
  const double scaled = x * scale;
  if (digits > 22 || !std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) {
    result = kindOf(x);
    return ErrNum::None;
  }
  result = kindOf(std::nearbyint(scaled) / scale);
  return ErrNum::None;
}

const std::string& TypeNameText(Kind kind) {
  static const std::array<std::string, 10> names = {"Empty",   "Null",   "Integer",  "Long",
                                                    "Single",  "Double", "Currency", "String",
                                                    "Boolean", "Byte"};
  static constexpr std::array kinds = {Kind::Empty,   Kind::Null,   Kind::Integer,  Kind::Long,
                                       Kind::Single,  Kind::Double, Kind::Currency, Kind::String,
                                       Kind::Boolean, Kind::Byte};
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] == kind) return names[i];
  }
  return names[0];
}

// A conversion function: the argument converted by `convert`, the value made a Variant of
// its kind by `make`.
template <typename T>
ErrNum Converted(ErrNum (*convert)(const Variant&, T&), Variant (*make)(T), const Variant& arg,
                 Variant& result) {
  T value{};
  if (const ErrNum err = convert(arg, value); err != ErrNum::None) return err;
  result = make(value);
  return ErrNum::None;
}

// The functions of a Double argument and a checked Double result.
ErrNum RealFunction(Op op, const Variant& arg, Variant& result) {
  double x = 0.0;
  if (ErrNum err = ToDouble(arg, x); err != ErrNum::None) return err;
  switch (op) {
    case Op::Atn:
      return CheckedDouble(real::Atn(x), result);
    case Op::Cos:
      return CheckedDouble(real::Cos(x), result);
    case Op::Sin:
      return CheckedDouble(real::Sin(x), result);
    case Op::Tan:
      return CheckedDouble(real::Tan(x), result);
    case Op::Exp:
      return CheckedDouble(real::Exp(x), result);
    case Op::Log:
      if (ErrNum err = real::LogFailure(x); err != ErrNum::None) return err;
      return CheckedDouble(real::Log(x), result);
    case Op::Sqr:
      if (ErrNum err = real::SqrFailure(x); err != ErrNum::None) return err;
      return CheckedDouble(real::Sqr(x), result);
    case Op::Sgn:
      result = Variant::Integer(static_cast<int16_t>(x > 0.0 ? 1 : x < 0.0 ? -1 : 0));
      return ErrNum::None;
    default:
      return CheckedDouble(x, result);  // CDbl
  }
}

}  // namespace

std::optional<Builtin> FindBuiltin(std::string_view name) {
  for (const Builtin& builtin : kBuiltins) {
    if (EqualsLower(name, builtin.name)) return builtin;
  }
  return std::nullopt;
}

ErrNum CallBuiltin(Op op, const Variant* args, uint16_t argc, Variant& result,
                   BuiltinContext& context) {
  if (op >= Op::IsNumeric && op <= Op::ScriptEngineBuildVersion) {
    return CallInfoBuiltin(op, args, argc, result, context.scratch);
  }
  if (op >= Op::Len && op <= Op::Asc)
    return CallTextBuiltin(op, args, argc, result, context.scratch);
  if (op == Op::Rnd || op == Op::Randomize) {
    return CallRandomBuiltin(op, args, argc, result, context.random);
  }
  StringScratch& scratch = context.scratch;
  const Variant& arg = args[0];
  switch (op) {
    case Op::Abs:
    case Op::Fix:
    case Op::Int:
      return KindPreserving(op, arg, result);
    case Op::Round:
      return RoundTo(args, argc, result);
    case Op::CInt:
      return Converted(ToInteger, Variant::Integer, arg, result);
    case Op::CLng:
      return Converted(ToLong, Variant::Long, arg, result);
    case Op::CByte:
      return Converted(ToByte, Variant::Byte, arg, result);
    case Op::CSng:
      return Converted(ToSingle, Variant::Single, arg, result);
    case Op::CCur:
      return Converted(ToCurrency, Variant::Currency, arg, result);
    case Op::CBool:
      return Converted(ToBoolean, Variant::Boolean, arg, result);
    case Op::CStr: {
      if (arg.Is(Kind::Null)) return ErrNum::InvalidUseOfNull;
      std::string& text = scratch.Next();
      AppendText(arg, text);
      result = Variant::String(&text);
      return ErrNum::None;
    }
    case Op::TypeName:
      result = Variant::String(&TypeNameText(arg.kind()));
      return ErrNum::None;
    default:
      return RealFunction(op, arg, result);
  }
}

}  // namespace quon::script
