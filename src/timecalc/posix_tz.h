// The rule a TZif file keeps in its footer: a POSIX TZ string ("CET-1CEST,
// M3.5.0,M10.5.0/3"), which gives the transitions after the file's last one.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

struct PosixZone {
  // One local time: its abbreviation and offset from UT (seconds, east positive).
  struct Time {
    std::string abbreviation;
    int offset = 0;
  };
  // When summer time starts or ends: 'M' month.week.weekday, 'J' day 1 … 365
  // without 29 February, 'N' day 0 … 365 counting it; at `time` seconds of
  // local time in force before the switch (may be negative or past 24 h).
  struct Switch {
    char kind = 'M';
    int month = 0, week = 0, weekday = 0, day = 0;
    int time = 7200;
  };
  Time standard;
  std::optional<Time> summer;
  Switch start, end;  // only with summer time
};

// Offsets beyond this many seconds either side of UT are no local time.
inline constexpr int kMaxZoneOffset = 26 * 3600;

// The rule of a TZ string; empty `why` on success.
// Returns: nothing, with the reason in `why`, when the text is malformed.
std::optional<PosixZone> ParsePosixZone(std::string_view text, std::string& why);

// One switch of local time at a Unix instant (seconds UT).
struct PosixTransition {
  std::int64_t unix_time;
  bool summer;
};

// The switches of `zone` in the years `first_year` … `last_year`, in order of
// time. Never fails; none for a zone without summer time.
std::vector<PosixTransition> PosixTransitions(const PosixZone& zone, int first_year, int last_year);

}  // namespace vk
