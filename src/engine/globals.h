// The engine's variables: one slot per name that statements and expressions mention, and
// one per variable of a published object. Compiled programs refer to slots by number, so
// reading a variable is an index; the store can be copied (texts included), so that
// copies of it can serve one thread each while the compiled programs are shared.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/err_num.h"
#include "engine/named_object.h"
#include "engine/variant.h"

namespace quon::script {

class Globals {
 public:
  Globals() = default;
  Globals(const Globals& other);
  Globals& operator=(const Globals& other);
  Globals(Globals&&) noexcept = default;
  Globals& operator=(Globals&&) noexcept = default;

  size_t size() const { return values_.size(); }
  const Variant& operator[](uint32_t slot) const { return values_[slot]; }
  // Direct access for the interpreter and the published objects; texts are stored only
  // through Assign.
  Variant* data() { return values_.data(); }

  // Grows the store to `count` slots; new slots are Empty and take any value.
  void Resize(size_t count);
  // Gives `slot` a kind its assignments convert to, and its first value.
  void Declare(uint32_t slot, VariableType type, const Variant& initial);

  // slot = value, converted to the slot's kind (13 or 6 when that fails, the slot then
  // unchanged); a text is copied into the store.
  ErrNum Assign(uint32_t slot, const Variant& value);

 private:
  std::vector<Variant> values_;
  std::vector<VariableType> types_;
  std::vector<std::unique_ptr<std::string>> texts_;  // the text of each String slot
};

}  // namespace quon::script
