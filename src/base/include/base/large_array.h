// Arrays of megabytes that live as long as the program: their memory is
// mapped afresh from the system, from 1 MiB on in 2 MiB pages where the
// system allows, so that filling them costs a page fault per 2 MiB instead
// of one per 4 KiB.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <type_traits>

namespace vk {

namespace detail {
// Fresh zero-filled memory for `bytes` bytes, aligned to 2 MiB; from 1 MiB
// on marked for huge pages where the system has them. Throws: std::bad_alloc.
void* AllocateLarge(std::size_t bytes);
// Returns memory of AllocateLarge(bytes) to the system.
void FreeLarge(void* p, std::size_t bytes) noexcept;
}  // namespace detail

template <class T>
struct LargeArrayDeleter {
  std::size_t count = 0;
  void operator()(T* p) const noexcept { detail::FreeLarge(p, count * sizeof(T)); }
};

template <class T>
using LargeArray = std::unique_ptr<T[], LargeArrayDeleter<T>>;

// `count` elements, all bytes zero. Nothing is written here: the system hands
// out fresh pages cleared, each when first touched, so the thread that first
// fills a part of the array also pays for its clearing. Plain structs only
// (for these, all bytes zero is the value-initialised element). Throws:
// std::bad_alloc.
template <class T>
LargeArray<T> MakeLargeArray(std::size_t count) {
  static_assert(std::is_trivially_default_constructible_v<T> && std::is_trivially_destructible_v<T>);
  T* p = static_cast<T*>(detail::AllocateLarge(count * sizeof(T)));
  std::uninitialized_default_construct_n(p, count);  // begins the elements' lifetime; writes nothing
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
  void deallocate(T* p, std::size_t n) noexcept { detail::FreeLarge(p, n * sizeof(T)); }
  friend bool operator==(const LargeAllocator&, const LargeAllocator&) noexcept { return true; }
};

// Room handed out front to back from one block of AllocateLarge, for
// containers that are filled side by side and kept: their room lies together
// in 2 MiB pages instead of each in small pages of its own. Room given back
// stays taken until the arena goes. take() may be called from several
// threads at once.
class LargeArena {
 public:
  // Throws: std::bad_alloc.
  explicit LargeArena(std::size_t bytes) : base_(static_cast<std::byte*>(detail::AllocateLarge(bytes))), size_(bytes) {}
  ~LargeArena() { detail::FreeLarge(base_, size_); }
  LargeArena(const LargeArena&) = delete;
  LargeArena& operator=(const LargeArena&) = delete;

  // `bytes` at a multiple of 64 bytes. Returns: null when the rest is too small.
  void* take(std::size_t bytes) noexcept;
  // Whether `p` lies in the arena's block.
  bool holds(const void* p) const noexcept {
    const auto* b = static_cast<const std::byte*>(p);
    return b >= base_ && b < base_ + size_;
  }

 private:
  std::byte* const base_;
  const std::size_t size_;
  std::atomic<std::size_t> used_{0};
};

// An allocator that takes room from its arena, and from the heap without one
// or when the arena is full. A copy of a container is on the heap (room taken
// from an arena is not given back); a move or swap takes the arena along.
template <class T>
struct ArenaAllocator {
  static_assert(alignof(T) <= 64);
  using value_type = T;
  using propagate_on_container_move_assignment = std::true_type;
  using propagate_on_container_swap = std::true_type;
  ArenaAllocator select_on_container_copy_construction() const noexcept { return {}; }
  ArenaAllocator() = default;
  explicit ArenaAllocator(std::shared_ptr<LargeArena> a) noexcept : arena(std::move(a)) {}
  template <class U>
  ArenaAllocator(const ArenaAllocator<U>& other) noexcept : arena(other.arena) {}
  T* allocate(std::size_t n) {
    if (arena && n <= SIZE_MAX / sizeof(T))
      if (void* p = arena->take(n * sizeof(T))) return static_cast<T*>(p);
    return std::allocator<T>().allocate(n);
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (arena && arena->holds(p)) return;
    std::allocator<T>().deallocate(p, n);
  }
  friend bool operator==(const ArenaAllocator& a, const ArenaAllocator& b) noexcept { return a.arena == b.arena; }
  std::shared_ptr<LargeArena> arena;
};

// Text whose room an arena may hold.
using ArenaString = std::basic_string<char, std::char_traits<char>, ArenaAllocator<char>>;

}  // namespace vk
