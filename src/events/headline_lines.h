// The log lines of the headline events: one per eclipse, occultation and close approach.
#pragma once

#include <vector>

#include "basic_values.h"
#include "events/eclipses.h"
#include "events/event_line.h"
#include "events/site.h"

namespace vk {

// The new and full Moons (Julian days UT) among the Moon's site-independent
// events (PrepareFixedEvents); none when they are not found yet. Never fails
// except std::bad_alloc.
std::vector<double> SyzygyInstants(const EphemerisStore& eph, const BasicTable& basic);

// Appends to `out` one line per eclipse and occultation the site sees (at
// greatest eclipse, at the maximum at the site, at the disappearance) and
// per close approach (at the conjunction), in that order. `records`, when
// given, receives one LineRecord per line. Never fails except std::bad_alloc.
void AppendHeadlineLines(LogText& out, LineRecords* records, const GlobalHeadlines& global,
                         const SiteHeadlines& seen, const Site& site);

}  // namespace vk
