#include "base/large_array.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstddef>

namespace vk::detail {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kHugePagesFrom = kHugePage / 2;

std::size_t Rounded(std::size_t bytes) {
  return bytes == 0 ? kHugePage : (bytes + kHugePage - 1) / kHugePage * kHugePage;
}
}  // namespace

void* AllocateLarge(std::size_t bytes) {
  const std::size_t size = Rounded(bytes);
  if (size < bytes || size > SIZE_MAX - kHugePage) throw std::bad_alloc();
  // Mapped with a huge page's room to spare, then cut to a 2 MiB boundary.
  void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(mapped, aligned - start);
  if (const std::size_t tail = kHugePage - (aligned - start); tail > 0)
    munmap(reinterpret_cast<void*>(aligned + size), tail);
  void* p = reinterpret_cast<void*>(aligned);
  // Only advice: without huge pages the memory is the same, in small pages.
  // An array under 1 MiB keeps small pages: most of its huge page would be
  // untouched and still count as resident. From 1 MiB on a huge page costs
  // at most 1 MiB more than the array and saves a fault per 4 KiB (in a
  // virtual machine each can cost 10 µs and more).
  if (bytes >= kHugePagesFrom) madvise(p, size, MADV_HUGEPAGE);
  return p;
}

void FreeLarge(void* p, std::size_t bytes) noexcept {
  if (p) munmap(p, Rounded(bytes));
}

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
