// The system's time-zone database: its folder and a zone's transitions read
// from its compiled zone file (TZif).
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "timecalc/zone_rule.h"

namespace vk {

// The folder of the tz database: $TZDIR when set and not empty, else
// /usr/share/zoneinfo. Never fails.
std::filesystem::path ZoneInfoDir();

// The most bytes read of a zone file or of zone1970.tab (both hold a few KiB).
inline constexpr std::uint64_t kZoneFileLimit = std::uint64_t{1} << 20;

inline constexpr const char* kUnknownZone = "Unknown time zone";
inline constexpr const char* kNotZoneFile = "Not a time-zone file";
inline constexpr const char* kDamagedZoneFile = "Damaged time-zone file";

// The years whose transitions a real zone's table holds.
inline constexpr int kZoneFirstYear = 1959;
inline constexpr int kZoneLastYear = 2061;

// True when `name` can name a zone file: letters, digits, '_', '-', '+' and
// '/' between parts, no empty part, no "." or "..". Never fails.
bool IsZoneName(const std::string& name);

// The table of zone `name` ("Australia/Sydney") from dir/name: the state in
// force at the start of kZoneFirstYear, then every transition up to the end
// of kZoneLastYear, those after the file's last one from the rule of its
// footer (the POSIX TZ string of version 2 files and later: "slim" files
// keep only that).
// Throws: Error "Unknown time zone" (the zone named) when the name is no zone
// name or neither file nor folder of that name exists; otherwise errors name
// the file's path: those of ReadWholeFile (a FIFO, a device, a file over
// kZoneFileLimit), and those of ParseZoneFile.
ZoneTable ReadZoneTable(const std::filesystem::path& dir, const std::string& name);

// TZif bytes to a table for [jd_from, jd_to] (Julian days UT), as above.
// Throws: Error "Not a time-zone file" or "Read beyond end of file" when it
// is no complete TZif file; "Damaged time-zone file: <reason>" for a UT
// offset beyond ±26 hours, transitions out of order, an abbreviation that is
// not printable ASCII, a missing or malformed footer (`name` as the file).
ZoneTable ParseZoneFile(const std::string& bytes, const std::string& name, double jd_from, double jd_to);

}  // namespace vk
