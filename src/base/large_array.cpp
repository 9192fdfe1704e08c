#include "base/large_array.h"

#include <sys/mman.h>

#include <cstdlib>

namespace vk::detail {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}

void* AllocateLarge(std::size_t bytes) {
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, rounded == 0 ? kHugePage : rounded);
  if (!p) throw std::bad_alloc();
  // Only advice: without huge pages the memory is the same, in small pages.
  madvise(p, rounded, MADV_HUGEPAGE);
  return p;
}

void FreeLarge(void* p) noexcept { std::free(p); }

}  // namespace vk::detail
