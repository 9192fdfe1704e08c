// The data the build made (build/data), and folders that see it but keep
// their own event log.
#pragma once
#include <filesystem>

#include "ephemeris/ephemeris_data.h"
#include "events/phase_table.h"
#include "support/temp_dir.h"

namespace vk::test {

inline const std::filesystem::path kBuildData = VK_DATA_DIR;

// True when the nine binary files and the phase table are there.
inline bool HaveData() {
  for (int b = 0; b < kBodyCount; ++b)
    if (!std::filesystem::exists(kBuildData / BinaryFileName(b))) return false;
  return std::filesystem::exists(kBuildData / kPhaseFileName);
}

// A temporary folder with links to the nine binary files and the phase table.
struct Workspace {
  TempDir dir;
  Workspace() {
    for (int b = 0; b < kBodyCount; ++b)
      std::filesystem::create_symlink(std::filesystem::absolute(kBuildData / BinaryFileName(b)),
                                      dir / BinaryFileName(b));
    std::filesystem::create_symlink(std::filesystem::absolute(kBuildData / kPhaseFileName), dir / kPhaseFileName);
  }
};

}  // namespace vk::test
