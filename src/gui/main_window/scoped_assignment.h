// A value set for the length of a scope and given back however the scope ends, an
// exception included: a flag such as Loading must not stay set after a command that
// failed half-way.
#pragma once

#include <utility>

namespace quon {

template <typename T>
class ScopedAssignment {
 public:
  ScopedAssignment(T& target, T value)
      : target_(target), saved_(std::exchange(target, std::move(value))) {}
  ~ScopedAssignment() { target_ = std::move(saved_); }
  ScopedAssignment(const ScopedAssignment&) = delete;
  ScopedAssignment& operator=(const ScopedAssignment&) = delete;

 private:
  T& target_;
  T saved_;
};

}  // namespace quon
