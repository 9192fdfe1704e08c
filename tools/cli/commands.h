// The maintenance tool's commands. Each takes the arguments after its name and
// returns the exit status: 0 done, 1 failed, 2 bad arguments.
#pragma once
#include <string>
#include <vector>

#include "base/language.h"
#include "base/progress.h"
#include "events/interpolation.h"
#include "events/site.h"

namespace vk::tool {

using Args = std::vector<std::string>;

int MakeBinaryFilesCommand(const Args& args);
int ComputeCommand(const Args& args);
int PhasePicturesCommand(const Args& args);
int RenderCommand(const Args& args);
int DayCommand(const Args& args);
int PlacesCommand(const Args& args);
int IcsCommand(const Args& args);
int EclipsesCommand(const Args& args);
int TableCommand(const Args& args);

// The language of what the commands list and write (day, ics, render): set
// once by main from --lang or the locale, before any command runs.
void SetToolLanguage(Language language);
Language ToolLanguage();

// An application object for fonts, painting and the translations of the
// tool's language; headless unless a platform is chosen. Made once.
void EnsureGuiApplication();

// Prints a status text to stderr, one line each, when stderr is a terminal
// or --verbose was given (SetVerbose, by main before any command runs);
// otherwise nothing.
void PrintProgress(std::string_view text, StatusColour colour);
void SetVerbose(bool on);
// True when progress is shown (stderr a terminal, or --verbose).
bool ProgressShown();

class Options;
// --place (a place of the tz database: its latitude, longitude and zone),
// --lat, --lon (degrees, default the place's or 47.5 and 7.5), --zone (row of
// the zone table, default 16: the classic rule) and --tz (a real zone).
// `place_name`, when given, receives the place's city name (empty without --place).
// Throws: UsageError when malformed, out of range or naming no place or zone;
// Error when --place or --tz is given and there is no tz database.
Site SiteOptions(Options& opts, std::string* place_name = nullptr);
// --interpolation classic|precise (default precise).
// Throws: UsageError for any other value.
Interpolation InterpolationOption(Options& opts);

// Thrown for bad arguments; main prints it with the usage and exits with 2.
struct UsageError {
  std::string text;
};

}  // namespace vk::tool
