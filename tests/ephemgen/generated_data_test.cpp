// The data the build made, read back from the .bin files and the phase table:
// what a person could check in an almanac.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ephemeris/ephemeris_data.h"
#include "ephemeris/ephemeris_store.h"
#include "tables/phase_table.h"
#include "support/temp_dir.h"

namespace vk::ephemgen {
namespace {

constexpr double kAuKm = 149597870.700;
const std::filesystem::path kData = VK_DATA_DIR;

// The 88 IAU constellation abbreviations.
const std::set<std::string> kIauAbbreviations = {
    "And", "Ant", "Aps", "Aql", "Aqr", "Ara", "Ari", "Aur", "Boo", "CMa", "CMi", "CVn", "Cae", "Cam", "Cap",
    "Car", "Cas", "Cen", "Cep", "Cet", "Cha", "Cir", "Cnc", "Col", "Com", "CrA", "CrB", "Crt", "Cru", "Crv",
    "Cyg", "Del", "Dor", "Dra", "Equ", "Eri", "For", "Gem", "Gru", "Her", "Hor", "Hya", "Hyi", "Ind", "LMi",
    "Lac", "Leo", "Lep", "Lib", "Lup", "Lyn", "Lyr", "Men", "Mic", "Mon", "Mus", "Nor", "Oct", "Oph", "Ori",
    "Pav", "Peg", "Per", "Phe", "Pic", "PsA", "Psc", "Pup", "Pyx", "Ret", "Scl", "Sco", "Sct", "Ser", "Sex",
    "Sge", "Sgr", "Tau", "Tel", "TrA", "Tri", "UMa", "UMi", "Vel", "Vir", "Vol", "Vul"};

class GeneratedData : public ::testing::Test {
 protected:
  // Row `row` (1 … 87651) of a body's .bin file, each file read once when first needed.
  static const tEphemerisData& Row(int body, int row) {
    static std::vector<tEphemerisData> tables[kBodyCount];
    std::vector<tEphemerisData>& t = tables[body];
    if (t.empty()) {
      t.resize(kEphemerisRows);
      std::ifstream in(kData / BinaryFileName(body), std::ios::binary);
      in.read(reinterpret_cast<char*>(t.data()), static_cast<std::streamsize>(t.size() * sizeof t[0]));
      if (in.gcount() != static_cast<std::streamsize>(t.size() * sizeof t[0]))
        ADD_FAILURE() << BinaryFileName(body) << " in " << kData << " is missing or short: build vk_data";
    }
    return t[static_cast<std::size_t>(row - 1)];
  }
};

TEST_F(GeneratedData, FilesHoldExactlyTheRowsWithReservedFieldsZero) {
  EphemerisStore store;
  ASSERT_NO_THROW(LoadEphemeris(store, kData));
  for (int body = 0; body < kBodyCount; ++body) {
    const auto path = kData / BinaryFileName(body);
    ASSERT_EQ(std::filesystem::file_size(path), std::uintmax_t{87651} * 132) << path;
    for (int row = 1; row <= kEphemerisRows; ++row)
      ASSERT_TRUE(store.at(body, row) == StoredRow(Row(body, row))) << BodyCodes[body] << " row " << row;
    for (int row = 1; row <= kEphemerisRows; ++row) {
      const tEphemerisData& r = Row(body, row);
      ASSERT_EQ(+r.reserved1, 0.0) << BodyCodes[body] << " row " << row;
      ASSERT_EQ(+r.reserved2, 0.0) << BodyCodes[body] << " row " << row;
    }
  }
}

TEST_F(GeneratedData, HourlyRowsFrom2022) {
  for (int body = 0; body < kBodyCount; ++body) {
    for (int row = 1; row <= kEphemerisRows; ++row) {
      const double expected = 2459580.5 + (row - 1) / 24.0;
      ASSERT_NEAR(+Row(body, row).jd, expected, 1e-8) << BodyCodes[body] << " row " << row;
    }
  }
  EXPECT_NEAR(+Row(Sun, kEphemerisRows).jd, 2463232.5 + 2.0 / 24, 1e-8);  // 2032-01-01 02:00 UT
}

TEST_F(GeneratedData, RangesOfEveryField) {
  for (int body = 0; body < kBodyCount; ++body) {
    for (int row = 1; row <= kEphemerisRows; ++row) {
      const tEphemerisData& r = Row(body, row);
      const std::string where = std::string(BodyCodes[body]) + " row " + std::to_string(row);
      ASSERT_TRUE(r.ra >= 0 && r.ra < 24) << where << ": RA " << r.ra << " h";
      ASSERT_TRUE(r.dec >= -90 && r.dec <= 90) << where << ": Dec " << r.dec << "°";
      ASSERT_TRUE(r.ecl_lon >= 0 && r.ecl_lon < 360) << where << ": ecliptic longitude " << r.ecl_lon << "°";
      ASSERT_TRUE(std::fabs(r.col20) <= 90) << where << ": ecliptic latitude " << r.col20 << "°";
      for (const double v : {r.mag, r.col8, r.col9, r.diameter, r.col11, r.col12, r.col15, r.delta, r.col17})
        ASSERT_TRUE(std::isfinite(v)) << where;
      ASSERT_TRUE(r.col8 >= 0 && r.col8 <= 100) << where << ": illuminated " << r.col8 << " %";
      ASSERT_TRUE(r.col9 >= 0 && r.col9 <= 180) << where << ": phase angle " << r.col9 << "°";
      ASSERT_TRUE(r.col15 >= 0 && r.col15 <= 180) << where << ": elongation " << r.col15 << "°";
      ASSERT_GT(+r.delta, 0) << where;
      ASSERT_GT(+r.diameter, 0) << where;
      ASSERT_EQ(r.label.length, 3) << where;
      ASSERT_TRUE(kIauAbbreviations.count(std::string(r.label.view()))) << where << ": label '" << r.label.view()
                                                                        << "'";
    }
  }
}

TEST_F(GeneratedData, MoonDistance) {
  double lo = 1e300, hi = 0;
  for (int row = 1; row <= kEphemerisRows; ++row) {
    const double km = Row(Moon, row).delta * kAuKm;
    lo = std::min(lo, km);
    hi = std::max(hi, km);
    ASSERT_GE(km, 356000) << "Moon " << 356000 - km << " km closer than 356000 km at JD " << Row(Moon, row).jd;
    ASSERT_LE(km, 407000) << "Moon " << km - 407000 << " km farther than 407000 km at JD " << Row(Moon, row).jd;
  }
  // Perigees and apogees of the decade reach close to the bounds.
  EXPECT_LT(lo, 357500) << "closest Moon " << lo << " km";
  EXPECT_GT(hi, 406000) << "farthest Moon " << hi << " km";
}

// A planet's declination turns twice a year at most, months apart. Behind
// the Sun's disc its light is not deflected as a grazing ray's would be
// (which gave Uranus pairs of turns hours apart there in 2028, 2030, 2031).
TEST_F(GeneratedData, PlanetsDeclinationsTurnNoCloserThanAWeek) {
  for (int body : {int{Mercury}, int{Venus}, int{Mars}, int{Jupiter}, int{Saturn}, int{Uranus}, int{Neptune}}) {
    double last_turn = -1e9;
    for (int row = 2; row < kEphemerisRows; ++row) {
      const double d1 = Row(body, row - 1).dec, d2 = Row(body, row).dec, d3 = Row(body, row + 1).dec;
      if (!((d2 > d1 && d2 >= d3) || (d2 < d1 && d2 <= d3))) continue;
      const double jd = Row(body, row).jd;
      ASSERT_GT(jd - last_turn, 7) << BinaryFileName(body) << ": declination turns at JD " << last_turn << " and " << jd;
      last_turn = jd;
    }
  }
}

TEST_F(GeneratedData, SunDistanceAndDiameter) {
  for (int row = 1; row <= kEphemerisRows; ++row) {
    const tEphemerisData& r = Row(Sun, row);
    ASSERT_GE(+r.delta, 0.983) << "Sun " << (0.983 - r.delta) * kAuKm << " km closer than 0.983 au at JD " << r.jd;
    ASSERT_LE(+r.delta, 1.017) << "Sun " << (r.delta - 1.017) * kAuKm << " km farther than 1.017 au at JD " << r.jd;
    // The disc of 695700 km radius.
    const double expected = 2 * std::asin(695700 / (r.delta * kAuKm)) * 206264.80624709636;
    ASSERT_NEAR(+r.diameter, expected, 1e-4) << "Sun's diameter at JD " << r.jd;
    ASSERT_NEAR(+r.mag, -26.74 + 5 * std::log10(r.delta), 0.01) << "Sun's magnitude at JD " << r.jd;
  }
}

// The written digits keep every hourly change: no two neighbouring rows of a
// slowly changing column are equal, also at the turning points of the
// magnitude, the diameter, the distance and the ecliptic longitude.
TEST_F(GeneratedData, NeighbouringRowsNeverRoundToTheSameValue) {
  // The packed record's fields are read by name (a member pointer would bind
  // to a misaligned double).
  struct Column {
    const char* name;
    double (*value)(const tEphemerisData&);
  };
  const Column columns[] = {{"magnitude", [](const tEphemerisData& r) -> double { return r.mag; }},
                            {"diameter", [](const tEphemerisData& r) -> double { return r.diameter; }},
                            {"distance", [](const tEphemerisData& r) -> double { return r.delta; }},
                            {"ecliptic longitude", [](const tEphemerisData& r) -> double { return r.ecl_lon; }}};
  for (int body = 0; body < kBodyCount; ++body) {
    for (const Column& c : columns) {
      int equal = 0;
      for (int row = 2; row <= kEphemerisRows; ++row) equal += c.value(Row(body, row)) == c.value(Row(body, row - 1));
      EXPECT_EQ(equal, 0) << c.name << " of body " << body;
    }
  }
}

TEST_F(GeneratedData, SunsEclipticLongitudeAdvancesAbout0041DegreesPerHour) {
  double sum = 0;
  for (int row = 2; row <= kEphemerisRows; ++row) {
    double step = Row(Sun, row).ecl_lon - Row(Sun, row - 1).ecl_lon;
    if (step < -180) step += 360;
    sum += step;
    ASSERT_GT(step, 0.0395) << "the Sun moved " << step * 3600 << "\" in the hour to JD " << Row(Sun, row).jd;
    ASSERT_LT(step, 0.0427) << "the Sun moved " << step * 3600 << "\" in the hour to JD " << Row(Sun, row).jd;
    ASSERT_LT(std::fabs(Row(Sun, row).col20) * 3600, 1.5) << "the Sun's ecliptic latitude at JD " << Row(Sun, row).jd;
  }
  const double mean = sum / (kEphemerisRows - 1);
  EXPECT_NEAR(mean, 360.0 / 365.2422 / 24, 0.0001) << "mean " << mean << "°/h";
}

TEST_F(GeneratedData, SunStandsInSagittariusOn20220101AndWalksTheThirteenConstellations) {
  for (int row = 1; row <= 24; ++row) EXPECT_EQ(Row(Sun, row).label.view(), "Sgr") << "hour " << row - 1;
  std::set<std::string> visited;
  for (int row = 1; row <= kEphemerisRows; ++row) visited.insert(std::string(Row(Sun, row).label.view()));
  const std::set<std::string> zodiac = {"Psc", "Ari", "Tau", "Gem", "Cnc", "Leo", "Vir",
                                        "Lib", "Sco", "Oph", "Sgr", "Cap", "Aqr"};
  EXPECT_EQ(visited, zodiac);
}

TEST_F(GeneratedData, InnerPlanetsStayNearTheSun) {
  for (int row = 1; row <= kEphemerisRows; ++row) {
    ASSERT_LE(+Row(Mercury, row).col15, 28.5) << "Mercury's elongation at JD " << Row(Mercury, row).jd;
    ASSERT_LE(+Row(Venus, row).col15, 47.9) << "Venus's elongation at JD " << Row(Venus, row).jd;
  }
}

TEST_F(GeneratedData, MagnitudesWithinWhatTheDecadeOffers) {
  struct Range {
    int body;
    double brightest_lo, brightest_hi, faintest_lo, faintest_hi;
  };
  // Brightest and faintest values over 2022 … 2031 from the almanacs, with a margin.
  const Range ranges[] = {
      {Venus, -4.95, -4.7, -4.0, -3.0},  {Moon, -12.95, -12.7, -8, 0},     {Mars, -2.1, -1.7, 1.5, 2.0},
      {Jupiter, -3.0, -2.8, -1.8, -1.5}, {Saturn, -0.7, -0.3, 1.0, 1.3},   {Uranus, 5.4, 5.7, 5.8, 6.0},
      {Neptune, 7.6, 7.75, 7.75, 7.95},
  };
  for (const Range& r : ranges) {
    double lo = 1e9, hi = -1e9;
    for (int row = 1; row <= kEphemerisRows; ++row) {
      lo = std::min(lo, double{Row(r.body, row).mag});
      hi = std::max(hi, double{Row(r.body, row).mag});
    }
    EXPECT_TRUE(lo >= r.brightest_lo && lo <= r.brightest_hi) << BodyNames[r.body] << " at brightest " << lo;
    EXPECT_TRUE(hi >= r.faintest_lo && hi <= r.faintest_hi) << BodyNames[r.body] << " at faintest " << hi;
  }
}

struct PhaseEntry {
  double jd = 0;
  int moon = 0, mercury = 0, venus = 0;
};

std::vector<PhaseEntry> ReadPhaseFile(std::string& raw) {
  raw = vk::test::ReadFile(kData / "Vesperkalend_2022-2032_MOOMERVEN_Phase.txt");
  std::vector<PhaseEntry> entries;
  std::istringstream in(raw);
  in.imbue(std::locale::classic());
  PhaseEntry e;
  while (in >> e.jd >> e.moon >> e.mercury >> e.venus) entries.push_back(e);
  return entries;
}

TEST_F(GeneratedData, PhaseFileLayout) {
  std::string raw;
  const std::vector<PhaseEntry> entries = ReadPhaseFile(raw);
  ASSERT_EQ(entries.size(), 3653u);
  EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), 3653);
  EXPECT_EQ(std::count(raw.begin(), raw.end(), '\r'), 3653);
  for (std::size_t pos = raw.find('\n'); pos != std::string::npos; pos = raw.find('\n', pos + 1))
    ASSERT_EQ(raw[pos - 1], '\r') << "line break without CR at byte " << pos;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ASSERT_EQ(+entries[i].jd, 2459580.5 + static_cast<double>(i)) << "line " << i + 1;
    ASSERT_TRUE(entries[i].moon >= 0 && entries[i].moon <= 35) << "line " << i + 1;
    ASSERT_TRUE(entries[i].mercury >= 0 && entries[i].mercury <= 35) << "line " << i + 1;
    ASSERT_TRUE(entries[i].venus >= 1 && entries[i].venus <= 36) << "line " << i + 1;
  }
}

TEST_F(GeneratedData, MoonPhaseIndexRunsThroughItsCycleEvery29AndAHalfDays) {
  std::string raw;
  const std::vector<PhaseEntry> entries = ReadPhaseFile(raw);
  ASSERT_EQ(entries.size(), 3653u);
  std::vector<double> wraps;  // days on which the index starts again near 0
  std::set<int> seen;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const int step = (entries[i].moon - entries[i - 1].moon + 36) % 36;
    ASSERT_TRUE(step == 1 || step == 2) << "Moon index " << entries[i - 1].moon << " then " << entries[i].moon
                                        << " on JD " << entries[i].jd;
    if (entries[i].moon < entries[i - 1].moon) wraps.push_back(entries[i].jd);
    seen.insert(entries[i].moon);
  }
  EXPECT_EQ(seen.size(), 36u) << "not every picture 0 … 35 is used";
  ASSERT_GE(wraps.size(), 120u);
  for (std::size_t i = 1; i < wraps.size(); ++i) {
    const double days = wraps[i] - wraps[i - 1];
    EXPECT_TRUE(days >= 28 && days <= 31) << "a cycle of " << days << " days ending JD " << wraps[i];
  }
  const double mean = (wraps.back() - wraps.front()) / static_cast<double>(wraps.size() - 1);
  EXPECT_NEAR(mean, 29.53, 0.05) << "mean cycle " << mean << " days";
  // 2022-01-02 18:33 UT was a new Moon, 2022-01-17 23:48 UT a full Moon.
  EXPECT_TRUE(entries[1].moon == 0 || entries[1].moon == 35) << entries[1].moon;
  EXPECT_TRUE(entries[16].moon >= 17 && entries[16].moon <= 18) << entries[16].moon;
}

// The phase table agrees with the exports' own noon rows.
TEST_F(GeneratedData, PhaseTableMatchesTheNoonRows) {
  std::string raw;
  const std::vector<PhaseEntry> entries = ReadPhaseFile(raw);
  ASSERT_EQ(entries.size(), 3653u);
  // Skips a comparison where the written decimals could round the other way.
  auto near_half = [](double phi) { return std::fabs(std::fmod(phi / 10, 1.0) - 0.5) < 1e-4; };
  int compared = 0;
  for (int day = 0; day < 3652; ++day) {  // the last day's noon lies beyond the last row
    const int row = 24 * day + 12 + 1;
    const double sun = Row(Sun, row).ecl_lon;
    const double d = std::fmod(Row(Moon, row).ecl_lon - sun + 720, 360);
    if (!near_half(d)) {
      ASSERT_EQ(entries[day].moon, MoonPhaseIndex(Row(Moon, row).ecl_lon, sun)) << "day " << day;
      ++compared;
    }
    const tEphemerisData& mer = Row(Mercury, row);
    if (!near_half(mer.col9)) {
      ASSERT_EQ(entries[day].mercury, InnerPlanetPhaseIndex(mer.col9, +mer.ecl_lon, sun)) << "day " << day;
    }
    const tEphemerisData& ven = Row(Venus, row);
    if (!near_half(ven.col9)) {
      ASSERT_EQ(entries[day].venus, 1 + InnerPlanetPhaseIndex(ven.col9, +ven.ecl_lon, sun)) << "day " << day;
    }
  }
  EXPECT_GT(compared, 3600);
}

// The documented decade's files keep their bytes however the exporter shares
// out its work: the SHA-256 of each.
TEST_F(GeneratedData, DocumentedDecadesFilesKeepTheirBytes) {
  struct {
    const char* file;
    const char* sha256;
  } const kDigests[] = {
      {"HORIZONS_daten_2022-2032_SUN.bin",
       "d5328ebdfa25b8b3c9baa3530bea02b7a3a41379a2c1ce0fb5a050a5ad5a3126"},
      {"HORIZONS_daten_2022-2032_MER.bin",
       "8bd0aa3da17347f5223ae8a84c6ed9e2d58463b04eddbbb9bb80e772859c519c"},
      {"HORIZONS_daten_2022-2032_VEN.bin",
       "f92377aae93d6e0b915f1db1a5c4038f2390ae4f6bfcc09d2dc85b1af485b2ae"},
      {"HORIZONS_daten_2022-2032_MOO.bin",
       "8408790cd6fad6134cf2c6387d1e27aaa07ec836d5fe983756b229d068fd96a0"},
      {"HORIZONS_daten_2022-2032_MAR.bin",
       "959c07573623bbc66dbf0c0e3a13fbbfaef0db1dfe2f2849b50b172e95eb3ae4"},
      {"HORIZONS_daten_2022-2032_JUP.bin",
       "e08a02230000bd526c06dca2746c33170c78eba11e760599a70359e9751438d1"},
      {"HORIZONS_daten_2022-2032_SAT.bin",
       "6a6bbafd5d6d929b0e2633b4bfaa8d37479e813f0526d0b4e4697ca62ad578fb"},
      {"HORIZONS_daten_2022-2032_URA.bin",
       "6b7671905e46edf7dfc357406a4b717c6adb960c79ed67fe515bb0d662977b24"},
      {"HORIZONS_daten_2022-2032_NEP.bin",
       "ab1a3a7ed47a13be47b8873c360f551140229cd869be8d05bfd3cf92e3228a64"},
      {"Vesperkalend_2022-2032_MOOMERVEN_Phase.txt",
       "a047ee7f07892494b0e9f90c99d21a9bfa5278b808c2a684338ffd0a81d12ecd"},
      {"_res/HORIZONS_daten_2022-2032_SUN.txt",
       "34eddd92aecb93da8a937c469616ff2b9f22f2d0039a6b63cb4586444475118d"},
      {"_res/HORIZONS_daten_2022-2032_MER.txt",
       "d2c8a13433e9e06e7bec21f2ac11c3e160e7a3068902d2a731f40e32ba531a34"},
      {"_res/HORIZONS_daten_2022-2032_VEN.txt",
       "ec05a9c586292deb69a8a9ed89b15b5398c4d5a1bd51f73ff71434047849dd31"},
      {"_res/HORIZONS_daten_2022-2032_MOO.txt",
       "ae3178ed0d2a5935bca72096f2c95c89089065196af3d4fd01b77d3d054766c4"},
      {"_res/HORIZONS_daten_2022-2032_MAR.txt",
       "64bc584b24f1542c1cc0bf331275f6312fe97d0ff4576cff15aea4cc6058c678"},
      {"_res/HORIZONS_daten_2022-2032_JUP.txt",
       "bc254ea7be574bb34fe5919653788bd766c8ba463119e046ec0c2cfb35f43429"},
      {"_res/HORIZONS_daten_2022-2032_SAT.txt",
       "b9caaa1c8db629183f86cd186f3f7bc203d2079ce3812498892141116215344f"},
      {"_res/HORIZONS_daten_2022-2032_URA.txt",
       "5604d777e0356eb93df9eba4b7315f0a73ea11f5d8266d2d2c20eef9dd8b1f52"},
      {"_res/HORIZONS_daten_2022-2032_NEP.txt",
       "0c69a301f0ce1dcb0393968a83c689f1298bef998ce3785b346351fba3302260"},
  };
  for (const auto& [file, sha256] : kDigests) {
    QFile in(QString::fromStdString((kData / file).string()));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << file << " missing: build vk_data";
    QCryptographicHash hash(QCryptographicHash::Sha256);
    ASSERT_TRUE(hash.addData(&in)) << file;
    EXPECT_EQ(hash.result().toHex().toStdString(), sha256) << file;
  }
}

}  // namespace
}  // namespace vk::ephemgen
