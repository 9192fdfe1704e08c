// One parallel-for for every computation that shares its work out: tasks
// 0 … count−1 on a fixed number of worker threads, handed out in increasing
// order.
#pragma once
#include <functional>

namespace vk {

// Runs task(i) for every i in [0, count), each exactly once, on at most
// `threads` threads (the calling thread among them; 0: one per core).
// Returns when every started task has ended. After a task throws, no further
// task starts, and the exception of the lowest-numbered failing task is
// rethrown, so the outcome does not depend on the timing. Tasks must not
// depend on one another's results.
void ParallelFor(int count, unsigned threads, const std::function<void(int)>& task);

// The number of threads ParallelFor uses for `threads` = 0: the machine's
// cores, at least 1.
unsigned DefaultThreadCount();

}  // namespace vk
