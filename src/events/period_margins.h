// The hours just before and after a period's rows and the events on them
// that fall on the period's first or last local day: the rows end at 02:00 UT
// on 1 January, so a day far from UT needs hours beyond them.
#pragma once
#include <memory>
#include <span>

#include "basic_values.h"
#include "ephemeris/ephemeris_store.h"
#include "events/almanac.h"
#include "events/event_line.h"

namespace vk {

// Hours of margin beyond each end of a period's rows: a zone 14 hours from
// UT, the refinement's rows and a few hours to spare.
inline constexpr int kMarginHours = 26;
// Rows of the period's own each margin also holds, so that an event close to
// the boundary is found from rows on both sides of it.
inline constexpr int kMarginOverlap = 6;
// How far from the first or last row an event of the period's own may lie
// and still be taken for the same event as a margin's.
inline constexpr double kSameEventHours = 1.0;

class PeriodMargins {
 public:
  PeriodMargins();

  // Takes the rows of both margins of `period` from `hour_rows` and prepares
  // their site-independent values and events. A margin whose hours cannot
  // be made (Error: beyond the coefficient file's span, or the file damaged)
  // stays empty. Never fails except std::bad_alloc.
  void Load(const tPeriod& period, const HourRowsFn& hour_rows);
  // No margins: the events of `period` are its own rows' alone (until a Load).
  void Clear(const tPeriod& period) {
    period_ = period;
    tried_ = before_.loaded = after_.loaded = false;
  }
  // Whether a Load for `period` was made since the last Clear, with or without success.
  bool Tried(const tPeriod& period) const { return tried_ && period_ == period; }
  // Whether the margin before the period's first row, and the one after its last, holds rows.
  bool Before() const { return before_.loaded; }
  bool After() const { return after_.loaded; }

  // Appends to `out` and `out_records` the events of the margins for `site`
  // (`light`: the golden hour's bounds too) that the period's own events
  // `pieces` (with `records`; one piece per body, then the headline and the
  // light piece) lack: those whose local day lies inside the period and which
  // lie before its first row or after its last, or within kSameEventHours of
  // them without an event of the same body and name that close in the
  // period's own. Nothing from a margin without rows. Never fails except std::bad_alloc.
  void AppendEvents(const EphemerisStore& own, const Site& site, Interpolation mode, bool light,
                    std::span<const LogText> pieces, std::span<const LineRecords> records, LogText& out,
                    LineRecords& out_records);

 private:
  struct Side {
    EphemerisStore eph{kMarginHours + kMarginOverlap};
    BasicTable basic{kMarginHours + kMarginOverlap};
    bool loaded = false;
  };
  Side before_, after_;
  tPeriod period_;
  bool tried_ = false;
};

}  // namespace vk
