// The tool's commands on hostile command lines and file systems: an empty
// folder name, --out naming a folder, a full file system, a read-only data
// folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "ephemeris/ephemeris_data.h"
#include "events/phase_table.h"
#include "support/temp_dir.h"

namespace {

struct Result {
  int status;
  std::string output;  // stdout and stderr
};

Result Shell(const std::string& cmd) {
  FILE* p = ::popen((cmd + " 2>&1").c_str(), "r");
  std::string out;
  char buf[4096];
  while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  const int rc = ::pclose(p);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

const std::string kTool = VK_TOOL;
const std::filesystem::path kData = VK_DATA_DIR;

// Runs `script` as root of a new user and mount namespace (its own mounts,
// gone when it ends); nothing when namespaces are not available here.
std::optional<Result> InNamespace(const std::string& script) {
  if (Shell("unshare -rm true").status != 0) return std::nullopt;
  return Shell("unshare -rm sh -c '" + script + "'");
}

// A folder holding links to the shipped data files.
void LinkData(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  for (int b = 0; b < vk::kBodyCount; ++b)
    std::filesystem::create_symlink(std::filesystem::absolute(kData / vk::BinaryFileName(b)),
                                    dir / vk::BinaryFileName(b));
  std::filesystem::create_symlink(std::filesystem::absolute(kData / vk::kPhaseFileName), dir / vk::kPhaseFileName);
}

TEST(ToolFaults, AnEmptyFolderNameIsRefused) {
  for (const std::string args : {"make-binary-files --dir ''", "compute --dir ''", "day --date 2024-03-01 --dir ''",
                                 "render --date 2024-03-01 --out a.png --dir ''",
                                 "phase-pictures moon --from '' --to x", "phase-pictures moon --from x --to ''"}) {
    const Result r = Shell("'" + kTool + "' " + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.output.find(": the folder name is empty"), std::string::npos) << args << "\n" << r.output;
  }
}

TEST(ToolFaults, OutNamingAFolderIsRefusedBeforeTheComputation) {
  vk::test::TempDir dir;
  std::filesystem::create_directories(dir / "chart.png");
  const Result r = Shell("'" + kTool + "' render --date 2024-03-01 --dir '" + kData.string() + "' --out '" +
                       (dir / "chart.png").string() + "'");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("--out: '" + (dir / "chart.png").string() + "' is a folder, not a file"), std::string::npos)
      << r.output;
  EXPECT_EQ(r.output.find("Computing"), std::string::npos) << "refused before any work";
}

TEST(ToolFaults, RenderWritesThroughItsOwnTemporary) {
  vk::test::TempDir dir;
  LinkData(dir / "data");
  // A folder standing where a fixed temporary name would go does not matter.
  std::filesystem::create_directories(dir / "out" / "chart.png.tmp");
  const Result r = Shell("'" + kTool + "' render --date 2024-03-01 --dir '" + (dir / "data").string() + "' --out '" +
                       (dir / "out" / "chart.png").string() + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir / "out")) ++files;
  EXPECT_EQ(files, 2) << "chart.png and the folder, no temporary";
  EXPECT_GT(std::filesystem::file_size(dir / "out" / "chart.png"), 1000u);
}

TEST(ToolFaults, RenderIntoAFullFileSystemSaysNoSpaceLeft) {
  vk::test::TempDir dir;
  LinkData(dir / "data");
  std::filesystem::create_directories(dir / "full");
  const auto r = InNamespace("mount -t tmpfs -o size=64k tmpfs " + (dir / "full").string() + " && '" + kTool +
                             "' render --date 2024-03-01 --dir " + (dir / "data").string() + " --out " +
                             (dir / "full" / "chart.png").string() + "; echo status $?; ls -A " +
                             (dir / "full").string());
  if (!r) GTEST_SKIP() << "no user namespaces here";
  EXPECT_NE(r->output.find("chart.png: No space left on device"), std::string::npos) << r->output;
  EXPECT_NE(r->output.find("status 1\n"), std::string::npos) << r->output;
  EXPECT_EQ(r->output.substr(r->output.find("status 1\n") + 9), "") << "nothing left in the full folder";
}

TEST(ToolFaults, DayAndRenderOnAReadOnlyDataFolderLogToTheUsersFolder) {
  vk::test::TempDir dir;
  LinkData(dir / "data");
  const std::string data = (dir / "data").string(), xdg = (dir / "xdg").string();
  const auto r = InNamespace("mount --bind " + data + " " + data + " && mount -o remount,ro,bind " + data +
                             " && XDG_DATA_HOME=" + xdg + " '" + kTool + "' day --date 2024-03-01 --dir " + data +
                             " && XDG_DATA_HOME=" + xdg + " '" + kTool + "' render --date 2024-03-01 --dir " + data +
                             " --out " + (dir / "c.bmp").string());
  if (!r) GTEST_SKIP() << "no user namespaces here";
  EXPECT_EQ(r->output.find("Read-only"), std::string::npos) << r->output;
  EXPECT_NE(r->output.find("Untergang"), std::string::npos) << r->output;
  EXPECT_TRUE(std::filesystem::exists(dir / "xdg" / "vesperkalend" / "Vesperkalend_2022-2032_Log.txt"));
  EXPECT_TRUE(std::filesystem::exists(dir / "c.bmp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "data" / "Vesperkalend_2022-2032_Log.txt"));
}

}  // namespace
