#include "base/large_array.h"

#include <cstddef>

#include "base/platform.h"

namespace vk::detail {

namespace {
// An array under 1 MiB keeps small pages: most of its huge page would be
// untouched and still count as resident. From 1 MiB on a huge page costs at
// most 1 MiB more than the array and saves a fault per 4 KiB (in a virtual
// machine each can cost 10 µs and more).
constexpr std::size_t kHugePagesFrom = kLargePage / 2;

std::size_t Rounded(std::size_t bytes) {
  return bytes == 0 ? kLargePage : (bytes + kLargePage - 1) / kLargePage * kLargePage;
}
}  // namespace

void* AllocateLarge(std::size_t bytes) {
  const std::size_t size = Rounded(bytes);
  if (size < bytes) throw std::bad_alloc();
  return MapLargeBlock(size, bytes >= kHugePagesFrom);
}

void FreeLarge(void* p, std::size_t bytes) noexcept { UnmapLargeBlock(p, Rounded(bytes)); }

}  // namespace vk::detail

namespace vk {

void* LargeArena::take(std::size_t bytes) noexcept {
  constexpr std::size_t kAlign = 64;
  if (bytes > size_) return nullptr;
  const std::size_t rounded = (bytes + kAlign - 1) / kAlign * kAlign;
  std::size_t at = used_.load(std::memory_order_relaxed);
  do {
    if (rounded > size_ - at) return nullptr;
  } while (!used_.compare_exchange_weak(at, at + rounded, std::memory_order_relaxed));
  return base_ + at;
}

}  // namespace vk
