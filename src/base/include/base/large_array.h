// Arrays of tens of megabytes that live as long as the program: their memory
// is asked for in 2 MiB pages where the system allows, so that filling them
// costs a page fault per 2 MiB instead of one per 4 KiB.
#pragma once
#include <cstddef>
#include <memory>
#include <new>

namespace vk {

namespace detail {
// Memory for `bytes` bytes, aligned to 2 MiB, marked for huge pages where the
// system has them. Throws: std::bad_alloc.
void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* p) noexcept;
}  // namespace detail

template <class T>
struct LargeArrayDeleter {
  std::size_t count = 0;
  void operator()(T* p) const noexcept {
    std::destroy_n(p, count);
    detail::FreeLarge(p);
  }
};

template <class T>
using LargeArray = std::unique_ptr<T[], LargeArrayDeleter<T>>;

// `count` value-initialised elements (zeros for plain structs). Throws: std::bad_alloc.
template <class T>
LargeArray<T> MakeLargeArray(std::size_t count) {
  T* p = static_cast<T*>(detail::AllocateLarge(count * sizeof(T)));
  std::uninitialized_value_construct_n(p, count);
  return LargeArray<T>(p, LargeArrayDeleter<T>{count});
}

// An allocator for containers of that size (a table reserved once for its
// whole capacity).
template <class T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(detail::AllocateLarge(n * sizeof(T))); }
  void deallocate(T* p, std::size_t) noexcept { detail::FreeLarge(p); }
  friend bool operator==(const LargeAllocator&, const LargeAllocator&) noexcept { return true; }
};

}  // namespace vk
