#include "base/serial_worker.h"

#include <utility>

namespace vk {

SerialWorker::SerialWorker() : thread_([this](std::stop_token end) { Run(end); }) {}

SerialWorker::~SerialWorker() {
  Cancel();
  thread_.request_stop();
  changed_.notify_all();
  // thread_ joins as it goes.
}

void SerialWorker::Post(Job job) {
  {
    const std::lock_guard lock(m_);
    queue_.push_back(std::move(job));
  }
  changed_.notify_all();
}

void SerialWorker::Cancel() {
  const std::lock_guard lock(m_);
  queue_.clear();
  current_.request_stop();
}

bool SerialWorker::Busy() const {
  const std::lock_guard lock(m_);
  return running_ || !queue_.empty();
}

void SerialWorker::Run(std::stop_token end) {
  for (;;) {
    Job job;
    std::stop_token stop;
    {
      std::unique_lock lock(m_);
      running_ = false;
      if (!changed_.wait(lock, end, [this] { return !queue_.empty(); })) return;
      job = std::move(queue_.front());
      queue_.pop_front();
      current_ = std::stop_source();
      stop = current_.get_token();
      running_ = true;
    }
    try {
      job(stop);
    } catch (...) {
      // The job reports its own failure; the worker goes on.
    }
  }
}

}  // namespace vk
