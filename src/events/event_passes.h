// The event passes of one body: every event of the period, written as log lines.
#pragma once
#include <string>
#include <vector>

#include "ephemeris/ephemeris_store.h"
#include "basic_values.h"
#include "events/event_line.h"
#include "fixed_events.h"
#include "events/interpolation.h"
#include "events/site.h"

namespace vk {

// Runs the passes that apply to `body` (twilights, rise and set, transit,
// configurations, distances, seasons, declinations, Moon phases) in their
// fixed order over rows 1 … kEphemerisRows and appends one line per event,
// each pass in time order. Needs the basic values of `body` and of the Sun
// for `site`, and its observer constants `obs`.
// `mode` Precise refines the instants of twilights, rises, sets and transits
// found in the hourly windows (InstantRefiner); Classic keeps the instants
// of the windows. The site-independent passes' events are taken from
// basic.fixed_events(body) when it holds them. `records`, when given,
// receives one LineRecord per line appended (offsets from the start of `out`).
// `transits`, when given: the transits it holds are written when they were
// found for the site's longitude and `mode`, else they are found and kept
// in it. Never fails except std::bad_alloc.
void RunEventPasses(const EphemerisStore& eph, const BasicTable& basic, const Site& site, const ObserverConstants& obs,
                    int body, LogText& out, Interpolation mode, LineRecords* records = nullptr,
                    TransitMemo* transits = nullptr);

// The Sun's crossings of the golden hour's bounds (MGoldB, AGoldE at
// kGoldenHourLow, MGoldE, AGoldB at kGoldenHourHigh), found as the twilights
// are in `mode`, appended to `out` in that order, each level in time order.
// Needs the Sun's basic values for `site`. Never fails except std::bad_alloc.
void RunLightPasses(const EphemerisStore& eph, const BasicTable& basic, const Site& site, const ObserverConstants& obs,
                    LogText& out, Interpolation mode, LineRecords* records = nullptr);

// The events of the passes of `body` whose instants do not depend on the site
// (all but twilights, rise and set, transit), in the order RunEventPasses
// writes them. Never fails except std::bad_alloc.
FixedEvents FindFixedEvents(const EphemerisStore& eph, const BasicTable& basic, int body);

// Thresholds of the twilights (degrees) and of the rise and set (horizon altitude, degrees).
inline constexpr double kAstronomicalTwilight = -18.0;
inline constexpr double kNauticalTwilight = -12.0;
inline constexpr double kCivilTwilight = -6.0;
inline constexpr double kHorizonAltitude = -34.0 / 60.0;
// The bounds of the golden hour, the Sun's centre between them (degrees); the
// blue hour lies between the civil twilight and the lower one.
inline constexpr double kGoldenHourLow = -4.0;
inline constexpr double kGoldenHourHigh = 6.0;

}  // namespace vk
