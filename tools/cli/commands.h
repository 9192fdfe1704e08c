// The maintenance tool's commands. Each takes the arguments after its name and
// returns the exit status: 0 done, 1 failed, 2 bad arguments.
#pragma once
#include <string>
#include <vector>

#include "ephemeris/progress.h"
#include "events/site.h"

namespace vk::tool {

using Args = std::vector<std::string>;

int MakeBinaryFilesCommand(const Args& args);
int ComputeCommand(const Args& args);
int PhasePicturesCommand(const Args& args);
int RenderCommand(const Args& args);
int DayCommand(const Args& args);
int IcsCommand(const Args& args);

// Prints a status text to stderr, one line each.
void PrintProgress(std::string_view text, StatusColour colour);

class Options;
// --lat, --lon (degrees, default 47.5 and 7.5) and --zone (row of the zone table, default 16).
// Throws: UsageError when malformed or out of range.
Site SiteOptions(Options& opts);

// Thrown for bad arguments; main prints it with the usage and exits with 2.
struct UsageError {
  std::string text;
};

}  // namespace vk::tool
