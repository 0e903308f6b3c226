#include "engine/string_scratch.h"

#include <algorithm>

namespace quon::script {
namespace {

// Storage above this is returned to the system when its text is freed.
constexpr std::size_t kKeptCapacity = 64 * 1024;

}  // namespace

std::string& StringScratch::Next() {
  // Reserved first, so that a failing allocation leaves the lists consistent.
  inUse_.reserve(inUse_.size() + 1);
  uint32_t index = 0;
  if (free_.empty()) {
    pool_.push_back(std::make_unique<std::string>());
    index = static_cast<uint32_t>(pool_.size() - 1);
  } else {
    index = free_.back();
    free_.pop_back();
  }
  inUse_.push_back(index);
  std::string& text = *pool_[index];
  text.clear();
  return text;
}

void StringScratch::Free(uint32_t index) {
  std::string& text = *pool_[index];
  if (text.capacity() > kKeptCapacity) {
    std::string().swap(text);
  } else {
    text.clear();
  }
  free_.push_back(index);
}

void StringScratch::KeepOnly(std::span<const Variant> live) {
  const auto referred = [&](uint32_t index) {
    const std::string* text = pool_[index].get();
    return std::any_of(live.begin(), live.end(),
                       [&](const Variant& v) { return v.Is(Kind::String) && &v.text() == text; });
  };
  const auto dead = std::stable_partition(inUse_.begin(), inUse_.end(), referred);
  for (auto it = dead; it != inUse_.end(); ++it) Free(*it);
  inUse_.erase(dead, inUse_.end());
}

void StringScratch::Reset() {
  for (const uint32_t index : inUse_) Free(index);
  inUse_.clear();
}

}  // namespace quon::script
