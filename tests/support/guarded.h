// Runs a piece of code in a child process that an alarm ends, so that code
// blocked in open() or read() (a FIFO, a device) fails the test instead of
// hanging it. The child's text comes back through a pipe.
#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace vk::test {

// What `run` returns, computed in a child process; "hung" when the child was
// ended by the alarm after `seconds`, "crashed" when it ended otherwise.
inline std::string Guarded(const std::function<std::string()>& run, unsigned seconds = 20) {
  int fds[2];
  if (::pipe(fds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    ::alarm(seconds);
    const std::string out = run();
    const bool ok = ::write(fds[1], out.data(), out.size()) == static_cast<ssize_t>(out.size());
    ::_exit(ok ? 0 : 3);
  }
  ::close(fds[1]);
  std::string out;
  char buf[4096];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) return WTERMSIG(status) == SIGALRM ? "hung" : "crashed";
  return out;
}

}  // namespace vk::test
