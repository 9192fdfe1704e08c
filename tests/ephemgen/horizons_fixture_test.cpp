// The apparent places against real HORIZONS DE405 observer tables (geocentric,
// airless apparent RA/Dec of date, astrometric RA/Dec, angular diameter).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "apparent_place.h"
#include "constellations.h"
#include "tables/de405_extract.h"
#include "ephemeris/ephemeris_data.h"
#include "timecalc/calendar.h"

namespace vk::ephemgen {
namespace {

constexpr double kMaxAngleArcsec = 0.3;
constexpr double kMaxDiameterArcsec = 0.01;

struct FixtureRow {
  double jd_utc = 0;
  double astro_ra_h = 0, astro_dec_deg = 0;
  double app_ra_h = 0, app_dec_deg = 0;
  double diameter = 0;
  std::string text;
};

struct Fixture {
  int body = -1;
  std::vector<FixtureRow> rows;
};

int MonthNumber(const std::string& name) {
  static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int i = 0; i < 12; ++i)
    if (name == kMonths[i]) return i + 1;
  return 0;
}

double Sexagesimal(const std::string& a, const std::string& b, const std::string& c) {
  const double v = std::fabs(std::stod(a)) + std::stod(b) / 60 + std::stod(c) / 3600;
  return a.front() == '-' ? -v : v;
}

Fixture ReadFixture(const std::string& name) {
  Fixture f;
  std::ifstream in(std::string(VK_EPHEMGEN_FIXTURES) + "/horizons_" + name + ".txt");
  EXPECT_TRUE(in) << "fixture " << name << " missing";
  std::string line;
  bool rows = false;
  while (std::getline(in, line)) {
    if (line.rfind("Target body name:", 0) == 0) {
      std::istringstream s(line.substr(17));
      std::string body;
      s >> body;
      static const char* kEnglish[9] = {"Sun", "Mercury", "Venus", "Moon", "Mars",
                                        "Jupiter", "Saturn", "Uranus", "Neptune"};
      for (int i = 0; i < 9; ++i)
        if (body == kEnglish[i]) f.body = i;
    } else if (line == "$$SOE") {
      rows = true;
    } else if (line == "$$EOE") {
      rows = false;
    } else if (rows) {
      // " 2003-Dec-16 00:00     23 59 12.53 -00 29 09.0 23 59 24.03 -00 27 54.2    9.635"
      std::istringstream s(line);
      std::string date, time, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, diam;
      s >> date >> time >> f1 >> f2 >> f3 >> f4 >> f5 >> f6 >> f7 >> f8 >> f9 >> f10 >> f11 >> f12 >> diam;
      FixtureRow r;
      r.text = line;
      r.jd_utc = CalendarToJD(std::stoi(date.substr(0, 4)), MonthNumber(date.substr(5, 3)),
                              std::stoi(date.substr(9, 2)), std::stoi(time.substr(0, 2)),
                              std::stoi(time.substr(3, 2)), 0);
      r.astro_ra_h = Sexagesimal(f1, f2, f3);
      r.astro_dec_deg = Sexagesimal(f4, f5, f6);
      r.app_ra_h = Sexagesimal(f7, f8, f9);
      r.app_dec_deg = Sexagesimal(f10, f11, f12);
      r.diameter = std::stod(diam);
      f.rows.push_back(r);
    }
  }
  return f;
}

// RA difference in arcseconds on the sky (times cos δ).
double RaArcsec(double ra_h, double ref_h, double dec_deg) {
  double d = std::remainder(ra_h - ref_h, 24.0);
  return d * 15 * 3600 * std::cos(dec_deg * 3.14159265358979323846 / 180);
}

class HorizonsFixture : public ::testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() {
    eph_ = new De405Extract(De405Extract::Load(std::filesystem::path(VK_EPHEMGEN_FIXTURES) / "de405_fixture_dates.bin"));
    constellations_ = new ConstellationTable(ConstellationTable::Load(VK_CONSTELLATION_TABLE));
  }
  static void TearDownTestSuite() {
    delete eph_;
    delete constellations_;
  }
  static const De405Extract* eph_;
  static const ConstellationTable* constellations_;
};
const De405Extract* HorizonsFixture::eph_ = nullptr;
const ConstellationTable* HorizonsFixture::constellations_ = nullptr;

TEST_P(HorizonsFixture, ApparentAndAstrometricPlacesAndDiameter) {
  const Fixture f = ReadFixture(GetParam());
  ASSERT_GE(f.body, 0) << "no known target body in the fixture";
  ASSERT_GE(f.rows.size(), 10u);
  double max_ra = 0, max_dec = 0, max_astro = 0, max_diam = 0;
  for (const FixtureRow& r : f.rows) {
    const double day = std::floor(r.jd_utc - 0.5) + 0.5;
    const tHourFrame frame = MakeHourFrame(*eph_, day, r.jd_utc - day);
    const tApparentPlace a = ApparentPlace(*eph_, *constellations_, frame, f.body);
    const double d_ra = RaArcsec(a.ra_hours, r.app_ra_h, r.app_dec_deg);
    const double d_dec = (a.dec_deg - r.app_dec_deg) * 3600;
    const double d_ara = RaArcsec(a.astrometric_ra_hours, r.astro_ra_h, r.astro_dec_deg);
    const double d_adec = (a.astrometric_dec_deg - r.astro_dec_deg) * 3600;
    const double d_diam = a.diameter_arcsec - r.diameter;
    EXPECT_LE(std::fabs(d_ra), kMaxAngleArcsec) << "apparent RA·cos δ off by " << d_ra << "\" at" << r.text;
    EXPECT_LE(std::fabs(d_dec), kMaxAngleArcsec) << "apparent Dec off by " << d_dec << "\" at" << r.text;
    EXPECT_LE(std::fabs(d_ara), kMaxAngleArcsec) << "astrometric RA·cos δ off by " << d_ara << "\" at" << r.text;
    EXPECT_LE(std::fabs(d_adec), kMaxAngleArcsec) << "astrometric Dec off by " << d_adec << "\" at" << r.text;
    EXPECT_LE(std::fabs(d_diam), kMaxDiameterArcsec) << "diameter off by " << d_diam << "\" at" << r.text;
    max_ra = std::max(max_ra, std::fabs(d_ra));
    max_dec = std::max(max_dec, std::fabs(d_dec));
    max_astro = std::max({max_astro, std::fabs(d_ara), std::fabs(d_adec)});
    max_diam = std::max(max_diam, std::fabs(d_diam));
  }
  std::printf("%-8s %2zu rows: largest |dRA cos d| %.3f\", |dDec| %.3f\", astrometric %.3f\", diameter %.5f\"\n",
              GetParam(), f.rows.size(), max_ra, max_dec, max_astro, max_diam);
}

INSTANTIATE_TEST_SUITE_P(Horizons, HorizonsFixture,
                         ::testing::Values("mars", "jupiter", "saturn", "uranus", "neptune"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace vk::ephemgen
