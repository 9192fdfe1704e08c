// The maintenance tool's arguments, exit statuses and messages.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "ephemeris/ephemeris_data.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace {

using vk::test::RunTool;
using Result = vk::test::ToolResult;

TEST(ToolArguments, UnknownCommandsAndOptionsExitWith2) {
  EXPECT_EQ(RunTool("").status, 2);
  EXPECT_EQ(RunTool("fly-to-the-moon").status, 2);
  const Result r = RunTool("make-binary-files --speed 3");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.both().find("unknown argument '--speed'"), std::string::npos) << r.both();
  EXPECT_EQ(RunTool("--help").status, 0);
}

TEST(ToolArguments, ComputeRejectsMalformedAndOutOfRangeSites) {
  for (const char* bad : {"--lat 91", "--lat -90.5", "--lon 180.01", "--lat abc", "--zone 40", "--zone -1",
                          "--zone 1.5", "--lat", "--zone 16 --zone 17", "--dir"}) {
    const Result r = RunTool(std::string("compute ") + bad);
    EXPECT_EQ(r.status, 2) << bad << ": " << r.both();
  }
  const Result r = RunTool("compute --lat 100");
  EXPECT_NE(r.both().find("--lat: 100 is outside -90"), std::string::npos) << r.both();
}

TEST(ToolArguments, InterpolationIsClassicOrPrecise) {
  for (const char* cmd : {"compute", "day --date 2024-03-20", "render --date 2024-03-20 --out x.png"}) {
    const Result r = RunTool(std::string(cmd) + " --interpolation exact");
    EXPECT_EQ(r.status, 2) << cmd << ": " << r.both();
    EXPECT_NE(r.both().find("--interpolation: 'exact' is neither classic nor precise"), std::string::npos) << r.both();
    EXPECT_EQ(RunTool(std::string(cmd) + " --interpolation").status, 2) << cmd;
  }
  EXPECT_NE(RunTool("--help").both().find("--interpolation classic|precise"), std::string::npos);
}

TEST(MakeBinaryFilesCommand, MissingExportFailsWithTheFileNamed) {
  vk::test::TempDir dir;
  const Result r = RunTool("make-binary-files --verbose", dir.path().string());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.both().find("Writing binary files. Wait please..."), std::string::npos) << r.both();
  EXPECT_NE(r.both().find("_res/HORIZONS_daten_2022-2032_SUN.txt: File not found"), std::string::npos) << r.both();
}

// Progress lines only on a terminal (script(1) gives the tool one) or with
// --verbose anywhere on the line; the error is told either way.
TEST(ToolArguments, ProgressLinesOnATerminalOrWithVerbose) {
  vk::test::TempDir dir;
  const std::string d = dir.path().string();
  const struct {
    const char* label;
    Result run;
    bool progress;
  } cases[] = {
      {"stderr a file", RunTool("make-binary-files", d), false},
      {"--verbose after", RunTool("make-binary-files --verbose", d), true},
      {"--verbose before", RunTool("--verbose make-binary-files", d), true},
      {"a terminal", vk::test::RunProgram("script", "-qec \"'" VK_TOOL "' make-binary-files\" /dev/null", d), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.run.status, 1) << c.label << ": " << c.run.both();
    EXPECT_EQ(c.run.both().find("Writing binary files. Wait please...") != std::string::npos, c.progress)
        << c.label << ": " << c.run.both();
    EXPECT_NE(c.run.both().find("_SUN.txt: File not found"), std::string::npos) << c.label << ": " << c.run.both();
  }
}

TEST(ComputeCommand, MissingBinaryFilesFailWithTheFileNamed) {
  vk::test::TempDir dir;
  const Result r = RunTool("compute --dir '" + dir.path().string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.both().find("HORIZONS_daten_2022-2032_SUN.bin: File not found"), std::string::npos) << r.both();
  EXPECT_FALSE(std::filesystem::exists(dir / "Vesperkalend_2022-2032_Log.txt")) << "no log from a failed run";
}

// Every --out and --dir is checked before anything is computed (the folder
// holds no data, so a check after the computation would report the missing
// ephemerides instead): an empty name, a device, a FIFO, a missing folder.
// The special file stays, and nothing reports success.
TEST(ToolArguments, RefusedTargetsAreNamedBeforeAnyWork) {
  vk::test::TempDir dir;
  const std::string d = dir.path().string();
  ASSERT_EQ(::mkfifo((dir / "fifo.ics").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((dir / "fifo.pdf").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "logfifo");
  ASSERT_EQ(::mkfifo((dir / "logfifo" / "Vesperkalend_2022-2032_Log.txt").c_str(), 0644), 0);
  // With --verbose, so that a computation begun before the check would show.
  const std::string ics = "ics --verbose --from 2024-04-01 --to 2024-04-02 --dir '" + d + "' --out ";
  const std::string render = "render --verbose --month 2024-04 --dir '" + d + "' --out ";
  const struct Case {
    std::string args;
    int status;
    std::string text;
  } cases[] = {
      {ics + "''", 2, "--out: the file name is empty"},
      {ics + "/dev/null", 1, "/dev/null: Not a regular file (a character device)"},
      {ics + "'" + d + "/fifo.ics'", 1, d + "/fifo.ics: Not a regular file (a FIFO)"},
      {ics + "'" + d + "/no/such/x.ics'", 1, d + "/no/such/x.ics: No such file or directory"},
      {render + "''", 2, "--out: the file name is empty"},
      {render + "'" + d + "/fifo.pdf'", 1, d + "/fifo.pdf: Not a regular file (a FIFO)"},
      {"compute --verbose --dir '" + d + "/logfifo'", 1, d + "/logfifo/Vesperkalend_2022-2032_Log.txt: Not a regular file (a FIFO)"},
      {"compute --verbose --dir '" + d + "/missing'", 1, d + "/missing: File not found"},
      {"make-binary-files --dir '" + d + "/fifo.ics'", 1, d + "/fifo.ics: Not a folder"},
  };
  for (const Case& c : cases) {
    const Result r = RunTool(c.args, d);
    EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find(c.text), std::string::npos) << c.args << ": " << r.err;
    EXPECT_EQ(r.err.find("written"), std::string::npos) << c.args << ": " << r.err;
    EXPECT_EQ(r.err.find(".bin"), std::string::npos) << c.args << ": nothing computed before: " << r.err;
  }
  for (const char* fifo : {"fifo.ics", "fifo.pdf", "logfifo/Vesperkalend_2022-2032_Log.txt"})
    EXPECT_EQ(std::filesystem::status(dir / fifo).type(), std::filesystem::file_type::fifo) << fifo;
}

}  // namespace
