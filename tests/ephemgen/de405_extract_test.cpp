// Reading and evaluating the DE405 extract, and its failure messages.
#include "tables/de405_extract.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "extract_files.h"
#include "support/temp_dir.h"
#include "base/error.h"

namespace vk::ephemgen {
namespace {

using vk::test::ReadFile;
using vk::test::TempDir;
using vk::test::WriteFile;

const std::string kExtract = VK_DE405_EXTRACT;

// Runs `f`, expecting an Error; returns it.
template <typename F>
Error ExpectError(F f) {
  try {
    f();
  } catch (const Error& e) {
    return e;
  }
  ADD_FAILURE() << "no Error thrown";
  return Error("");
}

double Distance(const std::array<double, 3>& a, const std::array<double, 3>& b) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

TEST(De405Extract, CommittedExtractCoversTheCentury) {
  const De405Extract x = De405Extract::Load(kExtract);
  EXPECT_EQ(x.record_count(), 1143u);
  EXPECT_DOUBLE_EQ(x.first_mjd(), 36912.0);  // 1959-12-10, before 1960-01-01
  EXPECT_DOUBLE_EQ(x.last_mjd(), 73488.0);   // 2060-01-30, after 2060-01-01
  EXPECT_DOUBLE_EQ(x.au_km(), 149597870.691);
  EXPECT_DOUBLE_EQ(x.emrat(), 81.30056);
  EXPECT_DOUBLE_EQ(x.clight_km_s(), 299792.458);
}

// The Earth from the extract against ERFA's own analytical ephemeris (good to
// a few km): catches a wrong record, item, offset or time argument.
TEST(De405Extract, EarthAgreesWithErfaEpv00) {
  const De405Extract x = De405Extract::Load(kExtract);
  double worst = 0;
  for (double mjd = 36920; mjd < 73480; mjd += 7.3) {
    const tStateVector e = x.Earth(2400000.5, mjd);
    double pvh[2][3], pvb[2][3];
    eraEpv00(2400000.5, mjd, pvh, pvb);
    const std::array<double, 3> erfa{pvb[0][0] * ERFA_DAU / 1000, pvb[0][1] * ERFA_DAU / 1000,
                                     pvb[0][2] * ERFA_DAU / 1000};
    const double off = Distance(e.p, erfa);
    worst = std::max(worst, off);
    ASSERT_LT(off, 50.0) << "Earth off by " << off << " km at TDB MJD " << mjd;
    const std::array<double, 3> erfa_v{pvb[1][0] * ERFA_DAU / 1000, pvb[1][1] * ERFA_DAU / 1000,
                                       pvb[1][2] * ERFA_DAU / 1000};
    ASSERT_LT(Distance(e.v, erfa_v), 10.0) << "Earth's velocity off (km/day) at TDB MJD " << mjd;
  }
  EXPECT_LT(worst, 50.0);
}

TEST(De405Extract, MoonDistanceAndRecordSeams) {
  const De405Extract x = De405Extract::Load(kExtract);
  for (double mjd = 36920; mjd < 73480; mjd += 0.37) {
    const tStateVector m = x.State(De405Item::MoonGeocentric, 2400000.5, mjd);
    const double r = std::sqrt(m.p[0] * m.p[0] + m.p[1] * m.p[1] + m.p[2] * m.p[2]);
    ASSERT_GT(r, 350000.0) << "Moon's centre distance " << r << " km at TDB MJD " << mjd;
    ASSERT_LT(r, 410000.0) << "Moon's centre distance " << r << " km at TDB MJD " << mjd;
  }
  // Where one record ends and the next begins the positions meet (to metres).
  for (double seam = 36944; seam < 73488; seam += 32) {
    for (const De405Item item : {De405Item::MoonGeocentric, De405Item::Mercury, De405Item::Sun,
                                 De405Item::EarthMoonBarycentre}) {
      const tStateVector before = x.State(item, 2400000.5, seam - 1e-9);
      const tStateVector at = x.State(item, 2400000.5, seam);
      EXPECT_LT(Distance(before.p, at.p), 0.01) << "jump of " << Distance(before.p, at.p) << " km at MJD " << seam;
    }
  }
}

// The whole reader and the span reader refuse the same broken files alike;
// the span reader leaves the checksum to the whole reader.
TEST(De405Extract, BrokenFilesRefusedByBothReaders) {
  TempDir dir;
  const std::string bytes = ReadFile(kExtract);
  std::string flipped = bytes;
  flipped[400000] ^= 0x10;
  struct Case {
    const char* name;
    std::string content;
    const char* error;            // from both readers
    const char* load_only_error;  // from Load alone, the span being readable
  };
  const Case cases[] = {
      {"short.bin", bytes.substr(0, bytes.size() - 1000), "Truncated DE405 extract: 7478996 bytes, 7479996 expected",
       nullptr},
      {"header.bin", bytes.substr(0, 40), "Truncated DE405 extract: 40 bytes, the header alone needs 64", nullptr},
      {"empty.bin", "", "Not a DE405 extract", nullptr},
      {"text.bin", "2022-Jan-01 00:00\t 2459580.500000000\t \t \t 18 45 48.418759\n", "Not a DE405 extract",
       nullptr},
      {"flipped.bin", flipped, nullptr, "Damaged DE405 extract: checksum mismatch"},
  };
  for (const Case& c : cases) {
    const auto path = dir / c.name;
    WriteFile(path, c.content);
    const Error loaded = ExpectError([&] { De405Extract::Load(path); });
    EXPECT_STREQ(loaded.what(), c.error ? c.error : c.load_only_error) << c.name;
    EXPECT_EQ(loaded.file(), path.string()) << c.name;
    if (c.error) {
      const Error spanned = ExpectError([&] { De405Extract::ReadSpan(path); });
      EXPECT_STREQ(spanned.what(), c.error) << c.name;
      EXPECT_EQ(spanned.file(), path.string()) << c.name;
    } else {
      EXPECT_EQ(De405Extract::ReadSpan(path), De405Extract::ReadSpan(kExtract)) << c.name;
    }
  }
  for (const auto* missing : {"/nonexistent/de405.bin"}) {
    EXPECT_STREQ(ExpectError([&] { De405Extract::Load(missing); }).what(), "File not found");
    EXPECT_STREQ(ExpectError([&] { De405Extract::ReadSpan(missing); }).what(), "File not found");
  }
}

TEST(De405Extract, SpanFromTheEndRecordsAlone) {
  for (const std::string& path : {std::string(kExtract), std::string(VK_EPHEMGEN_FIXTURES) + "/de405_fixture_dates.bin"}) {
    const De405Extract x = De405Extract::Load(path);
    EXPECT_EQ(De405Extract::ReadSpan(path), std::make_pair(x.first_mjd(), x.last_mjd())) << path;
  }
}

TEST(De405Extract, InstantOutsideTheRecords) {
  const De405Extract x = De405Extract::Load(kExtract);
  Error e = ExpectError([&] { x.State(De405Item::Sun, 2473527.5, 0.25); });
  EXPECT_EQ(std::string(e.what()),
            "No DE405 record for TDB 2060-03-09 06:00:00.000 (JD 2473527.750000); the extract covers TDB "
            "1959-12-10 00:00:00.000 to 2060-01-30 00:00:00.000");
  EXPECT_EQ(e.file(), kExtract);
  e = ExpectError([&] { x.Earth(2436854.5, 0); });
  EXPECT_NE(std::string(e.what()).find("TDB 1959-10-13 00:00:00.000"), std::string::npos) << e.what();

  // The test extract has records for separate years only.
  const De405Extract gaps = De405Extract::Load(std::string(VK_EPHEMGEN_FIXTURES) + "/de405_fixture_dates.bin");
  EXPECT_NO_THROW(gaps.Earth(2452989.5, 0));  // 2003-12-16
  e = ExpectError([&] { gaps.Earth(2456000.5, 0); });
  EXPECT_NE(std::string(e.what()).find("with gaps"), std::string::npos) << e.what();
}

// The records of a few spans alone: states equal the whole file's bit for bit,
// seams and the file's last day included; a file with gaps is read whole; a span
// beyond the records or a damaged record in a span is refused.
TEST(De405Extract, SpansReadAloneGiveTheWholeFilesStates) {
  const De405Extract whole = De405Extract::Load(kExtract);
  const std::pair<double, double> spans[] = {{40111.5, 40112.5}, {55000.0, 55070.0}, {73480.0, 73488.0}};
  const De405Extract part = De405Extract::LoadSpans(kExtract, spans);
  EXPECT_EQ(part.record_count(), 2u + 3u + 1u);
  for (const auto& [first, last] : spans)
    for (double mjd = first; mjd <= last; mjd += (last - first) / 16)
      for (int item = 0; item < kDe405Items; ++item) {
        const tStateVector a = whole.State(De405Item(item), 2400000.5, mjd), b = part.State(De405Item(item), 2400000.5, mjd);
        EXPECT_TRUE(a.p == b.p && a.v == b.v) << "item " << item << " at MJD " << mjd;
      }
  EXPECT_NE(std::string(ExpectError([&] { part.State(De405Item::Sun, 2400000.5, 60000); }).what()).find("with gaps"),
            std::string::npos);
  const std::string gaps = std::string(VK_EPHEMGEN_FIXTURES) + "/de405_fixture_dates.bin";
  EXPECT_EQ(De405Extract::LoadSpans(gaps, spans).record_count(), De405Extract::Load(gaps).record_count());
  const std::pair<double, double> beyond[] = {{73480.0, 73489.0}};
  EXPECT_EQ(std::string(ExpectError([&] { De405Extract::LoadSpans(kExtract, beyond); }).what()),
            "No DE405 record for TDB 2060-01-31 00:00:00.000 (JD 2473489.500000); the extract covers TDB "
            "1959-12-10 00:00:00.000 to 2060-01-30 00:00:00.000");
  // A value of the second record made no number: refused when that record is read.
  TempDir dir;
  std::string bytes = ReadFile(kExtract);
  const double nan = std::nan("");
  std::memcpy(&bytes[196 + 818 * 8 + 100 * 8], &nan, 8);
  WriteFile(dir / "nan.bin", bytes);
  const std::pair<double, double> second[] = {{36950.0, 36950.0}};
  EXPECT_STREQ(ExpectError([&] { De405Extract::LoadSpans(dir / "nan.bin", second); }).what(),
               "Damaged DE405 extract: a value that is no number");
  EXPECT_EQ(De405Extract::LoadSpans(dir / "nan.bin", std::span(spans).subspan(1)).record_count(), 4u);
}

TEST(De405Extract, ShortenedExtractStillLoads) {
  TempDir dir;
  WriteFile(dir / "first10.bin", test::FirstRecords(ReadFile(kExtract), 10));
  const De405Extract x = De405Extract::Load(dir / "first10.bin");
  EXPECT_EQ(x.record_count(), 10u);
  EXPECT_DOUBLE_EQ(x.last_mjd(), 36912.0 + 320);
}

}  // namespace
}  // namespace vk::ephemgen
