#include "timecalc/places.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <optional>
#include <set>

#include "base/error.h"
#include "base/whole_file.h"
#include "timecalc/input_checks.h"
#include "timecalc/zone_file.h"

namespace vk {
namespace {

// ±DD…: `digits` digits after the sign as degrees, minutes[, seconds].
std::optional<double> Coordinate(std::string_view s, std::size_t degree_digits, double limit) {
  if (s.size() != 1 + degree_digits + 2 && s.size() != 1 + degree_digits + 4) return std::nullopt;
  if (s[0] != '+' && s[0] != '-') return std::nullopt;
  for (std::size_t i = 1; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
  const auto num = [&](std::size_t at, std::size_t n) {
    int v = 0;
    for (std::size_t i = 0; i < n; ++i) v = v * 10 + (s[at + i] - '0');
    return v;
  };
  const int deg = num(1, degree_digits), min = num(1 + degree_digits, 2);
  const int sec = s.size() > 1 + degree_digits + 2 ? num(3 + degree_digits, 2) : 0;
  if (min >= 60 || sec >= 60) return std::nullopt;
  const double v = deg + min / 60.0 + sec / 3600.0;
  if (v > limit) return std::nullopt;
  return s[0] == '-' ? -v : v;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> f;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    f.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return f;
    start = tab + 1;
  }
}

std::optional<std::string> ParseRow(std::string_view line, Place& p) {
  const std::vector<std::string_view> f = Fields(line);
  if (f.size() < 3) return "fewer than three fields";
  const std::string_view c = f[1];
  const std::size_t split = c.find_first_of("+-", 1);
  if (split == std::string_view::npos) return "coordinates " + QuoteInput(c) + " malformed";
  const auto lat = Coordinate(c.substr(0, split), 2, 90);
  const auto lon = Coordinate(c.substr(split), 3, 180);
  if (!lat || !lon) return "coordinates " + QuoteInput(c) + " malformed";
  p.zone = std::string(f[2]);
  if (!IsZoneName(p.zone)) return "zone name " + QuoteInput(p.zone) + " malformed";
  p.lat = *lat;
  p.lon = *lon;
  const std::size_t slash = p.zone.rfind('/');
  p.city = p.zone.substr(slash == std::string::npos ? 0 : slash + 1);
  std::replace(p.city.begin(), p.city.end(), '_', ' ');
  p.display = p.city + " \u2014 " + p.zone;
  p.names = {p.city};
  p.principal = true;
  return std::nullopt;
}

std::optional<std::string> ParseTown(std::string_view line, Place& p) {
  const std::vector<std::string_view> f = Fields(line);
  if (f.size() != 7) return std::to_string(f.size()) + " fields instead of 7";
  if (f[0].empty()) return "no name";
  const auto lat = TryParseFloat(f[4]), lon = TryParseFloat(f[5]);
  if (!lat || !lon || std::fabs(*lat) > 90 || std::fabs(*lon) > 180)
    return "coordinates " + QuoteInput(f[4]) + " " + QuoteInput(f[5]) + " malformed";
  p.zone = std::string(f[6]);
  if (!IsZoneName(p.zone)) return "zone name " + QuoteInput(p.zone) + " malformed";
  p.city = std::string(f[0]);
  p.german = f[1] == f[0] ? std::string() : std::string(f[1]);
  p.country = std::string(f[2]);
  p.region = std::string(f[3]);
  p.lat = *lat;
  p.lon = *lon;
  p.names = {p.city};
  if (!p.german.empty()) p.names.push_back(p.german);
  return std::nullopt;
}

// "Wien (Vienna)" for a place with a German name of its own, else the name.
std::string ShownName(const Place& p) { return p.german.empty() ? p.city : p.german + " (" + p.city + ")"; }

double DistanceKm(const Place& a, const Place& b) {
  constexpr double kRad = 3.14159265358979323846 / 180;
  const double h = std::pow(std::sin((b.lat - a.lat) * kRad / 2), 2) +
                   std::cos(a.lat * kRad) * std::cos(b.lat * kRad) * std::pow(std::sin((b.lon - a.lon) * kRad / 2), 2);
  return 12742.0 * std::asin(std::min(1.0, std::sqrt(h)));
}

// Whether the town (its names folded) is the zone table's place (its city
// folded) under another of its names.
bool SameAs(const Place& town, const std::vector<std::string>& town_names, const Place& place, const std::string& city) {
  for (const std::string& t : town_names) {
    if (t == city) return true;
    if (t.rfind(city + " ", 0) == 0 && DistanceKm(town, place) < 30) return true;
  }
  return false;
}

// Lines of a table text: each (number, line) without its CR, comments and
// blank lines passed over; a control character other than TAB is a damaged table.
template <typename F>
void ForEachRow(std::string_view text, const std::string& source, F&& row) {
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // No text file: a control character (other than TAB) in a line.
    for (const char ch : line)
      if ((static_cast<unsigned char>(ch) < 0x20 && ch != '\t') || ch == 0x7F)
        throw Error("Damaged table: control character in " + QuoteInput(line), source + ", line " + std::to_string(number));
    if (line.empty() || line.front() == '#') continue;
    row(number, line);
  }
}

template <typename Parse>
PlaceList ParseTable(std::string_view text, const std::string& source, const std::string& name, Parse parse) {
  constexpr int kMaxWarnings = 10;
  PlaceList out;
  int skipped = 0;
  ForEachRow(text, source, [&](int number, std::string_view line) {
    Place p;
    if (const auto why = parse(line, p)) {
      if (++skipped <= kMaxWarnings)
        out.warnings.push_back(name + " line " + std::to_string(number) + " skipped: " + *why);
      return;
    }
    out.places.push_back(std::move(p));
  });
  if (skipped > kMaxWarnings)
    out.warnings.push_back(name + ": " + std::to_string(skipped - kMaxWarnings) + " more lines skipped");
  if (out.places.empty()) throw Error("Damaged table: no place in it", source);
  return out;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diag = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diag = up;
    }
  }
  return row[b.size()];
}

}  // namespace

PlaceList ParsePlaces(std::string_view text, const std::string& source) {
  return ParseTable(text, source, "zone1970.tab", ParseRow);
}

PlaceList ParseTownList(std::string_view text, const std::string& source) {
  return ParseTable(text, source, kTownListName, ParseTown);
}

std::vector<Place> MergePlaces(std::vector<Place> zone_places, std::vector<Place> towns) {
  std::vector<Place> out = std::move(zone_places);
  const std::size_t principal = out.size();
  // The zone's places by zone, with their cities folded.
  std::multimap<std::string, std::size_t> by_zone;
  std::vector<std::string> cities(principal);
  for (std::size_t i = 0; i < principal; ++i) {
    by_zone.emplace(out[i].zone, i);
    cities[i] = FoldForSearch(out[i].city);
  }
  for (Place& town : towns) {
    std::vector<std::string> names;
    for (const std::string& n : town.names) names.push_back(FoldForSearch(n));
    Place* same = nullptr;
    for (auto [at, end] = by_zone.equal_range(town.zone); at != end && !same; ++at)
      if (SameAs(town, names, out[at->second], cities[at->second])) same = &out[at->second];
    if (!same) {
      town.principal = false;
      out.push_back(std::move(town));
      continue;
    }
    for (const std::string& n : town.names)
      if (std::find(same->names.begin(), same->names.end(), n) == same->names.end()) same->names.push_back(n);
    if (same->german.empty() && !town.german.empty() && FoldForSearch(town.german) != FoldForSearch(same->city))
      same->german = town.german;
    if (same->country.empty()) same->country = town.country;
    same->display = ShownName(*same) + " \u2014 " + same->zone;
  }
  // Towns whose display would repeat another's show their state or country.
  std::map<std::string, int> count;
  for (std::size_t i = principal; i < out.size(); ++i) out[i].display = ShownName(out[i]) + " \u2014 " + out[i].zone;
  for (const Place& p : out) ++count[p.display];
  std::set<std::string> shown;
  for (std::size_t i = 0; i < principal; ++i) shown.insert(out[i].display);
  std::vector<Place> kept(std::make_move_iterator(out.begin()), std::make_move_iterator(out.begin() + principal));
  for (std::size_t i = principal; i < out.size(); ++i) {
    Place& p = out[i];
    if (count[p.display] > 1) {
      const std::string where = p.region.empty() ? p.country : p.region;
      if (!where.empty()) p.display = ShownName(p) + ", " + where + " \u2014 " + p.zone;
    }
    if (shown.insert(p.display).second) kept.push_back(std::move(p));
  }
  return kept;
}

std::filesystem::path FindTownList(const std::filesystem::path& executable) {
  if (executable.empty()) return {};
  const std::filesystem::path dir = executable.parent_path();
  for (const std::filesystem::path& p : {dir / ".." / "data" / kTownListName, dir / ".." / "share" / "vesperkalend" / kTownListName}) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(p, ec)) return p.lexically_normal();
  }
  return {};
}

PlaceList ReadPlaces(const std::filesystem::path& dir) {
  const std::filesystem::path path = dir / "zone1970.tab";
  return ParsePlaces(ReadWholeFile(path, kZoneFileLimit), path.string());
}

PlaceList ReadPlaces(const std::filesystem::path& dir, const std::filesystem::path& town_list) {
  PlaceList out = ReadPlaces(dir);
  if (town_list.empty()) {
    out.warnings.push_back(std::string("no town list ") + kTownListName + ": the zone table's places alone");
    return out;
  }
  try {
    PlaceList towns = ParseTownList(ReadWholeFile(town_list, kTownListLimit), town_list.string());
    out.warnings.insert(out.warnings.end(), towns.warnings.begin(), towns.warnings.end());
    out.places = MergePlaces(std::move(out.places), std::move(towns.places));
  } catch (const Error& e) {
    out.warnings.push_back("town list " + e.describe() + ": the zone table's places alone");
  }
  return out;
}

std::string FoldForSearch(std::string_view text) {
  // Latin-1 letters U+00C0 … U+00FF (UTF-8 C3 80 … C3 BF) without accents.
  static constexpr const char* kBase[64] = {
      "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
      "d", "n", "o", "o", "o", "o", "o", "x", "o", "u", "u", "u", "u", "y", "th", "ss",
      "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
      "d", "n", "o", "o", "o", "o", "o", "/", "o", "u", "u", "u", "u", "y", "th", "y"};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0xC3 && i + 1 < text.size()) {
      const unsigned char d = static_cast<unsigned char>(text[i + 1]);
      if (d >= 0x80 && d <= 0xBF) {
        out += kBase[d - 0x80];
        ++i;
        continue;
      }
    }
    if (c >= 'A' && c <= 'Z') out += static_cast<char>(c - 'A' + 'a');
    else if (c == '_') out += ' ';
    else out += static_cast<char>(c);
  }
  return out;
}

std::vector<const Place*> FindPlaces(const std::vector<Place>& places, std::string_view text) {
  const std::string key = FoldForSearch(text);
  std::vector<std::pair<int, const Place*>> ranked;
  for (const Place& p : places) {
    int rank = 4;
    for (const std::string& n : p.names) {
      const std::string name = FoldForSearch(n);
      if (name == key) rank = std::min(rank, 0);
      else if (name.rfind(key, 0) == 0) rank = std::min(rank, 1);
      else
        for (std::size_t at = name.find(key); at != std::string::npos; at = name.find(key, at + 1))
          if (std::string_view(" -(/").find(name[at - 1]) != std::string_view::npos) rank = std::min(rank, 2);
    }
    if (rank == 4 && FoldForSearch(p.display).find(key) != std::string::npos) rank = 3;
    if (rank < 4) ranked.emplace_back(rank, &p);
  }
  // The zone's name counts only when no place's name or display text holds the text.
  const bool by_name = std::any_of(ranked.begin(), ranked.end(), [&](const auto& r) {
    return r.first < 3 || FoldForSearch(r.second->display.substr(0, r.second->display.rfind(" \u2014 "))).find(key) !=
                              std::string::npos;
  });
  if (by_name)
    std::erase_if(ranked, [&](const auto& r) {
      return r.first == 3 &&
             FoldForSearch(r.second->display.substr(0, r.second->display.rfind(" \u2014 "))).find(key) == std::string::npos;
    });
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const Place*> found;
  for (const auto& r : ranked) found.push_back(r.second);
  return found;
}

const Place* ChoosePlace(const std::vector<Place>& places, std::string_view text) {
  const std::string key = FoldForSearch(text);
  if (key.empty()) return nullptr;
  for (const Place& p : places) {
    if (FoldForSearch(p.display) == key || FoldForSearch(p.zone) == key) return &p;
    for (const std::string& n : p.names)
      if (FoldForSearch(n) == key) return &p;
  }
  const auto found = FindPlaces(places, text);
  return found.size() == 1 ? found.front() : nullptr;
}

std::vector<const Place*> ClosePlaces(const std::vector<Place>& places, std::string_view text, std::size_t count) {
  const std::string key = FoldForSearch(text.substr(0, kCloseMatchLength));
  std::vector<std::pair<std::size_t, const Place*>> scored;
  for (const Place& p : places) {
    std::size_t d = std::string::npos;
    for (const std::string& n : p.names) {
      const std::string name = FoldForSearch(n);
      d = std::min({d, EditDistance(key, name), EditDistance(key, name.substr(0, key.size())) + 1});
    }
    scored.emplace_back(d, &p);
  }
  std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const Place*> out;
  for (std::size_t k = 0; k < scored.size() && out.size() < count; ++k) out.push_back(scored[k].second);
  return out;
}

const Place* FirstStartPlace(const std::vector<Place>& places, std::string_view zone) {
  if (zone.empty() || zone == "Europe/Zurich") return nullptr;
  for (const Place& p : places)
    if (p.principal && p.zone == zone) return &p;
  return nullptr;
}

std::vector<std::string> CloseMatches(const std::vector<std::string>& candidates, std::string_view text,
                                      std::size_t count) {
  const std::string key = FoldForSearch(text.substr(0, kCloseMatchLength));
  std::vector<std::pair<std::size_t, std::size_t>> scored;  // (distance, index)
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const std::string c = FoldForSearch(candidates[i]);
    // A candidate that contains the text is as close as can be.
    // Else the nearer of the whole text and its city part (before " — ",
    // after the last '/').
    std::string city = c.substr(0, c.find(" \u2014 "));
    city = city.substr(city.rfind('/') == std::string::npos ? 0 : city.rfind('/') + 1);
    const std::size_t d =
        c.find(key) != std::string::npos ? 0 : std::min(EditDistance(key, c), EditDistance(key, city));
    scored.emplace_back(d, i);
  }
  std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  for (std::size_t k = 0; k < scored.size() && out.size() < count; ++k) out.push_back(candidates[scored[k].second]);
  return out;
}

}  // namespace vk
