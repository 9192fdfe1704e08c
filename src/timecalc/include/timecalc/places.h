// Places of the tz database's zone table (zone1970.tab): a zone's principal
// location with its coordinates, and the search over them.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

struct Place {
  std::string zone;     // "Europe/Berlin"
  std::string city;     // "Berlin"; "Buenos Aires" (underscores as blanks)
  double lat = 0;       // degrees, north positive
  double lon = 0;       // degrees, east positive
  std::string display;  // "Berlin — Europe/Berlin"
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

// The places of dir/zone1970.tab.
// Throws: Error "File not found" (the file named) when there is none, the
// errors of ReadWholeFile (a FIFO, a device, over kZoneFileLimit) and of
// ParsePlaces.
PlaceList ReadPlaces(const std::filesystem::path& dir);

// Text as the search compares it: ASCII letters in lower case, the accented
// Latin letters of UTF-8 without their accents ("Zürich" → "zurich", "ß" →
// "ss"), '_' as a blank. Never fails.
std::string FoldForSearch(std::string_view text);

// The places whose display text contains `text`, both folded, in table order.
// An empty text finds every place. Never fails.
std::vector<const Place*> FindPlaces(const std::vector<Place>& places, std::string_view text);

// The place a name chooses: the one whose city or zone name equals `text`
// (folded), else the only one whose display text contains it.
// Returns: empty when none or several fit. Never fails.
const Place* ChoosePlace(const std::vector<Place>& places, std::string_view text);

// The most characters of a text that CloseMatches compares (names are shorter).
inline constexpr std::size_t kCloseMatchLength = 64;

// Up to `count` of `candidates` closest to `text`, of which the first
// kCloseMatchLength bytes count (folded edit distance; ties in the order
// given). Never fails.
std::vector<std::string> CloseMatches(const std::vector<std::string>& candidates, std::string_view text,
                                      std::size_t count = 5);

}  // namespace vk
