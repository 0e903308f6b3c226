#include "engine/names.h"

#include "engine/builtins.h"
#include "engine/lexer.h"
#include "engine/named_constants.h"

namespace quon::script {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The lower-case form of a name in a caller's buffer; names longer than the language
// allows are never known, so they map to nothing.
std::optional<std::string_view> LowerName(std::string_view name, char (&buffer)[MaxNameLength]) {
  if (name.size() > MaxNameLength) return std::nullopt;
  for (size_t i = 0; i < name.size(); ++i) buffer[i] = Lower(name[i]);
  return std::string_view(buffer, name.size());
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<NameTable::Entry> NameTable::FindDeclared(std::string_view name) const {
  char buffer[MaxNameLength];
  const auto lower = LowerName(name, buffer);
  if (!lower) return std::nullopt;
  const auto found = names_.find(*lower);
  if (found == names_.end()) return std::nullopt;
  return found->second;
}

std::optional<NameTable::Entry> NameTable::Find(std::string_view name) const {
  if (const auto builtin = FindBuiltin(name)) {
    Entry entry;
    entry.role = Role::Builtin;
    entry.builtin = builtin->op;
    entry.minArgs = builtin->minArgs;
    entry.maxArgs = builtin->maxArgs;
    entry.pure = builtin->pure;
    return entry;
  }
  if (const Variant* constant = FindNamedConstant(name)) {
    Entry entry;
    entry.role = Role::Constant;
    entry.constant = constant;
    return entry;
  }
  return FindDeclared(name);
}

std::optional<uint32_t> NameTable::FindVariable(std::string_view name) const {
  const auto entry = Find(name);
  if (!entry || entry->role != Role::Variable) return std::nullopt;
  return entry->index;
}

NameTable::Entry NameTable::MemberEntry(uint32_t object, uint32_t member, const Member& info,
                                        uint32_t variableSlot) {
  Entry entry;
  if (info.isFunction) {
    entry.role = Role::ObjectFunction;
    entry.index = object;
    entry.member = member;
    entry.minArgs = entry.maxArgs = info.arity;
  } else {
    entry.role = Role::Variable;
    entry.index = variableSlot;
  }
  return entry;
}

std::optional<NameTable::Entry> NameTable::FindMember(uint32_t object,
                                                      std::string_view member) const {
  const Object& published = objects_[object];
  uint32_t slot = published.firstVariable;
  const auto members = published.object->Members();
  for (uint32_t i = 0; i < members.size(); ++i) {
    if (EqualsIgnoringCase(members[i].name, member))
      return MemberEntry(object, i, members[i], slot);
    if (!members[i].isFunction) ++slot;
  }
  return std::nullopt;
}

uint32_t NameTable::VariableSlot(std::string_view name) {
  if (const auto entry = FindDeclared(name)) return entry->index;
  std::string lower(name);
  for (char& c : lower) c = Lower(c);
  Entry entry;
  entry.index = slotCount_++;
  names_.emplace(std::move(lower), entry);
  return entry.index;
}

ErrNum NameTable::AddObject(std::string_view name, std::shared_ptr<const NamedObject> object,
                            bool globalMembers, Globals& globals) {
  const auto members = object->Members();
  auto taken = [this](std::string_view n) { return Find(n).has_value() || IsReservedWord(n); };
  if (taken(name)) return ErrNum::NameRedefined;
  if (globalMembers) {
    for (const Member& member : members) {
      if (taken(member.name)) return ErrNum::NameRedefined;
    }
  }
  const auto number = static_cast<uint32_t>(objects_.size());
  const uint32_t first = slotCount_;
  for (uint32_t i = 0; i < members.size(); ++i) {
    if (members[i].isFunction) continue;
    globals.Declare(slotCount_, members[i].type, object->InitialValue(i));
    ++slotCount_;
  }
  auto lowered = [](std::string_view n) {
    std::string lower(n);
    for (char& c : lower) c = Lower(c);
    return lower;
  };
  Entry objectEntry;
  objectEntry.role = Role::Object;
  objectEntry.index = number;
  names_.emplace(lowered(name), objectEntry);
  objects_.push_back(Object{std::string(name), std::move(object), first});
  if (globalMembers) {
    uint32_t slot = first;
    for (uint32_t i = 0; i < members.size(); ++i) {
      names_.emplace(lowered(members[i].name), MemberEntry(number, i, members[i], slot));
      if (!members[i].isFunction) ++slot;
    }
  }
  return ErrNum::None;
}

}  // namespace quon::script
