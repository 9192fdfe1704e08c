// --place and --tz: places and real zones from the system's tz database.
#pragma once
#include <memory>
#include <optional>

#include "timecalc/places.h"
#include "timecalc/zone_rule.h"

namespace vk::tool {

class Options;

// The places of the tz database, warnings for skipped lines printed once to
// stderr. Throws: Error (exit 1) naming the missing table when there is no
// tz database.
const std::vector<Place>& DatabasePlaces();

// --place NAME: the place it chooses, or empty when not given.
// Throws: UsageError (exit 2) naming an unknown or ambiguous place with up to
// five close matches; Error when there is no tz database.
std::optional<Place> PlaceOption(Options& opts);

// --tz NAME, else the place's zone when a place was given and `classic_row`
// is false: the zone's table. Returns: null for the classic rule.
// Throws: UsageError naming an unknown zone with up to five close matches, or
// --tz given with --zone; Error when there is no tz database or the zone file
// is damaged.
std::shared_ptr<const ZoneTable> ZoneOption(Options& opts, const std::optional<Place>& place, bool classic_row);

}  // namespace vk::tool
