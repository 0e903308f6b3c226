#include "engine/globals.h"

#include "engine/conversions.h"

namespace quon::script {

Globals::Globals(const Globals& other) : values_(other.values_), types_(other.types_) {
  texts_.resize(other.texts_.size());
  for (size_t i = 0; i < texts_.size(); ++i) {
    if (!other.texts_[i]) continue;
    texts_[i] = std::make_unique<std::string>(*other.texts_[i]);
    if (values_[i].Is(Kind::String)) values_[i] = Variant::String(texts_[i].get());
  }
}

Globals& Globals::operator=(const Globals& other) {
  if (this != &other) *this = Globals(other);
  return *this;
}

void Globals::Resize(size_t count) {
  if (count <= values_.size()) return;
  values_.resize(count);
  types_.resize(count, VariableType::Variant);
  texts_.resize(count);
}

void Globals::Declare(uint32_t slot, VariableType type, const Variant& initial) {
  Resize(size_t{slot} + 1);
  types_[slot] = type;
  values_[slot] = initial;
}

ErrNum Globals::Assign(uint32_t slot, const Variant& value) {
  switch (types_[slot]) {
    case VariableType::Double: {
      double number = 0.0;
      if (ErrNum err = ToDouble(value, number); err != ErrNum::None) return err;
      values_[slot] = Variant::Double(number);
      return ErrNum::None;
    }
    case VariableType::Long: {
      int32_t number = 0;
      if (ErrNum err = ToLong(value, number); err != ErrNum::None) return err;
      values_[slot] = Variant::Long(number);
      return ErrNum::None;
    }
    case VariableType::Variant:
      break;
  }
  if (value.Is(Kind::String)) {
    if (!texts_[slot]) texts_[slot] = std::make_unique<std::string>();
    // The value may be this slot's own text (x = x): assigning a string to itself is safe.
    *texts_[slot] = value.text();
    values_[slot] = Variant::String(texts_[slot].get());
  } else {
    values_[slot] = value;
  }
  return ErrNum::None;
}

}  // namespace quon::script
