// The values the expression language computes with: a closed set of kinds (the subtypes
// of the language's Variant that arithmetic needs) in a 16-byte, trivially copyable
// record, so that the interpreter moves values without allocating.
//
// Every numeric kind keeps its value as a double in `num_`, so that arithmetic in doubles
// and the fit read every numeric kind the same way, with no branch on the kind. Byte,
// Integer, Long and Boolean also keep their integer in `int_`; a Single keeps its float
// value widened (exactly) to a double. A Currency is a 64-bit count of ten-thousandths,
// which does not fit beside the double: `num_` holds the nearest double of its value and
// `int_` the low 32 bits of the count. The high 32 bits follow from the double, whose error
// (a few thousand counts at most, even at the ends of the range) is far below the 2^32
// counts that separate two candidates, so currency() recovers the count exactly with a few
// floating-point operations, paid only by Currency arithmetic. A String refers to text
// owned elsewhere (a program's constants, the globals store or the scratch of one run);
// `Value` is the owning form handed out to callers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quon::script {

// The kinds carry the language's VarType numbers.
enum class Kind : uint8_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  String = 8,
  Boolean = 11,
  Byte = 17,
};

// The language's TypeName of a kind: "Empty", "Null", "Integer", ...
std::string_view TypeName(Kind kind);

// Currency counts ten-thousandths of a unit.
inline constexpr int64_t kCurrencyScale = 10000;

class Variant {
 public:
  constexpr Variant() = default;  // Empty

  static constexpr Variant Null() { return Variant(Kind::Null, 0, 0.0); }
  static constexpr Variant Boolean(bool value) {
    return Variant(Kind::Boolean, value ? -1 : 0, value ? -1.0 : 0.0);
  }
  static constexpr Variant Byte(uint8_t value) {
    return Variant(Kind::Byte, value, static_cast<double>(value));
  }
  static constexpr Variant Integer(int16_t value) {
    return Variant(Kind::Integer, value, static_cast<double>(value));
  }
  static constexpr Variant Long(int32_t value) {
    return Variant(Kind::Long, value, static_cast<double>(value));
  }
  static constexpr Variant Single(float value) {
    return Variant(Kind::Single, 0, static_cast<double>(value));
  }
  static constexpr Variant Double(double value) { return Variant(Kind::Double, 0, value); }
  // `count` ten-thousandths: Currency(15000) is 1.5.
  static constexpr Variant Currency(int64_t count) {
    return Variant(Kind::Currency, static_cast<int32_t>(static_cast<uint32_t>(count)),
                   static_cast<double>(count) / static_cast<double>(kCurrencyScale));
  }
  // `text` must outlive every copy of the variant.
  static Variant String(const std::string* text) {
    Variant v;
    v.kind_ = Kind::String;
    v.text_ = text;
    return v;
  }

  constexpr Kind kind() const { return kind_; }
  constexpr bool Is(Kind kind) const { return kind_ == kind; }
  // Every kind but Null and String: number() is valid.
  constexpr bool IsNumeric() const { return kind_ != Kind::Null && kind_ != Kind::String; }
  constexpr double number() const { return num_; }
  // Byte, Integer, Long and Boolean.
  constexpr int32_t integer() const { return int_; }
  // Currency only: the exact count of ten-thousandths.
  int64_t currency() const;
  const std::string& text() const { return *text_; }

 private:
  constexpr Variant(Kind kind, int32_t integer, double number)
      : kind_(kind), int_(integer), num_(number) {}

  Kind kind_ = Kind::Empty;
  int32_t int_ = 0;
  union {
    double num_ = 0.0;
    const std::string* text_;
  };
};

// A variant that owns its text: what the engine returns to its callers.
struct Value {
  Kind kind = Kind::Empty;
  double number = 0.0;  // the numeric kinds (a Boolean true is -1)
  std::string text;     // the value as the language writes it (CStr); "" for Empty and Null

  static Value From(const Variant& v);
};

}  // namespace quon::script
