#include "periods.h"

#include <QStandardPaths>
#include <algorithm>
#include <iomanip>
#include <iostream>
#include <string>

#include "commands.h"
#include "de405_extract.h"
#include "ephemeris/ephemeris_data.h"
#include "exporter.h"

namespace vk::tool {
namespace {

constexpr int kBarWidth = 40;

bool HasTables(const std::filesystem::path& dir, const tPeriod& period) {
  std::error_code ec;
  for (int body = 0; body < kBodyCount; ++body)
    if (!std::filesystem::is_regular_file(dir / BinaryFileName(body, period), ec)) return false;
  return std::filesystem::is_regular_file(dir / PhaseFileName(period), ec);
}

std::filesystem::path CacheFolder() {
  return std::filesystem::path(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation).toStdString()) /
         "vesperkalend";
}

// "Making the tables of 1962-1972 [########                ]  21 %" on one line of stderr.
void PrintBar(const std::string& what, double share) {
  static int shown = -1;  // the percentage on the line now
  const int percent = static_cast<int>(share * 100);
  if (percent == shown) return;
  shown = percent;
  const int filled = static_cast<int>(share * kBarWidth);
  std::cerr << "\r" << what << " [" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << std::setw(3)
            << percent << " %" << std::flush;
}

}  // namespace

tDataSpan DataSpan(const DataFolder& data) {
  const std::filesystem::path file = data.dir / kCoefficientFileName;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {kDocumentedPeriod.first_year, kDocumentedPeriod.end_year};
  const ephemgen::De405Extract eph = ephemgen::De405Extract::Load(file);
  return SpanOfRecords(eph.first_mjd(), eph.last_mjd());
}

void CheckInSpan(double jd, const std::string& text, const std::string& option, const tDataSpan& span) {
  if (!span.holds(jd)) throw UsageError{option + ": " + text + " is outside " + span.text()};
}

PeriodTables TablesForDay(const DataFolder& data, const tDataSpan& span, double day) {
  PeriodTables t;
  t.period = PeriodOfDay(day, span);
  if (t.period == kDocumentedPeriod && HasTables(data.dir, t.period)) {
    t.dir = data.dir;
    t.log_dir = data.log_dir;
    return t;
  }
  t.dir = t.log_dir = CacheFolder();
  if (HasTables(t.dir, t.period)) return t;

  ephemgen::tExportOptions o;
  o.extract = data.dir / kCoefficientFileName;
  o.constellations = data.dir / kConstellationFileName;
  o.out_dir = t.dir;
  o.period = t.period;
  o.kind = ephemgen::ExportKind::Binary;
  const std::string what = "Making the tables of " + t.period.tag();
  o.fraction = [&](double share) { PrintBar(what, share); };
  PrintBar(what, 0);
  try {
    ephemgen::WriteExports(o);
  } catch (...) {
    std::cerr << "\n";
    throw;
  }
  std::cerr << "\n";
  return t;
}

}  // namespace vk::tool
