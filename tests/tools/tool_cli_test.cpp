// The maintenance tool's arguments, exit statuses and messages.
#include <gtest/gtest.h>
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
  const Result r = RunTool("make-binary-files", dir.path().string());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.both().find("Writing binary files. Wait please..."), std::string::npos) << r.both();
  EXPECT_NE(r.both().find("_res/HORIZONS_daten_2022-2032_SUN.txt: File not found"), std::string::npos) << r.both();
}

TEST(ComputeCommand, MissingBinaryFilesFailWithTheFileNamed) {
  vk::test::TempDir dir;
  const Result r = RunTool("compute --dir '" + dir.path().string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.both().find("HORIZONS_daten_2022-2032_SUN.bin: File not found"), std::string::npos) << r.both();
  EXPECT_FALSE(std::filesystem::exists(dir / "Vesperkalend_2022-2032_Log.txt")) << "no log from a failed run";
}

}  // namespace
