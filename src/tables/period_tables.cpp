#include "tables/period_tables.h"

#include "tables/de405_extract.h"
#include "ephemeris/ephemeris_data.h"
#include "tables/exporter.h"

namespace vk::ephemgen {

tDataSpan DataSpanOfFolder(const std::filesystem::path &data_dir) {
  const std::filesystem::path file = data_dir / kCoefficientFileName;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {kDocumentedPeriod.first_year, kDocumentedPeriod.end_year};
  const auto [first_mjd, last_mjd] = De405Extract::ReadSpan(file);
  return SpanOfRecords(first_mjd, last_mjd);
}

bool HasPeriodTables(const std::filesystem::path &dir, const tPeriod &period) {
  std::error_code ec;
  for (int body = 0; body < kBodyCount; ++body)
    if (!std::filesystem::is_regular_file(dir / BinaryFileName(body, period), ec)) return false;
  return std::filesystem::is_regular_file(dir / PhaseFileName(period), ec);
}

std::filesystem::path PeriodTablesDir(const std::filesystem::path &data_dir, const std::filesystem::path &cache_dir,
                                      const tPeriod &period, const std::function<void(double)> &fraction,
                                      std::stop_token stop) {
  // The documented decade's own files, or a folder of those alone (a missing one is named when read).
  std::error_code ec;
  if (period == kDocumentedPeriod &&
      (HasPeriodTables(data_dir, period) || !std::filesystem::exists(data_dir / kCoefficientFileName, ec)))
    return data_dir;
  if (HasPeriodTables(cache_dir, period)) return cache_dir;
  tExportOptions o;
  o.extract = data_dir / kCoefficientFileName;
  o.constellations = data_dir / kConstellationFileName;
  o.out_dir = cache_dir;
  o.period = period;
  o.kind = ExportKind::Binary;
  o.interpolate_time_terms = !(period == kDocumentedPeriod);  // the documented decade keeps its bytes
  o.fraction = fraction;
  o.stop = std::move(stop);
  WriteExports(o);
  return cache_dir;
}

std::function<std::vector<tEphemerisData>(const tPeriod &, std::span<const std::pair<int, int>>)> HourRowsOfFolder(
    const std::filesystem::path &data_dir) {
  std::error_code ec;
  if (!std::filesystem::exists(data_dir / kCoefficientFileName, ec)) return {};
  return [data_dir](const tPeriod &period, std::span<const std::pair<int, int>> hours) {
    tExportOptions o;
    o.extract = data_dir / kCoefficientFileName;
    o.constellations = data_dir / kConstellationFileName;
    o.period = period;
    o.interpolate_time_terms = true;
    return HourRecords(o, hours);
  };
}

}  // namespace vk::ephemgen
