// The daily phase table: picture indices of the Moon, Mercury and Venus.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>

namespace vk {

inline constexpr int kPhaseDays = 3653;  // 2022-01-01 … 2032-01-01, the documented decade
inline constexpr int kMaxPhaseDays = 3654;  // a decade with three leap days
inline constexpr const char* kPhaseFileName = "Vesperkalend_2022-2032_MOOMERVEN_Phase.txt";
// The most bytes read of a phase table (the shipped one holds 71 KB).
inline constexpr std::uint64_t kPhaseFileLimit = std::uint64_t{1} << 20;

#pragma pack(push, 1)
struct tPhaseData {
  double jd;              // Julian day of the day's 00:00
  std::uint8_t moon;      // 0 … 35
  std::uint8_t mercury;   // 0 … 35
  std::uint8_t venus;     // 1 … 36 (0: the cloud picture)
};
#pragma pack(pop)
static_assert(sizeof(tPhaseData) == 11);

// Entries 1 … kMaxPhaseDays of Phase_Tab (entry 0 unused). Phase_Count tells how
// many the file held; entries after it are zero.
struct PhaseTable {
  std::array<tPhaseData, kMaxPhaseDays + 1> Phase_Tab{};
  int Phase_Count = 0;
};

// Reads `days` (at most kMaxPhaseDays; 3653 for the documented decade) groups
// of a Julian day and three integers separated by blanks,
// tabs or line breaks (LF, CR LF or CR); anything after the last group is
// ignored. A file with fewer groups fills only those (Phase_Count tells how
// many) and zeroes the rest.
// Throws: Error "File not found", "Invalid numeric input: '…'" for a value
// that is not a number, or "'…' is outside the allowed range lo to hi" (Julian
// Date within a year of 1960-01-01 … 2060-01-01, Moon and Mercury 0 … 35,
// Venus 0 … 36), with "<file>, line L, column C" as the error's file (the
// groups before it stay).
void ReadPhaseTable(PhaseTable& table, const std::filesystem::path& path, int days = kPhaseDays);

}  // namespace vk
