// Runs a function over a range of rows on all cores. The work of a row must
// not depend on other rows, so the result is the same for any thread count.
#pragma once
#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace picgen {

inline void ParallelRows(int rows, const std::function<void(int row)>& work) {
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::atomic<int> next{0};
  auto run = [&] {
    for (int y; (y = next.fetch_add(1)) < rows;) work(y);
  };
  std::vector<std::thread> pool;
  for (unsigned i = 1; i < threads; ++i) pool.emplace_back(run);
  run();
  for (auto& t : pool) t.join();
}

}  // namespace picgen
