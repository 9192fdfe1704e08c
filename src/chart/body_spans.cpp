// Where a body stands above the horizon (or the Sun above one of its levels)
// on the chosen day, taken from its own crossings around the day
// (circumpolar and never-rising days included).
#include <algorithm>

#include "chart/day_chart.h"

namespace vk {

namespace {

// +1 for a crossing of `body` upwards, -1 for one downwards, 0 for any other entry.
int Crossing(const tEventData& e, Body body, EventKind up, EventKind down) {
  if (e.body != BodyNames[body]) return 0;
  if (e.event == EventName(up)) return 1;
  if (e.event == EventName(down)) return -1;
  return 0;
}

}  // namespace

void Find_Up_Spans(const EventStore& store, double Sel_JD, Body body, tRiseSet& rs) {
  rs.Up_Spans = Find_Level_Spans(store, Sel_JD, body, EventKind::Aufgang, EventKind::Untergang, &rs.Picture_h);
  if (!rs.Picture_h && !rs.Up_Spans.empty() && rs.Up_Spans.front().first == 0.0) rs.Picture_h = 0.0;
}

std::vector<std::pair<double, double>> Find_Level_Spans(const EventStore& store, double Sel_JD, Body body,
                                                        EventKind up_kind, EventKind down_kind,
                                                        std::optional<double>* first_up) {
  std::vector<std::pair<double, double>> spans;
  if (first_up) first_up->reset();
  const auto Crossing = [&](const tEventData& e, Body b) { return vk::Crossing(e, b, up_kind, down_kind); };
  const int last = std::min(store.Event_Count, static_cast<int>(store.Event_Tab.size()) - 1);
  const auto at = [&](int n) -> const tEventData& { return store.Event_Tab[static_cast<std::size_t>(n)]; };
  const auto next_crossing = [&](int n) {
    for (int k = n + 1; k <= last; ++k)
      if (Crossing(at(k), body) != 0) return k;
    return 0;
  };
  const auto previous_crossing = [&](int n) {
    for (int k = n - 1; k >= 1; --k)
      if (Crossing(at(k), body) != 0) return k;
    return 0;
  };
  // When the body only grazes the horizon, the hourly scan finds one of the
  // two crossings and loses the other: two sets (or two rises) follow each
  // other. Such a crossing does not count; nor does the last of a run at the
  // table's end.
  const auto counts = [&](int n) {
    const int c = Crossing(at(n), body);
    if (c == 0) return false;
    if (const int next = next_crossing(n)) return Crossing(at(next), body) != c;
    const int previous = previous_crossing(n);
    return previous == 0 || Crossing(at(previous), body) != c;
  };

  // First entry of the day (or beyond the table's end).
  const int n0 = Find_Event(store, 1, Sel_JD, "", "").value_or(last + 1);
  // Above at 00:00 when the next crossing is a set; without one, when the
  // last crossing was a rise.
  int state = 0;
  for (int n = n0; n <= last && state == 0; ++n)
    if (counts(n)) state = -Crossing(at(n), body);
  for (int n = n0 - 1; n >= 1 && state == 0; --n)
    if (counts(n)) state = Crossing(at(n), body);
  bool up = state > 0;

  double from = 0.0;
  for (int n = n0; n <= last && at(n).jd_local < Sel_JD + 1.0; ++n) {
    if (!counts(n)) continue;
    const bool rise = Crossing(at(n), body) > 0;
    if (rise == up) continue;
    const double h = (at(n).jd_local - Sel_JD) * 24.0;
    if (rise) {
      from = h;
      if (first_up && !*first_up) *first_up = h;
    } else {
      spans.emplace_back(from, h);
    }
    up = rise;
  }
  if (up) spans.emplace_back(from, 24.0);
  return spans;
}

}  // namespace vk
