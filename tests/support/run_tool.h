// Runs a program of the build as a user would, in a folder of the test's
// choosing, and keeps its exit status, standard output and standard error.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace vk::test {

struct ToolResult {
  int status = -1;   // exit status; -1 when the program did not exit normally
  std::string out;   // standard output
  std::string err;   // standard error
  std::string both() const { return out + err; }
};

// `program` with `args` (shell words) run in `cwd`.
inline ToolResult RunProgram(const std::string& program, const std::string& args, const std::string& cwd = ".") {
  TempDir errs;
  const std::string err_file = (errs / "stderr.txt").string();
  const std::string cmd = "cd '" + cwd + "' && '" + program + "' " + args + " 2>'" + err_file + "'";
  FILE* p = ::popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  const int rc = ::pclose(p);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out, ReadFile(err_file)};
}

#ifdef VK_TOOL
// The maintenance tool of the build.
inline ToolResult RunTool(const std::string& args, const std::string& cwd = ".") {
  return RunProgram(VK_TOOL, args, cwd);
}
#endif

}  // namespace vk::test
