// The one parallel-for of the program: every computation that shares its
// work out runs tasks 0 … count−1 through it, handed out in increasing order
// to a fixed number of threads.
#pragma once
#include <functional>
#include <stop_token>

namespace vk {

// Told that task `i` starts, before task(i) runs on the thread that takes it:
// in increasing order of i, one call at a time (the next task waits for the
// call to return), from any of the threads. A throw counts as task i's.
using TaskStarted = std::function<void(int i)>;

// Runs task(i) for i in [0, count), each at most once, on at most `threads`
// threads (the calling thread among them; 0: one per core; fewer when the
// system starts no more). Returns when
// every started task has ended.
// Stop: no task starts after `stop` is requested; ParallelFor then returns
// normally, and the caller tells from stop.stop_requested() that some tasks
// may not have run.
// Failure: after a task (or `started` for it) throws, no further task starts;
// the tasks already running end, and then the exception of the lowest-
// numbered failing task is rethrown (the others are dropped), so the outcome
// does not depend on the timing. Tasks must not depend on one another's
// results.
void ParallelFor(int count, unsigned threads, const std::function<void(int)>& task, std::stop_token stop = {},
                 const TaskStarted& started = {});

// The number of threads ParallelFor uses for `threads` = 0: the machine's
// cores, at least 1.
unsigned DefaultThreadCount();

}  // namespace vk
