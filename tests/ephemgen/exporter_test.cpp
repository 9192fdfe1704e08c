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

// The records of hours around a period equal its neighbours' own rows: the
// documented decade's shipped tables (exact time terms) on either side of it,
// and a made period's first rows (interpolated terms) after the one before it.
TEST(Exporter, HourRecordsAroundAPeriodAreTheNeighboursRows) {
  const std::filesystem::path data = VK_DATA_DIR;
  const tPeriod before{2012, 2022}, after{2032, 2042}, sixties{1962, 1972}, seventies{1972, 1982};
  const int decade_hours = kDocumentedPeriod.days() * 24;
  std::vector<std::string> tables;
  for (int body = 0; body < kBodyCount; ++body) tables.push_back(ReadFile(data / BinaryFileName(body)));
  // Row index 0 is the table's first row.
  const auto shipped = [&](int body, int row) {
    tEphemerisData r{};
    std::memcpy(&r, tables[static_cast<std::size_t>(body)].data() + static_cast<std::size_t>(row) * sizeof r, sizeof r);
    return r;
  };
  struct Case {
    const char* what;
    tPeriod period;       // whose hours are counted
    int first_hour, end;  // the hours asked for
    int table_row;        // the shipped table's row of the first hour
  } cases[] = {
      {"the morning after 2012-2022", before, before.days() * 24, before.days() * 24 + 26, 0},
      {"the day before 2032-2042", after, -26, 3, decade_hours - 26},
      {"the documented decade's own ends", kDocumentedPeriod, decade_hours - 3, decade_hours + 3, decade_hours - 3},
  };
  for (const Case& c : cases) {
    tExportOptions o = ShortRun({}, 1);
    o.period = c.period;
    const std::vector<tEphemerisData> got = HourRecords(o, c.first_hour, c.end);
    const int count = c.end - c.first_hour;
    ASSERT_EQ(got.size(), static_cast<std::size_t>(count * kBodyCount)) << c.what;
    for (int body = 0; body < kBodyCount; ++body)
      for (int i = 0; i < count; ++i) {
        const tEphemerisData want = shipped(body, c.table_row + i);
        ASSERT_EQ(std::memcmp(&got[static_cast<std::size_t>(body * count + i)], &want, sizeof want), 0)
            << c.what << ", body " << body << ", hour " << c.first_hour + i;
      }
  }

  // A made period's first day, from the period before it and from its own start.
  TempDir out;
  tExportOptions made = ShortRun(out.path(), 2);
  made.kind = ExportKind::Binary;
  made.period = seventies;
  made.rows = 30;
  made.interpolate_time_terms = true;
  WriteExports(made);
  tExportOptions o = made;
  o.period = sixties;
  const std::vector<tEphemerisData> evening = HourRecords(o, sixties.days() * 24 - 26, sixties.days() * 24 + 30);
  o.period = seventies;
  const std::vector<tEphemerisData> own = HourRecords(o, -26, 30);
  ASSERT_EQ(evening.size(), own.size());
  EXPECT_EQ(std::memcmp(evening.data(), own.data(), own.size() * sizeof own[0]), 0);
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string file = ReadFile(out / BinaryFileName(body, seventies));
    ASSERT_EQ(file.size(), 30 * sizeof(tEphemerisData));
    EXPECT_EQ(std::memcmp(&own[static_cast<std::size_t>(body * 56 + 26)], file.data(), file.size()), 0) << body;
  }
  EXPECT_EQ(own[26].jd, 2441317.5);  // 1972-01-01 00:00 UT
  EXPECT_TRUE(HourRecords(o, 5, 5).empty());
  // Several ranges at once: each range's records as on its own, one after another.
  const std::pair<int, int> ranges[] = {{-26, 30}, {5, 5}, {-3, 2}};
  std::vector<tEphemerisData> both = own;
  const std::vector<tEphemerisData> last = HourRecords(o, -3, 2);
  both.insert(both.end(), last.begin(), last.end());
  const std::vector<tEphemerisData> together = HourRecords(o, ranges);
  ASSERT_EQ(together.size(), both.size());
  EXPECT_EQ(std::memcmp(together.data(), both.data(), both.size() * sizeof both[0]), 0);
}

// Hours the extract does not hold and a missing extract are named; nothing is returned.
TEST(Exporter, HourRecordsOutsideTheExtractAreRefused) {
  struct Case {
    const char* what;
    std::filesystem::path extract;
    int first_hour;
    const char* message;
  } cases[] = {
      {"a year before the span", VK_DE405_EXTRACT, -24 * 366, "No DE405 record for TDB"},
      {"no extract", "/nonexistent/de405.bin", 0, "File not found"},
  };
  for (const Case& c : cases) {
    tExportOptions o = ShortRun({}, 1);
    o.extract = c.extract;
    o.period = tPeriod{1960, 1962};
    try {
      HourRecords(o, c.first_hour, c.first_hour + 2);
      ADD_FAILURE() << c.what << ": no Error";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace vk::ephemgen
