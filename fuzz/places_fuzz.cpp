// The tz database's zone1970.tab and the search over its places. The first
// line of the input is the text searched for, the rest the table. A table
// gives places with good names and coordinates, or an Error; warnings and
// messages stay short and printable; the searches find what they promise.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/error.h"
#include "timecalc/places.h"
#include "timecalc/zone_file.h"

namespace {

bool Printable(std::string_view text, std::size_t limit) {
  if (text.size() > limit) return false;
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nl = input.find('\n');
  const std::string_view query = input.substr(0, nl);
  const std::string_view table = nl == std::string_view::npos ? std::string_view() : input.substr(nl + 1);
  vk::PlaceList list;
  try {
    list = vk::ParsePlaces(table);
  } catch (const vk::Error& e) {
    if (!Printable(e.what(), 400) || !Printable(e.file(), 100)) __builtin_trap();
    return 0;
  }
  if (list.places.empty() || list.warnings.size() > 11) __builtin_trap();
  for (const std::string& w : list.warnings)
    if (!Printable(w, 200)) __builtin_trap();
  std::vector<std::string> displays;
  for (const vk::Place& p : list.places) {
    if (!vk::IsZoneName(p.zone) || !(p.lat >= -90 && p.lat <= 90) || !(p.lon >= -180 && p.lon <= 180))
      __builtin_trap();
    displays.push_back(p.display);
  }
  const std::string key = vk::FoldForSearch(query);
  for (const vk::Place* p : vk::FindPlaces(list.places, query))
    if (vk::FoldForSearch(p->display).find(key) == std::string::npos) __builtin_trap();
  if (query.empty() && vk::FindPlaces(list.places, query).size() != list.places.size()) __builtin_trap();
  if (const vk::Place* p = vk::ChoosePlace(list.places, query))
    if (vk::FoldForSearch(p->display).find(key) == std::string::npos && vk::FoldForSearch(p->city) != key &&
        vk::FoldForSearch(p->zone) != key)
      __builtin_trap();
  const auto close = vk::CloseMatches(displays, query);
  if (close.size() != std::min<std::size_t>(5, displays.size())) __builtin_trap();
  return 0;
}
