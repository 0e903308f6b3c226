#include "core/model/large_array.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quon {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool IsLarge(std::size_t bytes) { return bytes >= kHugePage; }

}  // namespace

void* AllocateLarge(std::size_t bytes) {
  if (!IsLarge(bytes)) return ::operator new(bytes);
  if (bytes > static_cast<std::size_t>(-1) - kHugePage) throw std::bad_alloc();
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* storage = std::aligned_alloc(kHugePage, rounded);
  if (storage == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Advice only: where huge pages are not to be had, the array gets ordinary ones.
  ::madvise(storage, rounded, MADV_HUGEPAGE);
#endif
  return storage;
}

void FreeLarge(void* storage, std::size_t bytes) noexcept {
  if (IsLarge(bytes)) {
    std::free(storage);
  } else {
    ::operator delete(storage);
  }
}

}  // namespace quon
