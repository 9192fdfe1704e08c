// One thread of its own that runs jobs one at a time, in the order given:
// the home of long work that must not hold up its caller (a window's
// recomputation). Jobs are told through a std::stop_token when they should
// end early.
#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace vk {

class SerialWorker {
 public:
  using Job = std::function<void(std::stop_token stop)>;

  SerialWorker();
  // Cancel(), then waits for the running job to end. Jobs still queued never run.
  ~SerialWorker();
  SerialWorker(const SerialWorker&) = delete;
  SerialWorker& operator=(const SerialWorker&) = delete;

  // Queues `job` after those given before. A job that throws ends quietly:
  // jobs report their own failures. Never fails except std::bad_alloc.
  void Post(Job job);

  // Requests the running job to stop (its token) and drops the queued ones.
  // Jobs posted afterwards run as usual. Never fails.
  void Cancel();

  // True while a job runs or waits. Any thread; never fails.
  bool Busy() const;

 private:
  void Run(std::stop_token end);

  mutable std::mutex m_;
  std::condition_variable_any changed_;
  std::deque<Job> queue_;
  std::stop_source current_;  // the running job's
  bool running_ = false;
  std::jthread thread_;  // last: it ends before the members above go
};

}  // namespace vk
