#include "events/event_table.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "base/whole_file.h"
#include "base/error.h"
#include "base/line_fields.h"
#include "base/parallel_for.h"
#include "timecalc/numtext.h"

namespace vk {

EventStore::EventStore() {
  // Address space for the whole capacity; pages are touched only as entries fill.
  Event_Tab.reserve(kEventCapacity + 1);
  Event_Tab.emplace_back();
}

namespace {

double Number(TabFields& p) { return ParseFloat(p.take()); }
double OptionalNumber(TabFields& p) {
  if (p.empty_field()) {
    p.drop();
    return kMissing;
  }
  return Number(p);
}

void ParseEventLine(std::string_view s, tEventData& e) {
  e.line.assign(s);
  TabFields p(s);
  e.jd_ut = Number(p);
  e.jd_local = Number(p);
  e.body.assign(p.take());
  e.event.assign(p.take());
  e.au = OptionalNumber(p);
  e.km = OptionalNumber(p);
  e.earth_radii = OptionalNumber(p);
  if (p.empty_field()) {
    e.angle.clear();
    p.drop();
  } else {
    e.angle.assign(p.take());
  }
  e.diameter = static_cast<float>(OptionalNumber(p));
  e.magnitude = static_cast<float>(OptionalNumber(p));
  e.note.assign(p.rest());
}


}  // namespace

void ReadEventLog(EventStore& store, const std::filesystem::path& path) {
  store.Event_Count = 0;
  const std::string text = ReadWholeFile(path);
  std::vector<std::string_view> lines;
  lines.reserve(text.size() / 64);
  for (std::string_view rest = text; !rest.empty();) {
    const auto nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
  }
  const int n = static_cast<int>(std::min<std::size_t>(lines.size(), kEventCapacity));
  while (static_cast<int>(store.Event_Tab.size()) <= n) store.Event_Tab.emplace_back();

  // The lines are parsed in blocks on the machine's cores; the first failing
  // line in file order decides, as if they were read one after another.
  const unsigned threads = std::min(2u, DefaultThreadCount());
  std::vector<int> first_bad(threads, n + 1);
  std::vector<std::string> bad_text(threads);
  auto parse = [&](unsigned t) {
    const int from = 1 + static_cast<int>(static_cast<long long>(n) * t / threads);
    const int to = static_cast<int>(static_cast<long long>(n) * (t + 1) / threads);
    for (int i = from; i <= to; ++i) {
      try {
        ParseEventLine(lines[static_cast<std::size_t>(i - 1)], store.Event_Tab[static_cast<std::size_t>(i)]);
      } catch (const Error& e) {
        first_bad[t] = i;
        bad_text[t] = e.what();
        return;
      }
    }
  };
  ParallelFor(static_cast<int>(threads), threads, [&](int t) { parse(static_cast<unsigned>(t)); });
  for (unsigned t = 0; t < threads; ++t) {
    if (first_bad[t] <= n) {
      // Entries before the failing line stay; the failing line is not counted.
      store.Event_Count = first_bad[t] - 1;
      throw Error(bad_text[t], path.string() + ", line " + std::to_string(first_bad[t]));
    }
  }
  store.Event_Count = n;
  if (lines.size() > static_cast<std::size_t>(kEventCapacity))
    throw Error(kRangeCheckError, path.string() + ", line " + std::to_string(kEventCapacity + 1));
}

void SortEventTable(EventStore& store) {
  const int n = store.Event_Count;
  if (n < 2) return;
  // The heap sort runs on (jd_local, entry) pairs, which move exactly as the
  // whole records would; each record then moves once to its place. The order,
  // equal keys included, is the heap sort's.
  struct Key {
    double jd_local;
    int entry;
  };
  std::vector<Key> a(static_cast<std::size_t>(n) + 1);
  for (int k = 1; k <= n; ++k) a[static_cast<std::size_t>(k)] = {store.Event_Tab[static_cast<std::size_t>(k)].jd_local, k};
  int l = n / 2 + 1;
  int r = n;
  Key t{};
  for (;;) {
    if (l > 1) {
      --l;
      t = a[l];
    } else {
      t = a[r];
      a[r] = a[1];
      --r;
      if (r == 1) {
        a[1] = t;
        break;
      }
    }
    int i = l;
    int j = 2 * l;
    while (j <= r) {
      if (j < r && a[j].jd_local < a[j + 1].jd_local) ++j;
      if (t.jd_local < a[j].jd_local) {
        a[i] = a[j];
        i = j;
        j = 2 * j;
      } else {
        break;
      }
    }
    a[i] = t;
  }
  // Entry p receives the record that stood at a[p].entry: follow each cycle once.
  auto& tab = store.Event_Tab;
  std::vector<char> placed(static_cast<std::size_t>(n) + 1, 0);
  for (int start = 1; start <= n; ++start) {
    if (placed[static_cast<std::size_t>(start)] || a[static_cast<std::size_t>(start)].entry == start) continue;
    tEventData held = std::move(tab[static_cast<std::size_t>(start)]);
    int p = start;
    for (;;) {
      placed[static_cast<std::size_t>(p)] = 1;
      const int from = a[static_cast<std::size_t>(p)].entry;
      if (from == start) {
        tab[static_cast<std::size_t>(p)] = std::move(held);
        break;
      }
      tab[static_cast<std::size_t>(p)] = std::move(tab[static_cast<std::size_t>(from)]);
      p = from;
    }
  }
}

}  // namespace vk
