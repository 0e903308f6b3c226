#include "engine/variant.h"

#include <cmath>

#include "engine/conversions.h"

namespace quon::script {

std::string_view TypeName(Kind kind) {
  switch (kind) {
    case Kind::Empty:
      return "Empty";
    case Kind::Null:
      return "Null";
    case Kind::Integer:
      return "Integer";
    case Kind::Long:
      return "Long";
    case Kind::Single:
      return "Single";
    case Kind::Double:
      return "Double";
    case Kind::Currency:
      return "Currency";
    case Kind::String:
      return "String";
    case Kind::Boolean:
      return "Boolean";
    case Kind::Byte:
      return "Byte";
  }
  return "Unknown";
}

int64_t Variant::currency() const {
  constexpr double kTwoTo32 = 4294967296.0;
  const uint32_t low = static_cast<uint32_t>(int_);
  // The count is high * 2^32 + low; the double's estimate of it is off by far less than
  // half of 2^32, so rounding picks the one high part that fits.
  const double high = std::nearbyint((num_ * static_cast<double>(kCurrencyScale) - low) / kTwoTo32);
  return static_cast<int64_t>(high) * int64_t{1LL << 32} + low;
}

Value Value::From(const Variant& v) {
  Value value;
  value.kind = v.kind();
  if (v.IsNumeric()) value.number = v.number();
  if (!v.Is(Kind::Null)) AppendText(v, value.text);
  return value;
}

}  // namespace quon::script
