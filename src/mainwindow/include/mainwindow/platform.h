// The window's small layer over the operating system: waiting, folders, file
// type names and the program's icon.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>
#include <string>

#include <QIcon>

namespace vk {

// Waits `ms` milliseconds on a monotonic clock, giving up the time slice while
// waiting; processes no window messages. Returns: the milliseconds that passed.
std::int64_t Wait_ms(std::int64_t ms);

// Milliseconds passed from `start` to `now` on a counter that wraps at 2^32.
std::uint32_t Ticks_Passed(std::uint32_t start, std::uint32_t now);

// The folders of the user: settings ("…/Vesperkalend/" under the user's
// configuration folder) and screen dump ("…/Vesperkalend/" under the
// documents folder).
struct UserFolders {
  std::filesystem::path settings_dir;
  std::filesystem::path screendump_dir;
  std::filesystem::path log_dir;  // for the event log of an installation's or a read-only data folder
};
UserFolders DefaultUserFolders();

// Where the search for the shipped data looks, in this order:
// `<exe>/../data`, `<exe>/../share/vesperkalend`, the current folder.
std::vector<std::filesystem::path> DataFolderCandidates(const std::filesystem::path& executable);

// The outcome of the search: the first folder that holds all ten data files
// (nine binary ephemerides and the phase file) or the coefficient and
// constellation files the tables are made from, or a message naming the
// first file missing from the most complete folder and every folder looked
// in ("Vesperkalend_2022-2032_MOOMERVEN_Phase.txt: File not found in /a, /b or /c").
struct DataFolderSearch {
  std::optional<std::filesystem::path> folder;
  std::string problem;
};
DataFolderSearch FindDataFolder(const std::vector<std::filesystem::path>& candidates);

// The icon theme's name of the program's icon (as the desktop entry's Icon=).
inline constexpr const char* kIconName = "org.vesperkalend.Vesperkalend";

// The program's icon: the icon theme's, else the PNGs installed beside the
// program (<exe>/../share/icons/hicolor/<N>x<N>/apps/), else the emblem
// built into the program (pictures' ProgramEmblem). Null only in a build
// without the picture resources. Needs an application object.
QIcon Program_Icon(const std::filesystem::path& executable);

// The file's type name (its MIME comment), or nothing.
std::optional<std::string> FileTypeName(const std::string& path);

}  // namespace vk
