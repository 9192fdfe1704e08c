#include "events/event_table.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "base/error.h"
#include "base/line_fields.h"
#include "base/parallel_for.h"
#include "base/whole_file.h"
#include "timecalc/input_checks.h"

namespace vk {

EventStore::EventStore() {
  // Address space for the whole capacity; pages are touched only as entries fill.
  Event_Tab.reserve(kEventCapacity + 1);
  Event_Tab.emplace_back();
}

namespace {

constexpr int kLogColumns = 11;  // each followed by a TAB

// Entries from … to of 1 … n that block t of `threads` takes.
std::pair<int, int> BlockOf(int n, unsigned t, unsigned threads) {
  return {1 + static_cast<int>(static_cast<long long>(n) * t / threads),
          static_cast<int>(static_cast<long long>(n) * (t + 1) / threads)};
}

// Entries 0 … n of the table made. Fresh pages are cleared by the kernel at
// their first touch, and a decade's entries take many megabytes: the room is
// touched by `threads` side by side first, the entries made after.
void MakeEntries(EventStore& store, int n, unsigned threads) {
  auto& tab = store.Event_Tab;
  const std::size_t want = static_cast<std::size_t>(n) + 1;
  if (tab.size() < want && want <= tab.capacity()) {
    std::byte* const room = reinterpret_cast<std::byte*>(tab.data() + tab.size());
    const std::size_t bytes = (want - tab.size()) * sizeof(tEventData);
    ParallelFor(static_cast<int>(threads), threads, [&](int t) {
      const std::size_t from = bytes * static_cast<std::size_t>(t) / threads;
      std::memset(room + from, 0, bytes * (static_cast<std::size_t>(t) + 1) / threads - from);
    });
  }
  while (tab.size() < want) tab.emplace_back();
}

// A number field inside [lo, hi]; an empty field followed by its TAB is "missing".
double Number(TabFields& p, double lo, double hi) {
  const std::string_view text = p.peek();
  const double v = InRange(ParseFloat(text), text, lo, hi);
  p.drop();
  return v;
}
double OptionalNumber(TabFields& p, FieldRange range) {
  if (p.empty_field()) {
    p.drop();
    return kMissing;
  }
  return Number(p, range.lo, range.hi);
}

// Fields 5 to 10: the numbers and the angle between them.
void ParseFieldsFiveToTen(TabFields& p, tEventData& e) {
  e.au = OptionalNumber(p, kAuRange);
  e.km = OptionalNumber(p, kKmRange);
  e.earth_radii = OptionalNumber(p, kEarthRadiiRange);
  if (p.empty_field()) {
    e.angle = {};
    p.drop();
  } else {
    e.angle = p.take();
  }
  e.diameter = static_cast<float>(OptionalNumber(p, kDiameterRange));
  e.magnitude = static_cast<float>(OptionalNumber(p, kMagnitudeRange));
}

// `local`: field 2 already read, or NaN.
void ParseFields(TabFields& p, tEventData& e, double local) {
  e.jd_ut = Number(p, kAcceptedFirstJD, kAcceptedLastJD);
  if (std::isnan(local)) {
    e.jd_local = Number(p, kAcceptedFirstJD, kAcceptedLastJD);
  } else {
    e.jd_local = local;
    p.drop();
  }
  e.body = p.take();
  e.event = p.take();
  ParseFieldsFiveToTen(p, e);
  e.note = p.rest();
}

// Throws: Error with "column N" as its file. `local`: field 2 as
// LocalDateOfLine read it, or NaN.
void ParseEventLine(std::string_view s, tEventData& e, double local = std::numeric_limits<double>::quiet_NaN()) {
  e.line = s;
  const auto tabs = static_cast<int>(std::count(s.begin(), s.end(), '\t'));
  if (tabs < kLogColumns)
    throw Error("Line has " + std::to_string(tabs) + " TAB-ended columns, " + std::to_string(kLogColumns) +
                    " expected: column " + std::to_string(tabs + 1) + " missing",
                "column " + std::to_string(tabs + 1));
  TabFields p(s);
  try {
    ParseFields(p, e, local);
  } catch (const Error& err) {
    throw Error(err.what(), "column " + std::to_string(p.column()));
  }
}


// Appends the lines of `text` to `lines`, each without its LF (a CR before it stays).
void SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
  lines.reserve(lines.size() + text.size() / 64);
  for (std::string_view rest = text; !rest.empty();) {
    const auto nl = rest.find('\n');
    lines.push_back(rest.substr(0, nl));
    rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
  }
}

// Room for `bytes` of text: from 1 MiB on an arena of 2 MiB pages, else the heap.
ArenaAllocator<char> RoomFor(std::size_t bytes) {
  constexpr std::size_t kArenaFrom = std::size_t{1} << 20;
  if (bytes < kArenaFrom) return {};
  return ArenaAllocator<char>(std::make_shared<LargeArena>(bytes + 64));
}

LogText Joined(std::span<const LogText> pieces) {
  std::size_t size = 0;
  for (const LogText& piece : pieces) size += piece.size();
  LogText text(RoomFor(size));
  text.reserve(size);
  for (const LogText& piece : pieces) text += piece;
  return text;
}

// ReadEventText on `text`, a view of the store's text.
void ParseEventText(EventStore& store, std::string_view text, const std::filesystem::path& path) {
  std::vector<std::string_view> lines;
  SplitLines(text, lines);
  const int n = static_cast<int>(std::min<std::size_t>(lines.size(), kEventCapacity));
  // The lines are parsed in blocks on the machine's cores; the first failing
  // line in file order decides, as if they were read one after another.
  const unsigned threads = std::min(2u, DefaultThreadCount());
  MakeEntries(store, n, threads);
  std::vector<int> first_bad(threads, n + 1);
  std::vector<std::string> bad_text(threads), bad_place(threads);
  auto parse = [&](unsigned t) {
    const auto [from, to] = BlockOf(n, static_cast<unsigned>(t), threads);
    for (int i = from; i <= to; ++i) {
      try {
        const std::string_view line = lines[static_cast<std::size_t>(i - 1)];
        try {
          ParseEventLine(WithoutLineEnd(line), store.Event_Tab[static_cast<std::size_t>(i)]);
        } catch (const Error& e) {
          first_bad[t] = i;
          bad_text[t] = e.what();
          bad_place[t] = e.file();
          return;
        }
      } catch (const std::bad_alloc&) {
        first_bad[t] = i;
        bad_text[t] = "Out of memory";
        return;
      }
    }
  };
  ParallelFor(static_cast<int>(threads), threads, [&](int t) { parse(static_cast<unsigned>(t)); });
  for (unsigned t = 0; t < threads; ++t) {
    if (first_bad[t] <= n) {
      // Entries before the failing line stay; the failing line is not counted.
      store.Event_Count = first_bad[t] - 1;
      std::string where = path.string() + ", line " + std::to_string(first_bad[t]);
      if (!bad_place[t].empty()) where += ", " + bad_place[t];
      throw Error(bad_text[t], where);
    }
  }
  store.Event_Count = n;
  if (lines.size() > static_cast<std::size_t>(kEventCapacity))
    throw Error(kRangeCheckError, path.string() + ", line " + std::to_string(kEventCapacity + 1));
}

// The bytes of `path`, in room of their own (see RoomFor).
LogText ReadLogFile(const std::filesystem::path& path) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  LogText text(RoomFor(ec ? 0 : static_cast<std::size_t>(size)));
  ReadWholeFile(path, kEventLogLimit, text);
  return text;
}

// ReadEventText on text already in its room.
void ReadKeptText(EventStore& store, LogText text, const std::filesystem::path& path) {
  store.Event_Count = 0;
  store.text.clear();
  store.text.push_back(std::move(text));
  ParseEventText(store, store.text.front(), path);
}

}  // namespace

void ReadEventLog(EventStore& store, const std::filesystem::path& path) {
  store.Event_Count = 0;
  ReadKeptText(store, ReadLogFile(path), path);
}

void ReadEventText(EventStore& store, std::string text, const std::filesystem::path& path) {
  LogText kept(text, RoomFor(text.size()));
  std::string().swap(text);
  ReadKeptText(store, std::move(kept), path);
}

namespace {

using SortKey = EventSortKey;
using KeyVector = EventSortKeys;

// Heap sort of a[1] … a[n] by jd_local; equal keys end in its own order.
void HeapSortKeys(KeyVector& a, int n) {
  int l = n / 2 + 1;
  int r = n;
  SortKey t{};
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
}

// Sorts [first, last) by jd_local (no NaN) by merging its ascending runs
// pairwise, round after round (the log holds one run per pass and body),
// between the range and `scratch`, a range of the same length.
void MergeRuns(KeyVector::iterator first, KeyVector::iterator last,
               KeyVector::iterator scratch) {
  const std::ptrdiff_t n = last - first;
  std::vector<std::ptrdiff_t> bounds = {0};
  for (std::ptrdiff_t i = 1; i < n; ++i)
    if (first[i].jd_local < first[i - 1].jd_local) bounds.push_back(i);
  bounds.push_back(n);
  auto before = [](const SortKey& x, const SortKey& y) { return x.jd_local < y.jd_local; };
  auto from = first, to = scratch;
  while (bounds.size() > 2) {
    std::vector<std::ptrdiff_t> merged = {0};
    std::size_t k = 0;
    for (; k + 2 < bounds.size(); k += 2) {
      std::merge(from + bounds[k], from + bounds[k + 1], from + bounds[k + 1], from + bounds[k + 2], to + bounds[k],
                 before);
      merged.push_back(bounds[k + 2]);
    }
    if (k + 2 == bounds.size()) {  // an odd run left over
      std::copy(from + bounds[k], from + n, to + bounds[k]);
      merged.push_back(n);
    }
    std::swap(from, to);
    bounds.swap(merged);
  }
  if (from != first) std::copy(from, from + n, first);
}

// Sorts a[1] … a[n], in file order (a[k].entry == k), by jd_local when no
// two keys are equal and none is NaN: then every sort gives the heap sort's
// order; two halves are sorted on two cores and merged. Returns: false, with
// a as it was, when some keys are equal or NaN.
bool SortDistinctKeys(KeyVector& a, int n, KeyVector& scratch) {
  for (int k = 1; k <= n; ++k)
    if (std::isnan(a[static_cast<std::size_t>(k)].jd_local)) return false;
  auto before = [](const SortKey& x, const SortKey& y) { return x.jd_local < y.jd_local; };
  // The scratch room is sized here, on the calling thread: memory that the
  // helper threads take stays with their heaps after they end.
  scratch.resize(static_cast<std::size_t>(n));
  const auto first = a.begin() + 1, middle = first + n / 2, last = first + n;
  ParallelFor(2, std::min(2u, DefaultThreadCount()), [&](int half) {
    if (half == 0)
      MergeRuns(first, middle, scratch.begin());
    else
      MergeRuns(middle, last, scratch.begin() + n / 2);
  });
  std::merge(first, middle, middle, last, scratch.begin(), before);
  bool distinct = true;
  for (std::size_t i = 1; i < scratch.size() && distinct; ++i)
    distinct = scratch[i - 1].jd_local < scratch[i].jd_local;
  if (distinct) {
    std::copy(scratch.begin(), scratch.end(), first);
  } else {  // back to file order: entry k holds place k
    for (const SortKey& key : scratch) a[static_cast<std::size_t>(key.entry)] = key;
  }
  return distinct;
}

// Sorts a[1] … a[n] (jd_local, entry) into the order the heap sort of whole
// records would give them: distinct keys have one order only, so any sort
// gives it; with equal keys the heap sort itself runs.
void SortKeys(KeyVector& a, int n, KeyVector& scratch) {
  if (!SortDistinctKeys(a, n, scratch)) HeapSortKeys(a, n);
}

}  // namespace

void SortEventTable(EventStore& store) {
  const int n = store.Event_Count;
  if (n < 2) return;
  // The sort runs on (jd_local, entry) pairs, which move exactly as the whole
  // records would; each record then moves once to its place.
  KeyVector& a = store.sort_keys;
  a.resize(static_cast<std::size_t>(n) + 1);
  for (int k = 1; k <= n; ++k) a[static_cast<std::size_t>(k)] = {store.Event_Tab[static_cast<std::size_t>(k)].jd_local, k};
  SortKeys(a, n, store.sort_scratch);
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

namespace {

// The Julian Date of field 2 of a log line as ParseFields reads it, or
// nothing when the line would not read.
std::optional<double> LocalDateOfLine(std::string_view line) {
  const auto tab1 = line.find('\t');
  if (tab1 == std::string_view::npos) return std::nullopt;
  const auto tab2 = line.find('\t', tab1 + 1);
  if (tab2 == std::string_view::npos) return std::nullopt;
  const std::optional<double> jd = TryParseFloat(line.substr(tab1 + 1, tab2 - tab1 - 1));
  if (!jd || !(*jd >= kAcceptedFirstJD && *jd <= kAcceptedLastJD)) return std::nullopt;
  return jd;
}

// ReadSortedEventLog on lines that all read: false, with entries of the
// store overwritten, when one does not.
bool ReadSortedLines(EventStore& store, const std::vector<std::string_view>& lines) {
  const int n = static_cast<int>(lines.size());
  const unsigned threads = std::min(2u, DefaultThreadCount());
  std::vector<char> failed(threads, 0);
  // The keys, blocks of lines on the machine's cores.
  KeyVector& a = store.sort_keys;
  a.resize(static_cast<std::size_t>(n) + 1);
  ParallelFor(static_cast<int>(threads), threads, [&](int t) {
    const auto [from, to] = BlockOf(n, static_cast<unsigned>(t), threads);
    for (int k = from; k <= to; ++k) {
      const std::optional<double> jd = LocalDateOfLine(lines[static_cast<std::size_t>(k - 1)]);
      if (!jd) {
        failed[static_cast<std::size_t>(t)] = 1;
        return;
      }
      a[static_cast<std::size_t>(k)] = {*jd, k};
    }
  });
  if (std::find(failed.begin(), failed.end(), 1) != failed.end()) return false;
  SortKeys(a, n, store.sort_scratch);
  MakeEntries(store, n, threads);
  // Each line is parsed straight into its sorted place, blocks of places on the machine's cores.
  ParallelFor(static_cast<int>(threads), threads, [&](int t) {
    const auto [from, to] = BlockOf(n, static_cast<unsigned>(t), threads);
    try {
      for (int p = from; p <= to; ++p) {
        const SortKey& key = a[static_cast<std::size_t>(p)];
        const std::string_view line = lines[static_cast<std::size_t>(key.entry - 1)];
        ParseEventLine(WithoutLineEnd(line), store.Event_Tab[static_cast<std::size_t>(p)], key.jd_local);
      }
    } catch (...) {
      failed[static_cast<std::size_t>(t)] = 1;
    }
  });
  if (std::find(failed.begin(), failed.end(), 1) != failed.end()) return false;
  store.Event_Count = n;
  return true;
}

}  // namespace

bool ReadSortedEventRecords(EventStore& store, std::vector<LogText>& pieces,
                            std::span<const LineRecords> records) {
  store.Event_Count = 0;
  if (pieces.size() != records.size()) return false;
  std::size_t count = 0;
  for (const LineRecords& r : records) count += r.size();
  if (count > static_cast<std::size_t>(kEventCapacity)) return false;
  const int n = static_cast<int>(count);
  // The keys in file order; entry k is line k − first[b] of piece b.
  KeyVector& a = store.sort_keys;
  a.resize(count + 1);
  std::vector<int> first(pieces.size() + 1, 1);
  int k = 0;
  for (std::size_t b = 0; b < pieces.size(); ++b) {
    for (const LineRecord& r : records[b]) {
      if (r.end == 0 || r.start + std::size_t{r.end} > pieces[b].size()) return false;
      ++k;
      a[static_cast<std::size_t>(k)] = {r.jd_local, k};
    }
    first[b + 1] = k + 1;
  }
  // Where entry k's record and its piece are, without reading the record.
  struct Line {
    const LineRecord* record;
    const char* piece;
  };
  auto line_of = [&](int entry) {
    std::size_t b = 0;
    while (entry >= first[b + 1]) ++b;
    return Line{&records[b][static_cast<std::size_t>(entry - first[b])], pieces[b].data()};
  };
  SortKeys(a, n, store.sort_scratch);
  const unsigned threads = std::min(2u, DefaultThreadCount());
  MakeEntries(store, n, threads);
  ParallelFor(static_cast<int>(threads), threads, [&](int t) {
    const auto [from, to] = BlockOf(n, static_cast<unsigned>(t), threads);
    // Records lie in file order: prefetched some places ahead.
    constexpr int kAhead = 8;
    for (int p = from; p <= to; ++p) {
      if (p + kAhead <= to) __builtin_prefetch(line_of(a[static_cast<std::size_t>(p + kAhead)].entry).record);
      const Line l = line_of(a[static_cast<std::size_t>(p)].entry);
      const LineRecord& r = *l.record;
      const std::string_view line(l.piece + r.start, r.end);
      tEventData& e = store.Event_Tab[static_cast<std::size_t>(p)];
      e.line = line;
      e.jd_ut = r.jd_ut;
      e.jd_local = r.jd_local;
      e.body = line.substr(kLineBodyAt, r.event_at - 1 - kLineBodyAt);
      e.event = line.substr(r.event_at, r.numbers_at - 1 - r.event_at);
      e.au = r.au;
      e.km = r.km;
      e.earth_radii = r.earth_radii;
      e.angle = line.substr(r.angle_at, r.angle_end - r.angle_at);
      e.diameter = r.diameter;
      e.magnitude = r.magnitude;
      e.note = line.substr(r.note_at);
    }
  });
  // The outer vectors alone change hands: every view stays valid.
  pieces.swap(store.text);
  store.Event_Count = n;
  return true;
}

void ReadSortedEventLog(EventStore& store, const std::filesystem::path& path) {
  store.Event_Count = 0;
  std::vector<LogText> text;
  text.push_back(ReadLogFile(path));
  ReadSortedEventText(store, std::move(text), path);
}

void ReadSortedEventText(EventStore& store, std::vector<std::string> pieces, const std::filesystem::path& path) {
  std::size_t size = 0;
  for (const std::string& piece : pieces) size += piece.size() + 64;
  const ArenaAllocator<char> room = RoomFor(size);
  std::vector<LogText> kept;
  kept.reserve(pieces.size());
  for (std::string& piece : pieces) {
    kept.emplace_back(piece, room);
    std::string().swap(piece);
  }
  ReadSortedEventText(store, std::move(kept), path);
}

void ReadSortedEventText(EventStore& store, std::vector<LogText> pieces, const std::filesystem::path& path) {
  store.Event_Count = 0;
  // Lines are found piece by piece when no line runs on from one piece into the next.
  bool whole_lines = true;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i)
    whole_lines = whole_lines && (pieces[i].empty() || pieces[i].back() == '\n');
  if (whole_lines) {
    store.text = std::move(pieces);
  } else {
    store.text.clear();
    store.text.push_back(Joined(pieces));
  }
  {
    std::vector<std::string_view> lines;
    for (const LogText& piece : store.text) SplitLines(piece, lines);
    if (lines.size() <= static_cast<std::size_t>(kEventCapacity) && ReadSortedLines(store, lines)) return;
  }
  // A log that does not read whole: read in file order, which names the first
  // fault and keeps the entries before it.
  if (store.text.size() != 1) {
    LogText joined = Joined(store.text);
    store.text.clear();
    store.text.push_back(std::move(joined));
  }
  ParseEventText(store, store.text.front(), path);
  SortEventTable(store);
}

}  // namespace vk
