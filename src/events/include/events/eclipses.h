// Eclipses, lunar occultations of the planets and close approaches: the
// sky's headline events. Lunar eclipses and close approaches are geocentric
// and found once per loaded period; solar eclipses and occultations are
// found for a site from topocentric apparent places.
#pragma once
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "ephemeris/ephemeris_store.h"
#include "events/site.h"

namespace vk {

inline constexpr double kNoInstant = std::numeric_limits<double>::quiet_NaN();

enum class LunarEclipseType { Penumbral, Partial, Total };
enum class SolarEclipseType { Partial, Annular, Total };

// What part of an event the site sees of a body that rises or sets during it.
enum class Visibility {
  Whole,        // the body is up from the first contact to the last
  RisesDuring,  // it rises during the event
  SetsDuring,   // it sets during the event
  RisesAndSets, // it rises and sets (or sets and rises) during the event
};

// Contacts of a lunar eclipse, in time order; NaN where the contact does not occur.
enum LunarContact { P1, U1, U2, U3, U4, P4, kLunarContacts };

struct LunarEclipse {
  LunarEclipseType type;
  double greatest;            // Julian day UT of greatest eclipse (centre closest to the shadow's axis)
  double penumbral_magnitude; // at greatest eclipse, fractions of the Moon's diameter
  double umbral_magnitude;    // negative for a penumbral eclipse
  std::array<double, kLunarContacts> contact;  // Julian days UT
  double First() const { return contact[P1]; }
  double Last() const { return contact[P4]; }
};

// A lunar eclipse as the site sees it: the Moon's altitude (degrees, centre,
// no refraction) at each contact and at greatest eclipse.
struct SiteLunarEclipse {
  LunarEclipse eclipse;
  std::array<double, kLunarContacts> altitude;
  double greatest_altitude;
  Visibility visibility;
};

// Contacts of a solar eclipse at the site; C2 and C3 only for a central one.
enum SolarContact { C1, C2, C3, C4, kSolarContacts };

struct SolarEclipse {
  SolarEclipseType type;      // at the site
  std::array<double, kSolarContacts> contact;  // Julian days UT; NaN where none
  double maximum;             // Julian day UT of the least distance of the centres
  double magnitude;           // fraction of the Sun's diameter covered at maximum
  double obscuration;         // fraction of the Sun's disc covered at maximum
  std::array<double, kSolarContacts> altitude;  // the Sun's altitude, degrees
  double maximum_altitude;
  Visibility visibility;
};

// The Moon covering a planet at the site: its centre at the Moon's limb.
struct Occultation {
  int planet;                 // body index (Mercury … Neptune)
  double disappearance, reappearance;  // Julian days UT
  double altitude_disappearance, altitude_reappearance;  // the Moon's, degrees
};

// A geocentric conjunction in ecliptic longitude of the Moon with a planet
// (closer than 5°) or of two planets (closer than 2°).
struct CloseApproach {
  int body, other;            // the Moon or the faster planet first
  double instant;             // Julian day UT
  double separation;          // degrees, the angular distance at that instant
};

inline constexpr double kMoonApproachLimit = 5.0;
inline constexpr double kPlanetApproachLimit = 2.0;

// The events of the period that do not depend on the site.
struct GlobalHeadlines {
  std::vector<LunarEclipse> lunar;
  std::vector<CloseApproach> approaches;
};

// Those the site sees: lunar eclipses, solar eclipses and occultations
// listed when some part happens with the body above the horizon (its upper
// limb above -34'), each in time order.
struct SiteHeadlines {
  Site site;  // whose they are
  std::vector<SiteLunarEclipse> lunar;
  std::vector<SolarEclipse> solar;
  std::vector<Occultation> occultations;
};

// An eclipse or occultation the site sees as its line in the event table
// and the calendar show it: from the first contact to the last, the
// contacts in time order ("P1", "greatest", "C1", "maximum", "disappearance"
// …) and the magnitude (umbral, or penumbral for a penumbral eclipse; the
// solar one at the site; NaN for an occultation).
struct HeadlineSpan {
  double line;   // the instant of its line: greatest eclipse, maximum, disappearance
  double first, last;
  std::vector<std::pair<std::string_view, double>> contacts;
  double magnitude;
};

// Every eclipse's and occultation's span, in the order of SiteHeadlines. Never fails except std::bad_alloc.
std::vector<HeadlineSpan> HeadlineSpans(const SiteHeadlines& seen);

// The span whose line lies within a second of `jd_ut`; nothing when none does.
// Never fails except std::bad_alloc.
std::optional<HeadlineSpan> HeadlineSpanAt(const SiteHeadlines& seen, double jd_ut);

// Every lunar eclipse and close approach of the loaded period. `syzygies`:
// the instants (Julian days UT) of the new and full Moons, where eclipses
// are searched. Never fails except std::bad_alloc.
GlobalHeadlines FindGlobalHeadlines(const EphemerisStore& eph, const std::vector<double>& syzygies);

// The site's lunar and solar eclipses and occultations. `syzygies` as above;
// `global` from FindGlobalHeadlines on the same tables. Never fails except std::bad_alloc.
SiteHeadlines FindSiteHeadlines(const EphemerisStore& eph, const std::vector<double>& syzygies,
                                const GlobalHeadlines& global, const Site& site);

}  // namespace vk
