#include "base/parallel_for.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vk {

unsigned DefaultThreadCount() { return std::max(1u, std::thread::hardware_concurrency()); }

void ParallelFor(int count, unsigned threads, const std::function<void(int)>& task, std::stop_token stop,
                 const TaskStarted& started) {
  if (count <= 0) return;
  if (threads == 0) threads = DefaultThreadCount();
  std::mutex hand_out;  // guards next and failed, and serializes `started`
  int next = 0;
  bool failed = false;
  std::vector<std::exception_ptr> errors(static_cast<std::size_t>(count));
  auto worker = [&] {
    for (;;) {
      int i = 0;
      {
        const std::lock_guard lock(hand_out);
        if (next == count || failed || stop.stop_requested()) return;
        i = next++;
        // A throw ends the handing out while the lock is still held: no
        // other thread takes a task between the throw and `failed`.
        try {
          if (started) started(i);
        } catch (...) {
          errors[static_cast<std::size_t>(i)] = std::current_exception();
          failed = true;
          return;
        }
      }
      try {
        task(i);
      } catch (...) {
        const std::lock_guard lock(hand_out);
        errors[static_cast<std::size_t>(i)] = std::current_exception();
        failed = true;
      }
    }
  };
  const unsigned n = std::min(threads, static_cast<unsigned>(count));
  std::vector<std::thread> pool;
  pool.reserve(n - 1);
  for (unsigned t = 1; t < n; ++t) {
    try {
      pool.emplace_back(worker);
    } catch (const std::system_error&) {
      break;  // the threads the system gives share the tasks
    }
  }
  worker();
  for (auto& t : pool) t.join();
  for (const auto& e : errors)
    if (e) std::rethrow_exception(e);
}

}  // namespace vk
