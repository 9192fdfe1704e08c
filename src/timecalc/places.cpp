#include "timecalc/places.h"

#include <algorithm>
#include <numeric>
#include <optional>

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

std::optional<std::string> ParseRow(std::string_view line, Place& p) {
  std::vector<std::string_view> f;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    f.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
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
  return std::nullopt;
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
  constexpr int kMaxWarnings = 10;
  PlaceList out;
  int number = 0, skipped = 0;
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
    Place p;
    if (const auto why = ParseRow(line, p)) {
      if (++skipped <= kMaxWarnings)
        out.warnings.push_back("zone1970.tab line " + std::to_string(number) + " skipped: " + *why);
      continue;
    }
    out.places.push_back(std::move(p));
  }
  if (skipped > kMaxWarnings)
    out.warnings.push_back("zone1970.tab: " + std::to_string(skipped - kMaxWarnings) + " more lines skipped");
  if (out.places.empty()) throw Error("Damaged table: no place in it", source);
  return out;
}

PlaceList ReadPlaces(const std::filesystem::path& dir) {
  const std::filesystem::path path = dir / "zone1970.tab";
  return ParsePlaces(ReadWholeFile(path, kZoneFileLimit), path.string());
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
  std::vector<const Place*> found;
  for (const Place& p : places)
    if (FoldForSearch(p.display).find(key) != std::string::npos) found.push_back(&p);
  return found;
}

const Place* ChoosePlace(const std::vector<Place>& places, std::string_view text) {
  const std::string key = FoldForSearch(text);
  if (key.empty()) return nullptr;
  for (const Place& p : places)
    if (FoldForSearch(p.city) == key || FoldForSearch(p.zone) == key) return &p;
  const auto found = FindPlaces(places, text);
  return found.size() == 1 ? found.front() : nullptr;
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
