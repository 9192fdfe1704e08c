#include "zone_options.h"

#include <iostream>

#include "base/error.h"
#include "commands.h"
#include "options.h"
#include "base/number_text.h"
#include "base/platform.h"
#include "timecalc/input_checks.h"
#include "timecalc/zone_file.h"

namespace vk::tool {
namespace {

std::string Listed(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
  return s;
}

std::vector<std::string> Displays(const std::vector<const Place*>& places) {
  std::vector<std::string> out;
  for (const Place* p : places) out.push_back(p->display);
  return out;
}

}  // namespace

const std::vector<Place>& DatabasePlaces() {
  static const PlaceList list = [] {
    const auto dir = ZoneInfoDir();
    try {
      PlaceList l = ReadPlaces(dir, FindTownList(ExecutablePath()));
      for (const std::string& w : l.warnings) std::cerr << "warning: " << w << "\n";
      return l;
    } catch (const Error& e) {
      // A damaged table is named with its line as it is; only a missing one means no database.
      if (std::string_view(e.what()) != kFileNotFound) throw;
      throw Error("no time-zone database (" + e.describe() + "); install the package tzdata or set TZDIR");
    }
  }();
  return list.places;
}

std::optional<Place> PlaceOption(Options& opts) {
  const auto name = opts.take("--place");
  if (!name) return std::nullopt;
  const auto& places = DatabasePlaces();
  if (const Place* p = ChoosePlace(places, *name)) return *p;
  const auto found = FindPlaces(places, *name);
  if (found.size() > 1) {
    const std::vector<std::string> shown = Displays({found.begin(), found.begin() + std::min<std::size_t>(5, found.size())});
    throw UsageError{"--place: " + QuoteInput(*name) + " fits " + std::to_string(found.size()) + " places: " + Listed(shown)};
  }
  throw UsageError{"--place: unknown place " + QuoteInput(*name) + "; close matches: " + Listed(Displays(ClosePlaces(places, *name)))};
}

std::shared_ptr<const ZoneTable> ZoneOption(Options& opts, const std::optional<Place>& place, bool classic_row) {
  const auto tz = opts.take("--tz");
  if (tz && classic_row) throw UsageError{"--tz and --zone exclude each other"};
  if (!tz && (!place || classic_row)) return nullptr;
  const std::string name = tz ? *tz : place->zone;
  const auto& places = DatabasePlaces();
  try {
    return std::make_shared<const ZoneTable>(ReadZoneTable(ZoneInfoDir(), name));
  } catch (const Error& e) {
    if (e.file() != name) throw;
    std::vector<std::string> zones;
    for (const Place& p : places) zones.push_back(p.zone);
    throw UsageError{"--tz: unknown time zone " + QuoteInput(name) + "; close matches: " + Listed(CloseMatches(zones, name))};
  }
}

int PlacesCommand(const Args& args) {
  // The text may be empty ("places ''"): every place.
  const bool has_text = !args.empty() && args.front().rfind("--", 0) != 0;
  const std::string text = has_text ? args.front() : std::string();
  Args rest(args.begin() + (has_text ? 1 : 0), args.end());
  Options(rest).finish();
  const auto& places = DatabasePlaces();
  const auto found = FindPlaces(places, text);
  if (found.empty())
    throw UsageError{"no place matches " + QuoteInput(text) + "; close matches: " + Listed(Displays(ClosePlaces(places, text)))};
  for (const Place* p : found)
    std::cout << p->display << "  " << FormatFixed(p->lat, 4) << "  " << FormatFixed(p->lon, 4) << "  " << p->zone
              << "\n";
  return 0;
}

}  // namespace vk::tool
