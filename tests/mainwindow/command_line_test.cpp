// --version and --help of the window program, answered without a window.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "programfiles/version_info.h"

namespace vk {
namespace {

struct Output {
  int status;
  std::string text;
};

Output Run_Program(const std::string& args) {
  // No display: the answers must not need one.
  const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" VK_PROGRAM "' " + args + " 2>&1";
  FILE* p = ::popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  const int rc = ::pclose(p);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

TEST(CommandLine, VersionIsTheVersionBlocks) {
  const std::string block = Read_Version_Info(VK_PROGRAM).FileVersion;
  ASSERT_FALSE(block.empty());
  for (const char* option : {"--version", "-v"}) {
    const Output o = Run_Program(option);
    EXPECT_EQ(o.status, 0) << option;
    EXPECT_EQ(o.text, "vesperkalend " + block + "\n") << option;
  }
}

TEST(CommandLine, HelpListsTheOptions) {
  for (const char* option : {"--help", "-h"}) {
    const Output o = Run_Program(option);
    EXPECT_EQ(o.status, 0) << option;
    for (const char* listed : {"--help", "--version", "-platform", "Nachtansicht", "vesperkalend-tool"})
      EXPECT_NE(o.text.find(listed), std::string::npos) << option << " lacks " << listed;
  }
}

}  // namespace
}  // namespace vk
