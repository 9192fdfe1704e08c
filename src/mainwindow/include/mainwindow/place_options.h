// The chosen place and real zone, kept in the options file
// Vesperkalend-options.ini beside the settings file.
#pragma once
#include <filesystem>
#include <string>

#include "mainwindow/options_file.h"

namespace vk {

struct PlaceOptions {
  std::string place;  // "Sydney — Australia/Sydney"; empty: own coordinates
  std::string zone;   // "Australia/Sydney"; empty: the classic rule
};

// The place and zone of the options file at `ini`. A missing or unreadable
// file, or one without these keys, gives empty ones. Never fails.
PlaceOptions ReadPlaceOptions(const std::filesystem::path& ini);

// Writes the place and zone into the options file at `ini`, keeping its other
// keys: the file is written under a temporary name and renamed over it.
// Throws: Error (the file named) when it cannot be written.
void WritePlaceOptions(const std::filesystem::path& ini, const PlaceOptions& options);

}  // namespace vk
