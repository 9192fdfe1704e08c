// Short exporter runs: the same bytes for any number of threads, and the same
// beginnings as the full files that the build made.
#include "tables/exporter.h"

#include "apparent_place.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

#include "ephemeris/ephemeris_data.h"
#include "ephemeris/period.h"
#include "base/error.h"
#include "timecalc/calendar.h"
#include "support/temp_dir.h"

namespace vk::ephemgen {
namespace {

using vk::test::ReadFile;
using vk::test::TempDir;

// Three chunks of hours, the last one short; the last days' noons lie past the rows.
constexpr int kRows = 2100;
constexpr int kDays = 90;

tExportOptions ShortRun(const std::filesystem::path& out, int threads) {
  tExportOptions o;
  o.extract = VK_DE405_EXTRACT;
  o.constellations = VK_CONSTELLATION_TABLE;
  o.out_dir = out;
  o.threads = threads;
  o.rows = kRows;
  o.phase_days = kDays;
  return o;
}

// The first `size` bytes of a file (fewer where it ends).
std::string Prefix(const std::filesystem::path& path, std::size_t size) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

TEST(Exporter, SameBytesForAnyNumberOfThreads) {
  TempDir one, three;
  WriteExports(ShortRun(one.path(), 1));
  WriteExports(ShortRun(three.path(), 3));
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string a = ReadFile(one / ExportFileName(body));
    EXPECT_EQ(std::count(a.begin(), a.end(), '\n'), kRows);
    EXPECT_TRUE(a == ReadFile(three / ExportFileName(body))) << ExportFileName(body) << " differs";
  }
  const std::string phase = ReadFile(one / PhaseFileName(kDocumentedPeriod));
  EXPECT_EQ(std::count(phase.begin(), phase.end(), '\n'), kDays);
  EXPECT_TRUE(phase == ReadFile(three / PhaseFileName(kDocumentedPeriod)));
}

TEST(Exporter, ShortRunIsTheBeginningOfTheBuildsFiles) {
  TempDir out;
  WriteExports(ShortRun(out.path(), 2));
  const std::filesystem::path data = VK_DATA_DIR;
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string short_run = ReadFile(out / ExportFileName(body));
    ASSERT_TRUE(std::filesystem::exists(data / ExportFileName(body)))
        << (data / ExportFileName(body)) << " missing: build the vk_data target";
    EXPECT_TRUE(Prefix(data / ExportFileName(body), short_run.size()) == short_run) << ExportFileName(body);
  }
  const std::string phase = ReadFile(out / PhaseFileName(kDocumentedPeriod));
  EXPECT_TRUE(Prefix(data / PhaseFileName(kDocumentedPeriod), phase.size()) == phase);
}

// The tables made directly hold the bytes the import makes of the text: the
// beginnings of the build's tables; the progress rises to 1.
TEST(Exporter, BinaryTablesAreTheImportsBytes) {
  TempDir out;
  tExportOptions o = ShortRun(out.path(), 2);
  o.kind = ExportKind::Binary;
  std::vector<double> shares;
  o.fraction = [&](double f) { shares.push_back(f); };
  WriteExports(o);
  const std::filesystem::path data = VK_DATA_DIR;
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string made = ReadFile(out / BinaryFileName(body));
    EXPECT_EQ(made.size(), kRows * sizeof(tEphemerisData));
    EXPECT_TRUE(Prefix(data / BinaryFileName(body), made.size()) == made) << BinaryFileName(body);
  }
  EXPECT_FALSE(std::filesystem::exists(out / "_res"));
  ASSERT_FALSE(shares.empty());
  EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
  EXPECT_DOUBLE_EQ(shares.back(), 1.0);
}

// Another period: its own names, rows from its own first day, and the
// phase table's days; a stopped run and an unwritable folder leave nothing.
TEST(Exporter, OtherPeriodStoppedAndUnwritable) {
  const tPeriod sixties{1962, 1972};
  TempDir out;
  tExportOptions o = ShortRun(out.path(), 2);
  o.kind = ExportKind::Binary;
  o.period = sixties;
  WriteExports(o);
  const std::string moon = ReadFile(out / BinaryFileName(Moon, sixties));
  ASSERT_EQ(moon.size(), kRows * sizeof(tEphemerisData));
  tEphemerisData first{}, last{};
  std::memcpy(&first, moon.data(), sizeof first);
  std::memcpy(&last, moon.data() + moon.size() - sizeof last, sizeof last);
  EXPECT_EQ(first.jd, 2437665.5);  // 1962-01-01 00:00 UT
  EXPECT_NEAR(last.jd, 2437665.5 + (kRows - 1) / 24.0, 1e-9);
  EXPECT_TRUE(ReadFile(out / PhaseFileName(sixties)).starts_with("2437665.5 "));

  TempDir stopped;
  std::stop_source source;
  o.out_dir = stopped.path();
  o.stop = source.get_token();
  o.fraction = [&](double f) {
    if (f > 0.3) source.request_stop();
  };
  EXPECT_THROW(WriteExports(o), Cancelled);
  EXPECT_TRUE(std::filesystem::is_empty(stopped.path()));

  // A folder that cannot be made: a file stands where it would be.
  TempDir blocked;
  vk::test::WriteFile(blocked / "cache", "x");
  o.out_dir = blocked / "cache" / "tables";
  o.stop = {};
  o.fraction = {};
  try {
    WriteExports(o);
    ADD_FAILURE() << "no Error";
  } catch (const Error& e) {
    EXPECT_EQ(e.file(), (blocked / "cache" / "tables").string());
    EXPECT_STREQ(e.what(), "Not a directory");
  }
  EXPECT_EQ(ReadFile(blocked / "cache"), "x");
}

// Nutation and TDB − TT from nodes four hours apart stay within 5e-12 rad
// (1e-6″) and 1e-12 s of their series: across leap seconds, where TT is not evenly spaced, before
// 1972 and at the span's ends; an instant on a node takes the node's values.
TEST(Exporter, InterpolatedTimeTermsStayWithTheSeries) {
  struct {
    const char* where;
    int year, month, day, hour;  // the node before the instant, UTC
  } const kCases[] = {
      {"first hours of the span", 1960, 1, 1, 0},
      {"ΔT model before 1972", 1968, 3, 14, 8},
      {"leap second of 1972-06-30", 1972, 6, 30, 20},
      {"leap second of 2016-12-31", 2016, 12, 31, 20},
      {"documented decade", 2027, 8, 2, 12},
      {"last day of the span", 2059, 12, 31, 16},
  };
  for (const auto& c : kCases) {
    const double node_jd = CalendarToJD(c.year, c.month, c.day, 0, 0, 0);
    auto instant = [&](double hours) {
      const double h = c.hour + hours;
      const double day = std::floor(h / 24);
      return std::pair{node_jd + day, (h - 24 * day) / 24};
    };
    tTimeTerms nodes[4];
    for (int i = 0; i < 4; ++i) {
      const auto [d, f] = instant(4.0 * (i - 1));
      nodes[i] = ExactTimeTerms(d, f);
    }
    for (const double hours : {0.0, 1.0, 2.0, 3.0, 3.5}) {
      const auto [d, f] = instant(hours);
      const tTimeTerms exact = ExactTimeTerms(d, f), cubic = InterpolatedTimeTerms(d, f, nodes);
      EXPECT_EQ(cubic.tt2, exact.tt2) << c.where << " +" << hours << " h";
      EXPECT_NEAR(cubic.dpsi, exact.dpsi, 5e-12) << c.where << " +" << hours << " h";
      EXPECT_NEAR(cubic.deps, exact.deps, 5e-12) << c.where << " +" << hours << " h";
      EXPECT_NEAR(cubic.tdb_minus_tt_s, exact.tdb_minus_tt_s, 1e-12) << c.where << " +" << hours << " h";
      if (hours == 0) {
        EXPECT_EQ(cubic.dpsi, exact.dpsi) << c.where;
      }
    }
  }
}

// The nodes of a span of hours: within the bounds above at every hour, and
// the same values for an hour whichever span (chunk) asks for it.
TEST(Exporter, TimeTermNodesAgreeAcrossSpans) {
  const double first_jd = CalendarToJD(1972, 6, 29, 0, 0, 0);  // the leap second 2 days on
  const TimeTermNodes whole(first_jd, -30, 90, true);
  struct {
    int first, end;
  } const kSpans[] = {{-30, -1}, {-3, 5}, {7, 8}, {0, 48}, {47, 90}};
  for (const auto& span : kSpans) {
    const TimeTermNodes part(first_jd, span.first, span.end, true);
    for (int hour = span.first; hour < span.end; ++hour) {
      const double day = std::floor(hour / 24.0);
      const tTimeTerms exact = ExactTimeTerms(first_jd + day, (hour - 24 * day) / 24.0), t = part.at(hour);
      EXPECT_EQ(t.dpsi, whole.at(hour).dpsi) << "hour " << hour;
      EXPECT_EQ(t.tdb_minus_tt_s, whole.at(hour).tdb_minus_tt_s) << "hour " << hour;
      EXPECT_EQ(t.tt2, exact.tt2) << "hour " << hour;
      EXPECT_NEAR(t.dpsi, exact.dpsi, 5e-12) << "hour " << hour;
      EXPECT_NEAR(t.deps, exact.deps, 5e-12) << "hour " << hour;
      EXPECT_NEAR(t.tdb_minus_tt_s, exact.tdb_minus_tt_s, 1e-12) << "hour " << hour;
    }
  }
}

// A run with interpolated time terms: the same bytes for any number of
// threads, and within the last written digits of the exact run.
TEST(Exporter, InterpolatedRunMatchesTheExactOne) {
  TempDir exact, one, three;
  tExportOptions o = ShortRun(exact.path(), 2);
  o.kind = ExportKind::Binary;
  WriteExports(o);
  o.interpolate_time_terms = true;
  o.out_dir = one.path();
  o.threads = 1;
  WriteExports(o);
  o.out_dir = three.path();
  o.threads = 3;
  WriteExports(o);
  EXPECT_TRUE(ReadFile(one / PhaseFileName(kDocumentedPeriod)) == ReadFile(exact / PhaseFileName(kDocumentedPeriod)));
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string a = ReadFile(exact / BinaryFileName(body)), b = ReadFile(one / BinaryFileName(body));
    ASSERT_EQ(a.size(), kRows * sizeof(tEphemerisData));
    ASSERT_EQ(b.size(), a.size());
    EXPECT_TRUE(b == ReadFile(three / BinaryFileName(body))) << BinaryFileName(body);
    for (int row = 0; row < kRows; ++row) {
      tEphemerisData x{}, y{};
      std::memcpy(&x, a.data() + row * sizeof x, sizeof x);
      std::memcpy(&y, b.data() + row * sizeof y, sizeof y);
      const std::string where = std::string(BodyCodes[body]) + " row " + std::to_string(row);
      // 1e-9 h and 1e-8 °: a few units of the last written digit.
      ASSERT_NEAR(+y.ra, +x.ra, 1e-9) << where;
      ASSERT_NEAR(+y.dec, +x.dec, 1e-8) << where;
      ASSERT_NEAR(+y.ecl_lon, +x.ecl_lon, 1e-8) << where;
      ASSERT_NEAR(+y.col20, +x.col20, 1e-8) << where;
      ASSERT_EQ(+y.jd, +x.jd) << where;
      ASSERT_EQ(+y.delta, +x.delta) << where;
    }
  }
}

}  // namespace
}  // namespace vk::ephemgen
