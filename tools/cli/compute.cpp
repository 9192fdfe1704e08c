#include <chrono>
#include <cstdio>
#include <iostream>

#include "base/atomic_file.h"
#include "commands.h"
#include "timecalc/time_zones.h"
#include "events/recompute.h"
#include "options.h"
#include "zone_options.h"
#include "base/number_text.h"
#include "timecalc/input_checks.h"

namespace vk::tool {

Site SiteOptions(Options& opts, std::string* place_name) {
  Site site;
  const std::optional<Place> place = PlaceOption(opts);
  if (place && place_name) *place_name = place->city;
  site.Site_nLat = opts.number("--lat", -90, 90).value_or(place ? place->lat : 47.5);
  site.Site_eLon = opts.number("--lon", -180, 180).value_or(place ? place->lon : 7.5);
  const auto zone = opts.integer("--zone", 0, kZoneCount - 1);
  site.Site_TZ_Hours = TimeZones[static_cast<std::size_t>(zone.value_or(kDefaultZone))].offset_hours;
  site.Site_Zone = ZoneOption(opts, place, zone.has_value());
  return site;
}

Interpolation InterpolationOption(Options& opts) {
  const auto text = opts.take("--interpolation");
  if (!text || *text == "precise") return Interpolation::Precise;
  if (*text == "classic") return Interpolation::Classic;
  throw UsageError{"--interpolation: " + QuoteInput(*text) + " is neither classic nor precise"};
}

int ComputeCommand(const Args& args) {
  Options opts(args);
  static Almanac almanac;  // about 300 MB: not on the stack
  almanac.site = SiteOptions(opts);
  almanac.interpolation = InterpolationOption(opts);
  const std::string dir = opts.folder("--dir");
  opts.finish();
  opts.check_folders();
  CheckWriteTarget(EventLogPath(dir));  // before the computation, not after it
  const auto start = std::chrono::steady_clock::now();
  RunRecomputationChain(almanac, dir, PrintProgress);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cerr << almanac.events.Event_Count << " events in " << FormatFixed(seconds, 3) << " s\n";
  return 0;
}

}  // namespace vk::tool
