// The window's choices beyond the 39-byte settings file, kept in an INI file
// beside it (QSettings' INI format). Every part of the window that keeps a
// choice there reads and writes its own keys through these two functions.
#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/language.h"

namespace vk {

inline constexpr const char* kOptionsFileName = "Vesperkalend-options.ini";
// The most bytes read of the options file (it holds a few lines).
inline constexpr std::uint64_t kOptionsFileLimit = std::uint64_t{1} << 20;

// The values of `keys` ("Group/Name") in the options file at `path`. A
// missing, unreadable, malformed or oversized file, or one that is not a
// regular file, gives none; a missing key is left out. Never fails.
std::map<std::string, std::string> ReadOptionValues(const std::filesystem::path& path,
                                                    const std::vector<std::string>& keys);

// Sets `values` (key, text) in the options file at `path`, keeping every other
// key a readable file holds: the file is copied to a temporary of base
// (CreateTemporary: named and cleaned up as every temporary), changed there
// and renamed over `path` when complete.
// Throws: Error ("Cannot write the options file", a refused target as
// CheckWriteTarget says, or the system's text, with the file name) when it
// cannot be written; `path` is then unchanged.
void WriteOptionValues(const std::filesystem::path& path,
                       const std::vector<std::pair<std::string, std::string>>& values);

struct WindowOptions {
  bool precise_instants = true;  // "Exakte Zeiten": refined instants of rises, sets, transits and twilights
  // The three display check boxes as last chosen; empty: never chosen (the
  // documented defaults hold).
  std::optional<bool> twilights{}, rises{}, transits{};
  // The view menu's chart options as last chosen ("Fotografenlicht" and the
  // reading aids); empty: never chosen.
  std::optional<bool> fotolicht{}, leaders{}, legend{}, now_line{};
  std::string geometry{};  // the window's size, place and state (QWidget::saveGeometry, base64); empty: none
  // "Datei" → "Bildschirmfoto beim Beenden speichern"; empty: never chosen (on).
  std::optional<bool> screendump{};
};

// The view options of the file; a key without a valid value gives its default. Never fails.
WindowOptions ReadOptionsFile(const std::filesystem::path& path);

// Writes the view options (the check boxes, the geometry and the screen
// dump's choice only when given), as WriteOptionValues.
void WriteOptionsFile(const std::filesystem::path& path, const WindowOptions& options);

// The language chosen in "Ansicht" → "Sprache" ("View/Language": de or en);
// empty when none was chosen or the value is neither. Never fails.
std::optional<Language> ReadLanguageOption(const std::filesystem::path& path);

// Keeps `language` as the window's choice, as WriteOptionValues.
void WriteLanguageOption(const std::filesystem::path& path, Language language);

}  // namespace vk
