// The names an engine knows, in any case: its variables (each with a slot in the globals
// store), the built-in functions and constants, and the published objects with their
// members. A name
// keeps its meaning for the engine's life, which is what lets a compiled program keep
// the slots it resolved.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/err_num.h"
#include "engine/globals.h"
#include "engine/named_object.h"
#include "engine/program.h"

namespace quon::script {

class NameTable {
 public:
  enum class Role : uint8_t { Variable, Builtin, ObjectFunction, Object, Constant };

  struct Entry {
    Role role = Role::Variable;
    uint32_t index = 0;   // Variable: slot; ObjectFunction, Object: object number
    uint32_t member = 0;  // ObjectFunction: member index
    Op builtin = Op::Push;
    uint16_t minArgs = 0;  // functions
    uint16_t maxArgs = 0;
    bool pure = true;                   // Builtin: false when a call changes state (Rnd)
    const Variant* constant = nullptr;  // Constant: its value
  };

  struct Object {
    std::string name;
    std::shared_ptr<const NamedObject> object;
    uint32_t firstVariable = 0;
  };

  // What `name` means, or nothing for a name never seen.
  std::optional<Entry> Find(std::string_view name) const;
  // A member of an object reached as object.member, or nothing.
  std::optional<Entry> FindMember(uint32_t object, std::string_view member) const;
  // The slot of variable `name`, created (Empty) when the name is new. The name must not
  // be a function or object.
  uint32_t VariableSlot(std::string_view name);
  // The slot of an existing variable without allocating, or nothing.
  std::optional<uint32_t> FindVariable(std::string_view name) const;

  // Publishes an object and declares its variables in `globals`; NameRedefined when one
  // of the names it would add is already known.
  ErrNum AddObject(std::string_view name, std::shared_ptr<const NamedObject> object,
                   bool globalMembers, Globals& globals);

  const Object& object(uint32_t index) const { return objects_[index]; }
  uint32_t slotCount() const { return slotCount_; }

 private:
  std::optional<Entry> FindDeclared(std::string_view name) const;
  static Entry MemberEntry(uint32_t object, uint32_t member, const Member& info,
                           uint32_t variableSlot);

  std::map<std::string, Entry, std::less<>> names_;  // keys in lower case
  std::vector<Object> objects_;
  uint32_t slotCount_ = 0;
};

}  // namespace quon::script
