#include "period_margins.h"

#include <cmath>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "base/error.h"
#include "compute.h"
#include "event_passes.h"

namespace vk {
namespace {

// The event name of a line whose record reads back.
std::string_view EventName(const LogText& piece, const LineRecord& r) {
  const std::string_view line(piece.data() + r.start, r.end);
  const std::size_t from = r.event_at;
  const std::size_t tab = line.find('\t', from);
  return line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
}

// An event of the period's own close to one of its ends.
struct EdgeEvent {
  int piece;
  std::string_view event;
  double jd_ut;
};

void Fill(EphemerisStore& eph, BasicTable& basic, const tPeriod& period, std::span<const tEphemerisData> records,
          int rows) {
  for (int body = 0; body < kBodyCount; ++body)
    for (int k = 1; k <= rows; ++k)
      eph.at(body, k) = StoredRow(records[static_cast<std::size_t>(body) * static_cast<std::size_t>(rows) +
                                          static_cast<std::size_t>(k - 1)]);
  eph.set_rows(period, rows);
  // The Sun's rows before the other bodies'.
  for (int body = 0; body < kBodyCount; ++body) PrepareBasicValues(eph, body, basic);
  for (int body = 0; body < kBodyCount; ++body) PrepareFixedEvents(eph, basic, body);
}

}  // namespace

PeriodMargins::PeriodMargins() = default;

void PeriodMargins::Load(const tPeriod& period, const HourRowsFn& hour_rows) {
  Clear(period);
  tried_ = true;
  constexpr int rows = kMarginHours + kMarginOverlap;
  constexpr std::size_t side_records = std::size_t{rows} * kBodyCount;
  // Hours counted from 00:00 UT of the period's first day; its last row is hour period.rows() − 1.
  const std::pair<int, int> hours[] = {{-kMarginHours, kMarginOverlap},
                                       {period.rows() - kMarginOverlap, period.rows() + kMarginHours}};
  Side* const sides[] = {&before_, &after_};
  // Each side on its own (a few coefficient records each), so that one
  // beyond the coefficients leaves the other.
  for (std::size_t i = 0; i < 2; ++i) {
    try {
      const std::vector<tEphemerisData> records = hour_rows(period, std::span(hours).subspan(i, 1));
      if (records.size() != side_records) continue;
      Fill(sides[i]->eph, sides[i]->basic, period, records, rows);
      sides[i]->loaded = true;
    } catch (const Error&) {
      // beyond the coefficients, or a damaged file: this side stays empty
    }
  }
}

void PeriodMargins::AppendEvents(const EphemerisStore& own, const Site& site, Interpolation mode, bool light,
                                 std::span<const LogText> pieces, std::span<const LineRecords> records,
                                 LogText& out, LineRecords& out_records) {
  if (!(before_.loaded || after_.loaded) || own.rows() < 1) return;
  const double first_row = own.at(Sun, 1).jd, last_row = own.at(Sun, own.rows()).jd;
  const double same = kSameEventHours / 24;
  // The period's own events within kSameEventHours of its ends.
  std::vector<EdgeEvent> edge;
  for (std::size_t p = 0; p < pieces.size() && p < records.size(); ++p)
    for (const LineRecord& r : records[p])
      if (r.end != 0 && (r.jd_ut < first_row + same || r.jd_ut > last_row - same))
        edge.push_back({static_cast<int>(p), EventName(pieces[p], r), r.jd_ut});
  const ObserverConstants obs = ComputeObserverConstants(site.Site_nLat);
  const double first_day = period_.first_jd(), end_day = period_.end_jd();
  LogText found;
  LineRecords found_records;
  // Keeps the lines of `found` that the period's own events lack, as lines of piece `piece`.
  auto keep = [&](int piece, bool before) {
    for (const LineRecord& r : found_records) {
      if (r.end == 0 || r.jd_local < first_day || r.jd_local >= end_day) continue;
      if (before ? r.jd_ut >= first_row + same : r.jd_ut <= last_row - same) continue;
      const std::string_view event = EventName(found, r);
      bool known = false;
      for (const EdgeEvent& e : edge)
        known = known || (e.piece == piece && e.event == event && std::fabs(e.jd_ut - r.jd_ut) < same);
      if (known) continue;
      LineRecord copy = r;
      copy.start = static_cast<std::uint32_t>(out.size());
      out.append(found.data() + r.start, std::size_t{r.end} + 2);  // with its CR LF
      out_records.push_back(copy);
    }
  };
  for (Side* side : {&before_, &after_}) {
    if (!side->loaded) continue;
    for (int b = 0; b < kBodyCount; ++b) {
      ComputeSiteValues(side->eph, site, obs, b, side->basic, 1, kLastRow, mode, light && b == Sun);
      found.clear();
      found_records.clear();
      RunEventPasses(side->eph, side->basic, site, obs, b, found, mode, &found_records);
      keep(b, side == &before_);
      if (b == Sun && light) {
        found.clear();
        found_records.clear();
        RunLightPasses(side->eph, side->basic, site, obs, found, mode, &found_records);
        keep(kLightPiece, side == &before_);
      }
    }
  }
}

}  // namespace vk
