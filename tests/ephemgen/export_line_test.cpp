// The export line: fixed-position right ascension and declination, the column
// layout, and a round trip through the import's line conversion.
#include "export_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ephemeris/horizons_import.h"
#include "tables/phase_table.h"

namespace vk::ephemgen {
namespace {

std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns;
  std::size_t start = 0;
  for (;;) {
    const auto tab = line.find('\t', start);
    columns.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return columns;
}

tApparentPlace SamplePlace() {
  tApparentPlace a;
  a.ra_hours = 18 + 45.0 / 60 + 40.273456 / 3600;
  a.dec_deg = -(23 + 2.0 / 60 + 44.56789 / 3600);
  a.ecl_lon_deg = 280.123456789;
  a.ecl_lat_deg = -0.000123456;
  a.delta_au = 0.98330564321234;
  a.light_time_min = 8.178;
  a.range_rate_km_s = -0.0150;
  a.helio_au = 1.234567890123;
  a.helio_rate_km_s = 2.5;
  a.phase_angle_deg = 12.5;
  a.elongation_deg = 45.25;
  a.illuminated_pct = 98.8;
  a.diameter_arcsec = 1951.79;
  a.magnitude = -4.123456789;
  a.east_of_sun = true;
  a.constellation[0] = 'S';
  a.constellation[1] = 'g';
  a.constellation[2] = 'r';
  return a;
}

TEST(ExportLine, RightAscensionByPosition) {
  EXPECT_EQ(FormatRightAscension(18 + 45.0 / 60 + 40.273456 / 3600), " 18 45 40.273456");
  EXPECT_EQ(FormatRightAscension(0), " 00 00 00.000000");
  EXPECT_EQ(FormatRightAscension(10.9999999999999), " 11 00 00.000000");  // carries into the hour
  EXPECT_EQ(FormatRightAscension(23.99999999999), " 00 00 00.000000");    // 24 h is 0 h
  EXPECT_EQ(FormatRightAscension(-1.0 / 3600), " 23 59 59.000000");
  EXPECT_EQ(FormatRightAscension(5.5).size(), 16u);
}

TEST(ExportLine, DeclinationByPosition) {
  EXPECT_EQ(FormatDeclination(-(23 + 2.0 / 60 + 44.56789 / 3600)), " -23 02 44.56789");
  EXPECT_EQ(FormatDeclination(0.5), " +00 30 00.00000");
  EXPECT_EQ(FormatDeclination(-0.5), " -00 30 00.00000");  // the sign of a small southern value stays
  EXPECT_EQ(FormatDeclination(-1e-12), " +00 00 00.00000");
  EXPECT_EQ(FormatDeclination(89.99999999999999), " +90 00 00.00000");
  EXPECT_EQ(FormatDeclination(12.999999999999), " +13 00 00.00000");
  EXPECT_EQ(FormatDeclination(-90).size(), 16u);
}

TEST(ExportLine, TwentyColumnsInTheImportLayout) {
  std::string out;
  const tRowTime t{2022, 1, 1, 5, 2459580.5 + 5.0 / 24};
  AppendExportLine(out, t, 2, SamplePlace());
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
  const std::string line = out.substr(0, out.size() - 2);
  const auto c = Columns(line);
  ASSERT_EQ(c.size(), 20u) << line;
  EXPECT_EQ(c[0], "2022-Jan-01 05:00");
  EXPECT_EQ(c[1], " 2459580.708333333");
  EXPECT_EQ(c[2], " ");
  EXPECT_EQ(c[3], " ");
  EXPECT_EQ(c[4], " 18 45 40.273456");
  EXPECT_EQ(c[5], " -23 02 44.56789");
  EXPECT_EQ(c[6], "-4.123456789000");
  EXPECT_EQ(c[7], "98.800000000");
  EXPECT_EQ(c[8], "12.500000000");
  EXPECT_EQ(c[9], "1951.790000000");
  EXPECT_EQ(c[10], "1.234567890123000");
  EXPECT_EQ(c[11], "2.500000000");
  EXPECT_EQ(c[12], "/T");
  EXPECT_EQ(c[13], "8.178000000");
  EXPECT_EQ(c[14], "45.250000000");
  EXPECT_EQ(c[15], "0.9833056432123400");
  EXPECT_EQ(c[16], "-0.015000000");
  EXPECT_EQ(c[17], "   Sgr");
  EXPECT_EQ(c[18], "280.123456789000");
  EXPECT_EQ(c[19], "-0.000123456000");

  tEphemerisData rec{};
  ConvertExportLine(line, rec);
  EXPECT_DOUBLE_EQ(+rec.jd, 2459580.708333333);
  EXPECT_NEAR(+rec.ra, SamplePlace().ra_hours, 1e-12);
  EXPECT_NEAR(+rec.dec, SamplePlace().dec_deg, 1e-12);
  EXPECT_DOUBLE_EQ(+rec.mag, -4.123456789);
  EXPECT_DOUBLE_EQ(+rec.col8, 98.8);
  EXPECT_DOUBLE_EQ(+rec.col9, 12.5);
  EXPECT_DOUBLE_EQ(+rec.diameter, 1951.79);
  EXPECT_DOUBLE_EQ(+rec.col11, 1.234567890123);
  EXPECT_DOUBLE_EQ(+rec.col12, 2.5);
  EXPECT_DOUBLE_EQ(+rec.reserved1, 0);
  EXPECT_DOUBLE_EQ(+rec.reserved2, 0);
  EXPECT_DOUBLE_EQ(+rec.col15, 45.25);
  EXPECT_DOUBLE_EQ(+rec.delta, 0.98330564321234);
  EXPECT_DOUBLE_EQ(+rec.col17, -0.015);
  EXPECT_EQ(rec.label.view(), "Sgr");
  EXPECT_DOUBLE_EQ(+rec.ecl_lon, 280.123456789);
  EXPECT_DOUBLE_EQ(+rec.col20, -0.000123456);
}

TEST(ExportLine, SunAndWestFlagsAndWrappedLongitude) {
  tApparentPlace a = SamplePlace();
  a.ecl_lon_deg = 359.9999999999999;
  a.east_of_sun = false;
  std::string out;
  AppendExportLine(out, {2031, 12, 31, 23, 2463232.458333333}, 1, a);
  auto c = Columns(out.substr(0, out.size() - 2));
  EXPECT_EQ(c[0], "2031-Dec-31 23:00");
  EXPECT_EQ(c[12], "/L");
  EXPECT_EQ(c[18], "0.000000000000");
  out.clear();
  AppendExportLine(out, {2031, 12, 31, 23, 2463232.458333333}, 0, a);
  c = Columns(out.substr(0, out.size() - 2));
  EXPECT_EQ(c[12], "/*");
}

TEST(PhaseTable, MoonIndex) {
  EXPECT_EQ(MoonPhaseIndex(100, 100), 0);    // new
  EXPECT_EQ(MoonPhaseIndex(190, 100), 9);    // first quarter
  EXPECT_EQ(MoonPhaseIndex(280, 100), 18);   // full
  EXPECT_EQ(MoonPhaseIndex(10, 100), 27);    // last quarter
  EXPECT_EQ(MoonPhaseIndex(5, 355), 1);      // across 0°
  EXPECT_EQ(MoonPhaseIndex(454.9, 100), 35);
  EXPECT_EQ(MoonPhaseIndex(455.1, 100), 0);  // 355.1° rounds to 36, i.e. new
}

TEST(PhaseTable, InnerPlanetIndex) {
  // East of the Sun (evening sky): φ = 180 − α.
  EXPECT_EQ(InnerPlanetPhaseIndex(0, 10, 0), 18);    // full, beyond the Sun
  EXPECT_EQ(InnerPlanetPhaseIndex(90, 40, 0), 9);    // half, lit on the right
  EXPECT_EQ(InnerPlanetPhaseIndex(178, 1, 0), 0);    // new, in front of the Sun
  // West of the Sun (morning sky): φ = 180 + α.
  EXPECT_EQ(InnerPlanetPhaseIndex(90, 320, 0), 27);  // half, lit on the left
  EXPECT_EQ(InnerPlanetPhaseIndex(176, 359, 0), 0);  // 356° rounds to 36, i.e. new
  EXPECT_EQ(InnerPlanetPhaseIndex(120, 350, 20), 30);  // 330° west, across 0°
}

TEST(PhaseTable, FileLine) {
  EXPECT_EQ(PhaseFileLine(2459580.5, 34, 12, 4), "2459580.5 34 12 4\r\n");
  EXPECT_EQ(PhaseFileLine(2463232.5, 0, 35, 36), "2463232.5 0 35 36\r\n");
}

}  // namespace
}  // namespace vk::ephemgen
