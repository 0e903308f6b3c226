// An allocator for large arrays of numbers (the coefficient array, the writer's buffers).
// From 2 MiB on, storage starts on a 2 MiB boundary and the system is asked to back it
// with huge pages (Linux's transparent huge pages, which many systems grant on request
// only), so that touching a large array for the first time costs one page fault per 2 MiB
// instead of one per 4 KiB. Where faults are slow, as on virtual machines, that is the
// difference between about 100 ms and 3 ms for the 20 MB of a 4 x 40 grid. Smaller arrays
// come from the usual heap. Failure is std::bad_alloc, as from any allocator.
#pragma once

#include <cstddef>
#include <new>

namespace quon {

// Storage for `bytes` bytes, and its release (with the same size).
void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* storage, std::size_t bytes) noexcept;

template <typename T>
struct LargeArrayAllocator {
  using value_type = T;

  LargeArrayAllocator() = default;
  template <typename U>
  LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocateLarge(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { FreeLarge(p, n * sizeof(T)); }

  template <typename U>
  bool operator==(const LargeArrayAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace quon
