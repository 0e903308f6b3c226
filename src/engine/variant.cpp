#include "variant.h"

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
    case Kind::Double:
      return "Double";
    case Kind::String:
      return "String";
    case Kind::Boolean:
      return "Boolean";
  }
  return "Unknown";
}

Value Value::From(const Variant& v) {
  Value value;
  value.kind = v.kind();
  if (v.Is(Kind::String)) {
    value.text = v.text();
  } else if (v.IsNumeric()) {
    value.number = v.number();
  }
  return value;
}

}  // namespace quon::script
