// Places: the principal locations of the tz database's zone table
// (zone1970.tab) and the towns of the shipped town list (places.tsv), with
// their coordinates, zones and names, and the search over them.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

struct Place {
  std::string zone;     // "Europe/Berlin"
  std::string city;     // "Berlin"; "Buenos Aires" (underscores as blanks); "Vienna"
  double lat = 0;       // degrees, north positive
  double lon = 0;       // degrees, east positive
  std::string display;  // "Berlin — Europe/Berlin"; "Wien (Vienna) — Europe/Vienna"
  std::vector<std::string> names;  // every name it is found by: "Vienna", "Wien"
  std::string german;   // the German name where it differs from `city`
  std::string country;  // ISO 3166 code of a town ("AT"); empty for a zone's place without one
  std::string region;   // the state of a town where the list has states ("Bavaria")
  bool principal = false;  // a place of the zone table
};

struct PlaceList {
  std::vector<Place> places;          // in the order of the table
  // One per line skipped, "zone1970.tab line 7 skipped: ...", for the first
  // ten; then one "zone1970.tab: N more lines skipped".
  std::vector<std::string> warnings;
};

// The rows of a zone1970.tab text. Comment and blank lines are passed over;
// a row without three tab-separated fields, with malformed coordinates
// (±DDMM±DDDMM or ±DDMMSS±DDDMMSS) or a bad zone name is skipped with a
// warning (quoting at most 60 characters of it, control characters escaped).
// Throws: Error "Damaged table: control character in '…'" ("<source>, line
// N") for a line holding a control character other than TAB, which no text
// table holds; Error "Damaged table: no place in it" (`source`) when no row
// gives a place.
PlaceList ParsePlaces(std::string_view text, const std::string& source = "zone1970.tab");

// The towns of a town list text (places.tsv): after '#' comment lines one
// town a line of seven tab-separated fields: English name, German name (empty
// where the same), country code, state, latitude, longitude (degrees, decimal
// point), zone. A line with another number of fields, no name, a coordinate
// that is no number or beyond ±90/±180, or a bad zone name is skipped with a
// warning as in ParsePlaces. Throws: Error "Damaged table: control character
// in '…'" ("<source>, line N"); Error "Damaged table: no place in it".
PlaceList ParseTownList(std::string_view text, const std::string& source = "places.tsv");

// The zone table's places followed by the towns that are none of them. A town
// of a place's zone with the place's name (folded) gives the place its German
// name and other names, the place keeping its coordinates; a town within 30 km
// of such a place, whose name begins with the place's, does the same ("New
// York City"). Towns whose display text would repeat another's show their
// state or country ("Springfield, Illinois — America/Chicago"); one that
// would still repeat it is dropped. Never fails.
std::vector<Place> MergePlaces(std::vector<Place> zone_places, std::vector<Place> towns);

// The name of the town list in the data folder.
inline constexpr const char* kTownListName = "places.tsv";
// The most bytes a town list may have.
inline constexpr std::uintmax_t kTownListLimit = std::uintmax_t{8} << 20;

// The town list beside a program at `executable`: <dir>/../data/places.tsv (a
// build tree), then <dir>/../share/vesperkalend/places.tsv (installed); empty
// when neither is a file. Never fails.
std::filesystem::path FindTownList(const std::filesystem::path& executable);

// The places of dir/zone1970.tab.
// Throws: Error "File not found" (the file named) when there is none, the
// errors of ReadWholeFile (a FIFO, a device, over kZoneFileLimit) and of
// ParsePlaces.
PlaceList ReadPlaces(const std::filesystem::path& dir);

// The places of dir/zone1970.tab merged with the towns of `town_list`. An
// empty path, or a missing or damaged town list, leaves the zone table's
// places with a warning that says why. Throws: as ReadPlaces.
PlaceList ReadPlaces(const std::filesystem::path& dir, const std::filesystem::path& town_list);

// Text as the search compares it: ASCII letters in lower case, the accented
// Latin letters of UTF-8 without their accents ("Zürich" → "zurich", "ß" →
// "ss"), '_' as a blank. Never fails.
std::string FoldForSearch(std::string_view text);

// The places one of whose names or whose display text contains `text`, both
// folded: first those with a name equal to it, then those with a name that
// begins with it, then those with a word (after a blank, '-', '(' or '/') that
// begins with it, then the rest; in list order within each. The zone part of
// the display text ("Europe/Berlin") counts only when no place is found
// otherwise. An empty text finds every place. Never fails.
std::vector<const Place*> FindPlaces(const std::vector<Place>& places, std::string_view text);

// The place a name chooses: the first whose display text, one of its names or
// its zone name equals `text` (folded), else the only one FindPlaces finds.
// Returns: empty when none or several fit. Never fails.
const Place* ChoosePlace(const std::vector<Place>& places, std::string_view text);

// The most characters of a text that CloseMatches compares (names are shorter).
inline constexpr std::size_t kCloseMatchLength = 64;

// Up to `count` places closest to a name that finds none, of which the
// first kCloseMatchLength bytes count: the folded edit distance to the
// nearest of a place's names, or to the start of a name as long as the text
// plus one; ties in list order. Never fails.
std::vector<const Place*> ClosePlaces(const std::vector<Place>& places, std::string_view text, std::size_t count = 5);

// The place a first start opens on when the system's zone is `zone`: the
// zone table's place of that zone. None for Europe/Zurich, whose place the
// documented first site (47.5 N 7.5 E, the classic UTC+01:00) stands for, for
// an empty name and for a zone the table lacks. Never fails.
const Place* FirstStartPlace(const std::vector<Place>& places, std::string_view zone);

// Up to `count` of `candidates` closest to `text`, of which the first
// kCloseMatchLength bytes count (folded edit distance; ties in the order
// given). Never fails.
std::vector<std::string> CloseMatches(const std::vector<std::string>& candidates, std::string_view text,
                                      std::size_t count = 5);

}  // namespace vk
