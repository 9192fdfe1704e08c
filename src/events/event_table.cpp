#include "events/event_table.h"

#include <fstream>
#include <sstream>
#include <string_view>

#include "timecalc/errors.h"
#include "timecalc/numtext.h"

namespace vk {

EventStore::EventStore() {
  // Address space for the whole capacity; pages are touched only as entries fill.
  Event_Tab.reserve(kEventCapacity + 1);
  Event_Tab.emplace_back();
}

namespace {

class Pieces {
 public:
  explicit Pieces(std::string_view s) : s_(s) {}
  bool starts_with_tab() const { return !s_.empty() && s_.front() == '\t'; }
  std::string_view first() const { return s_.substr(0, s_.find('\t')); }
  void drop() {
    const auto tab = s_.find('\t');
    s_ = tab == std::string_view::npos ? std::string_view{} : s_.substr(tab + 1);
  }
  std::string_view take() {
    const std::string_view p = first();
    drop();
    return p;
  }
  double number() { return ParseFloat(take()); }
  double optional_number() {
    if (starts_with_tab()) {
      drop();
      return kMissing;
    }
    return number();
  }
  std::string_view rest() const { return s_; }

 private:
  std::string_view s_;
};

void ParseEventLine(std::string_view s, tEventData& e) {
  e.line.assign(s);
  Pieces p(s);
  e.jd_ut = p.number();
  e.jd_local = p.number();
  e.body.assign(p.take());
  e.event.assign(p.take());
  e.au = p.optional_number();
  e.km = p.optional_number();
  e.earth_radii = p.optional_number();
  if (p.starts_with_tab()) {
    e.angle.clear();
    p.drop();
  } else {
    e.angle.assign(p.take());
  }
  e.diameter = static_cast<float>(p.optional_number());
  e.magnitude = static_cast<float>(p.optional_number());
  e.note.assign(p.rest());
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(std::filesystem::exists(path) ? "Cannot open file" : kFileNotFound, path.string());
  std::ostringstream buf;
  buf << in.rdbuf();
  return std::move(buf).str();
}

}  // namespace

void ReadEventLog(EventStore& store, const std::filesystem::path& path) {
  store.Event_Count = 0;
  const std::string text = ReadAll(path);
  std::string_view rest = text;
  while (!rest.empty()) {
    const auto nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const int index = store.Event_Count + 1;
    if (index > kEventCapacity) throw Error(kRangeCheckError, path.string() + ", line " + std::to_string(index));
    if (static_cast<int>(store.Event_Tab.size()) <= index) store.Event_Tab.emplace_back();
    try {
      ParseEventLine(line, store.Event_Tab[static_cast<std::size_t>(index)]);
    } catch (const Error& e) {
      // The entry was counted before it was filled; a failed line is not kept.
      throw Error(e.what(), path.string() + ", line " + std::to_string(index));
    }
    store.Event_Count = index;
  }
}

void SortEventTable(EventStore& store) {
  const int n = store.Event_Count;
  if (n < 2) return;
  auto& a = store.Event_Tab;
  int l = n / 2 + 1;
  int r = n;
  tEventData t;
  for (;;) {
    if (l > 1) {
      --l;
      t = std::move(a[l]);
    } else {
      t = std::move(a[r]);
      a[r] = std::move(a[1]);
      --r;
      if (r == 1) {
        a[1] = std::move(t);
        return;
      }
    }
    int i = l;
    int j = 2 * l;
    while (j <= r) {
      if (j < r && a[j].jd_local < a[j + 1].jd_local) ++j;
      if (t.jd_local < a[j].jd_local) {
        a[i] = std::move(a[j]);
        i = j;
        j = 2 * j;
      } else {
        break;
      }
    }
    a[i] = std::move(t);
  }
}

}  // namespace vk
