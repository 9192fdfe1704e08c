// Where a tool command finds the data and keeps the event log.
#pragma once
#include <filesystem>

namespace vk::tool {

class Options;

struct DataFolder {
  std::filesystem::path dir;      // the binary ephemerides and the phase table
  std::filesystem::path log_dir;  // the event log
};

// --dir DIR, or else the current folder when it holds the phase table or the
// coefficient file, or else the installed data beside the program
// (<exe>/../share/vesperkalend).
// The event log stays in the data folder when it can be written and is no
// installation's (…/share/vesperkalend), otherwise it goes to the user's data
// folder (~/.local/share/vesperkalend), as the window's does (EventLogFolder). Throws: UsageError for an empty --dir; Error when --dir is
// no folder or the event log's name there is refused (CheckWriteTarget); a
// folder without data fails later, when the data are read.
DataFolder TakeDataFolder(Options& opts);

}  // namespace vk::tool
