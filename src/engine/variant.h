// The values the expression language computes with: a closed set of kinds (the subtypes
// of the language's Variant that arithmetic needs) in a 16-byte, trivially copyable
// record, so that the interpreter moves values without allocating.
//
// Integer, Long and Boolean keep their integer in `int_` and the same value as a double
// in `num_`, so that arithmetic in doubles reads every numeric kind the same way. A
// String refers to text owned elsewhere (a program's constants, the globals store or the
// scratch of one run); `Value` is the owning form handed out to callers.
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
  Double = 5,
  String = 8,
  Boolean = 11,
};

// The language's TypeName of a kind: "Empty", "Null", "Integer", ...
std::string_view TypeName(Kind kind);

class Variant {
 public:
  constexpr Variant() = default;  // Empty

  static constexpr Variant Null() { return Variant(Kind::Null, 0, 0.0); }
  static constexpr Variant Boolean(bool value) {
    return Variant(Kind::Boolean, value ? -1 : 0, value ? -1.0 : 0.0);
  }
  static constexpr Variant Integer(int16_t value) {
    return Variant(Kind::Integer, value, static_cast<double>(value));
  }
  static constexpr Variant Long(int32_t value) {
    return Variant(Kind::Long, value, static_cast<double>(value));
  }
  static constexpr Variant Double(double value) { return Variant(Kind::Double, 0, value); }
  // `text` must outlive every copy of the variant.
  static Variant String(const std::string* text) {
    Variant v;
    v.kind_ = Kind::String;
    v.text_ = text;
    return v;
  }

  constexpr Kind kind() const { return kind_; }
  constexpr bool Is(Kind kind) const { return kind_ == kind; }
  // Empty, Boolean, Integer, Long or Double: number() is valid.
  constexpr bool IsNumeric() const { return kind_ != Kind::Null && kind_ != Kind::String; }
  constexpr double number() const { return num_; }
  constexpr int32_t integer() const { return int_; }
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
  std::string text;     // String only

  static Value From(const Variant& v);
};

}  // namespace quon::script
