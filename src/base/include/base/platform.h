// The calls to the system that standard C++ and plain POSIX file calls do not
// cover, in one place: large pages for the big arrays, the path of the
// running program, the user's folders and whether stderr is a terminal. Linux
// gives the first two; elsewhere a portable fallback is used (plain pages; no
// path).
#pragma once
#include <cstddef>
#include <filesystem>
#include <string>

namespace vk {

// The size and alignment of a huge page, and of every block MapLargeBlock maps.
inline constexpr std::size_t kLargePage = std::size_t{2} << 20;

// A fresh zero-filled block of `size` bytes (a multiple of kLargePage),
// aligned to kLargePage; with `huge`, backed by huge pages where the system
// has them (only advice: without them it is the same memory in small pages).
// Throws: std::bad_alloc.
void* MapLargeBlock(std::size_t size, bool huge);

// Returns a block of MapLargeBlock(size, …) to the system.
void UnmapLargeBlock(void* p, std::size_t size) noexcept;

// The path of the running program's file, or an empty path where the system
// does not tell it.
std::filesystem::path ExecutablePath();

// The program's folder in the user's cache: $XDG_CACHE_HOME/vesperkalend when
// that is an absolute path, else $HOME/.cache/vesperkalend, else
// ./.cache/vesperkalend. Made tables live there. Never fails.
std::filesystem::path UserCacheDir();

// The program's folder in the user's data: $XDG_DATA_HOME/vesperkalend when
// that is an absolute path, else $HOME/.local/share/vesperkalend, else
// ./.local/share/vesperkalend; the same for root. Never fails.
std::filesystem::path UserDataDir();

// Where the event log of the data in `data_dir` is kept: the user's data
// folder when `data_dir` is an installation's shared folder (a path ending in
// share/vesperkalend, written by no run, root's included) or cannot be
// written; else `data_dir` itself. Never fails.
std::filesystem::path EventLogFolder(const std::filesystem::path& data_dir);

// True when standard error is a terminal (progress lines are shown there).
bool StderrIsTerminal();
// The tz database name of the system's zone ("America/New_York"): TZ when
// set (a leading ':' dropped, a path taken from after its "zoneinfo/"), else
// the target of the link /etc/localtime from after its "zoneinfo/". Empty
// when TZ is empty or neither tells one. The text is not checked: TZ may hold
// a rule ("CET-1CEST") or a name no table has. Never fails.
std::string SystemZoneName();

}  // namespace vk
