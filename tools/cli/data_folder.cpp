#include "data_folder.h"

#include <string>

#include "base/atomic_file.h"
#include "base/platform.h"
#include "events/recompute.h"
#include "ephemeris/period.h"
#include "events/phase_table.h"
#include "options.h"

namespace vk::tool {

DataFolder TakeDataFolder(Options& opts) {
  DataFolder folder;
  std::error_code ec;
  if (const std::string dir = opts.folder("--dir", {}); !dir.empty()) {
    opts.check_folders();
    folder.dir = dir;
  } else if (std::filesystem::exists(kPhaseFileName, ec) || std::filesystem::exists(kCoefficientFileName, ec)) {
    folder.dir = ".";
  } else {
    const std::filesystem::path exe = ExecutablePath();
    const std::filesystem::path installed = exe.parent_path().parent_path() / "share" / "vesperkalend";
    folder.dir = !exe.empty() && (std::filesystem::exists(installed / kPhaseFileName, ec) ||
                                  std::filesystem::exists(installed / kCoefficientFileName, ec))
                     ? installed
                     : ".";
  }
  // An installation's or a read-only data folder keeps the event log in the user's data folder, as the window does.
  folder.log_dir = EventLogFolder(folder.dir);
  if (folder.log_dir != folder.dir) std::filesystem::create_directories(folder.log_dir, ec);
  CheckWriteTarget(EventLogPath(folder.dir, folder.log_dir));  // before the computation, not after it
  return folder;
}

}  // namespace vk::tool
