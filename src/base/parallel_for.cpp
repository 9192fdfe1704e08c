#include "base/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

namespace vk {

unsigned DefaultThreadCount() { return std::max(1u, std::thread::hardware_concurrency()); }

void ParallelFor(int count, unsigned threads, const std::function<void(int)>& task) {
  if (count <= 0) return;
  if (threads == 0) threads = DefaultThreadCount();
  std::atomic<int> next{0};
  std::atomic<bool> failed{false};
  std::vector<std::exception_ptr> errors(static_cast<std::size_t>(count));
  auto worker = [&] {
    for (;;) {
      const int i = next.fetch_add(1);
      if (i >= count || failed.load()) return;
      try {
        task(i);
      } catch (...) {
        errors[static_cast<std::size_t>(i)] = std::current_exception();
        failed.store(true);
      }
    }
  };
  const unsigned n = std::min(threads, static_cast<unsigned>(count));
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < n; ++t) pool.emplace_back(worker);
  worker();
  for (auto& t : pool) t.join();
  for (const auto& e : errors)
    if (e) std::rethrow_exception(e);
}

}  // namespace vk
