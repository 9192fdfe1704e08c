#include "ephemeris/horizons_import.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "ephemeris/export_line.h"
#include "support/temp_dir.h"
#include "base/error.h"

namespace vk {
namespace {

using test::ExportLine;

constexpr double kArcsecInHours = 1.0 / 3600 / 15;
constexpr double kTol = 1e-12;

tEphemerisData Convert(const std::string& line) {
  tEphemerisData rec{};
  ConvertExportLine(line, rec);
  return rec;
}

std::string ErrorOf(const std::string& line) {
  try {
    Convert(line);
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ConvertExportLine, TakesEveryColumnToItsField) {
  const tEphemerisData r = Convert(ExportLine().str());
  EXPECT_DOUBLE_EQ(+r.jd, 2459580.5);
  EXPECT_NEAR(+r.ra, 18 + 45 / 60.0 + 40.273456 / 3600, kTol);
  EXPECT_NEAR(+r.dec, -(23 + 2 / 60.0 + 44.56789 / 3600), kTol);
  EXPECT_DOUBLE_EQ(+r.mag, -26.742);
  EXPECT_DOUBLE_EQ(+r.col8, 100.0);
  EXPECT_DOUBLE_EQ(+r.col9, 0.0);
  EXPECT_DOUBLE_EQ(+r.diameter, 1951.79);
  EXPECT_DOUBLE_EQ(+r.col11, 1.5);
  EXPECT_DOUBLE_EQ(+r.col12, 2.5);
  EXPECT_EQ(+r.reserved1, 0.0);
  EXPECT_EQ(+r.reserved2, 0.0);
  EXPECT_DOUBLE_EQ(+r.col15, 0.98331);
  EXPECT_DOUBLE_EQ(+r.delta, 0.983305643);
  EXPECT_DOUBLE_EQ(+r.col17, -0.015);
  EXPECT_EQ(r.label.length, 3);
  EXPECT_EQ(r.label.view(), "Sgr");
  EXPECT_DOUBLE_EQ(+r.ecl_lon, 280.123456);
  EXPECT_DOUBLE_EQ(+r.col20, -0.000123);
}

TEST(ConvertExportLine, DeclinationSignIsReadApartFromTheDegrees) {
  EXPECT_NEAR(+Convert(ExportLine().set(6, " +00 30 00.00000").str()).dec, 0.5, kTol);
  EXPECT_NEAR(+Convert(ExportLine().set(6, " -00 30 00.00000").str()).dec, -0.5, kTol);
  EXPECT_NEAR(+Convert(ExportLine().set(6, "  12 00 36.00000").str()).dec, 12.01, kTol);
  EXPECT_NEAR(+Convert(ExportLine().set(6, " +89 59 59.99999").str()).dec, 90 - 0.00001 / 3600, kTol);
}

TEST(ConvertExportLine, RightAscensionByPosition) {
  EXPECT_NEAR(+Convert(ExportLine().set(5, " 00 00 00.000001").str()).ra, 1e-6 / 3600, kTol);
  EXPECT_NEAR(+Convert(ExportLine().set(5, " 23 59 59.999999").str()).ra, 24 - 1e-6 / 3600, kTol);
  // Seconds padded with blanks inside their nine characters.
  EXPECT_NEAR(+Convert(ExportLine().set(5, " 01 02 3.5      ").str()).ra, 1 + 2 / 60.0 + 3.5 / 3600, kArcsecInHours);
}

TEST(ConvertExportLine, NumbersMayCarryBlanksSignsAndExponents) {
  const tEphemerisData r = Convert(ExportLine().set(7, "  +1.5E+00 ").set(16, "2.5e-1").set(20, " 7 ").str());
  EXPECT_DOUBLE_EQ(+r.mag, 1.5);
  EXPECT_DOUBLE_EQ(+r.delta, 0.25);
  EXPECT_DOUBLE_EQ(+r.col20, 7.0);
}

TEST(ConvertExportLine, ShortLabelKeepsItsLengthAndNeverTakesTheTab) {
  // The label is characters 4 to 6 of its column; a narrower column gives a
  // shorter label, never the tab or the next column.
  const tEphemerisData r = Convert(ExportLine().set(18, "  Sg").str());
  EXPECT_EQ(r.label.length, 1);
  EXPECT_EQ(r.label.view(), "g");
  EXPECT_EQ(Convert(ExportLine().set(18, " ").str()).label.length, 0);
  EXPECT_EQ(Convert(ExportLine().set(18, "ab   Leo  /L").str()).label.view(), "  L");
}

TEST(ConvertExportLine, BadInputNamesTheOffendingText) {
  EXPECT_EQ(ErrorOf(""), "Line has 1 columns, 20 expected: columns 2 to 20 missing");
  EXPECT_EQ(ErrorOf("Date__(UT)__HR:MN\tDate_________JDUT\tx\ty\tR.A._(a-apparent)"),
            "Line has 5 columns, 20 expected: columns 6 to 20 missing");
  EXPECT_EQ(ErrorOf(ExportLine().set(2, "Date_________JDUT").str()),
            "'Date_________JDUT' is not a valid floating point value");
  EXPECT_EQ(ErrorOf(ExportLine().set(7, "n.a.").str()), "'n.a.' is not a valid floating point value");
  EXPECT_EQ(ErrorOf(ExportLine().set(16, "").str()), "'' is not a valid floating point value");
  EXPECT_EQ(ErrorOf(ExportLine().set(5, " 18 45 40.27").str()),
            "' 18 45 40.27' is 12 characters wide, at least 16 expected");
  EXPECT_EQ(ErrorOf(ExportLine().set(5, " 1x 45 40.273456").str()), "'1x' is not a valid integer value");
  EXPECT_EQ(ErrorOf(ExportLine().set(6, " -2a 02 44.56789").str()), "'2a' is not a valid integer value");
  EXPECT_EQ(ErrorOf(ExportLine().set(6, " -23 b2 44.56789").str()), "'b2' is not a valid integer value");
  EXPECT_EQ(ErrorOf(ExportLine().set(7, "inf").str()), "'inf' is not a valid floating point value");
}

TEST(ConvertExportLine, MissingLastColumnOrALineEndingInTheLabel) {
  ExportLine no_last;
  no_last.columns.pop_back();
  EXPECT_EQ(ErrorOf(no_last.str()), "Line has 19 columns, 20 expected: column 20 missing");
  ExportLine ends_in_label;
  ends_in_label.columns.resize(18);
  ends_in_label.columns[17] = "   Sg";
  EXPECT_EQ(ErrorOf(ends_in_label.str()), "Line has 18 columns, 20 expected: columns 19 to 20 missing");
  ExportLine extra = ExportLine();
  extra.columns.push_back("1.0");
  EXPECT_EQ(ErrorOf(extra.str()), "Line has 21 columns, 20 expected");
  ExportLine empty_extra = ExportLine();
  empty_extra.columns.push_back("");
  EXPECT_EQ(ErrorOf(empty_extra.str()), "Line has 21 columns, 20 expected");
}

std::vector<tEphemerisData> ConvertText(const std::string& text) {
  std::vector<tEphemerisData> out;
  ConvertExportLines(text, [&](const tEphemerisData& r) { out.push_back(r); });
  return out;
}

TEST(ConvertExportLines, LineEndsAndEmptyLines) {
  const std::string line = ExportLine().str();
  EXPECT_EQ(ConvertText(line + "\r\n" + line + "\r\n").size(), 2u);
  EXPECT_EQ(ConvertText(line + "\n" + line).size(), 2u);
  EXPECT_EQ(ConvertText("").size(), 0u);
  try {
    ConvertText(line + "\r\n\r\n" + line + "\r\n");
    FAIL() << "an empty line in the middle must stop the conversion";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Line has 1 columns, 20 expected: columns 2 to 20 missing");
    EXPECT_EQ(e.file(), "line 2, column 2");
  }
}

// Writes nine exports of `lines` hourly lines each under dir/_res.
void WriteExports(const std::filesystem::path& dir, int lines, double ra_seconds) {
  for (int body = 0; body < kBodyCount; ++body) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
      char ra[32];
      std::snprintf(ra, sizeof ra, " 01 00 %09.6f", ra_seconds);
      text += ExportLine().set(2, std::to_string(2459580.5 + i / 24.0)).set(5, ra).str() + "\r\n";
    }
    test::WriteFile(dir / ExportFileName(body), text);
  }
}

TEST(MakeBinaryFiles, WritesOneRecordPerLineAndReportsProgress) {
  test::TempDir dir;
  WriteExports(dir.path(), 5, 1.0);
  std::vector<std::string> texts;
  std::vector<StatusColour> colours;
  MakeBinaryFiles(dir.path(), [&](std::string_view t, StatusColour c) {
    texts.emplace_back(t);
    colours.push_back(c);
  }, 5);
  ASSERT_EQ(texts.size(), 11u);
  EXPECT_EQ(texts.front(), "Writing binary files. Wait please...");
  EXPECT_EQ(texts[1], "HORIZONS_daten_2022-2032_SUN.bin");
  EXPECT_EQ(texts[9], "HORIZONS_daten_2022-2032_NEP.bin");
  EXPECT_EQ(texts.back(), "Done.");
  EXPECT_EQ(colours.front(), StatusColour::Red);
  EXPECT_EQ(colours.back(), StatusColour::ButtonFace);
  for (int body = 0; body < kBodyCount; ++body) {
    const std::string bytes = test::ReadFile(dir / BinaryFileName(body));
    ASSERT_EQ(bytes.size(), 5u * 132u) << BinaryFileName(body);
    tEphemerisData rec;
    std::memcpy(&rec, bytes.data() + 4 * 132, sizeof rec);
    EXPECT_NEAR(+rec.jd, 2459580.5 + 4 / 24.0, 1e-6);
    EXPECT_EQ(+rec.reserved1, 0.0);
    EXPECT_EQ(+rec.reserved2, 0.0);
  }
  // Nothing but the nine exports and the nine binary files: no temporary left.
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 10);  // nine .bin and _res
}

TEST(MakeBinaryFiles, FailureKeepsThePreviousFileOfThatBody) {
  test::TempDir dir;
  WriteExports(dir.path(), 3, 1.0);
  MakeBinaryFiles(dir.path(), nullptr, 3);
  const std::string old_moon = test::ReadFile(dir / BinaryFileName(Moon));
  const std::string old_mars = test::ReadFile(dir / BinaryFileName(Mars));

  WriteExports(dir.path(), 4, 2.0);
  // The Moon's export breaks on its third line; Mars's export is gone.
  std::string moon = test::ReadFile(dir / ExportFileName(Moon));
  moon.replace(moon.find("-26.742", moon.find("-26.742", moon.find("-26.742") + 1) + 1), 7, "n.a.   ");
  test::WriteFile(dir / ExportFileName(Moon), moon);
  std::filesystem::remove(dir / ExportFileName(Mars));
  try {
    MakeBinaryFiles(dir.path(), nullptr, 3);
    FAIL() << "the broken Moon export must stop the conversion";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'n.a.   ' is not a valid floating point value");
    EXPECT_EQ(e.file(), (dir / ExportFileName(Moon)).string() + ", line 3, column 7");
  }
  EXPECT_EQ(test::ReadFile(dir / BinaryFileName(Venus)).size(), 4u * 132u) << "earlier bodies are new";
  EXPECT_EQ(test::ReadFile(dir / BinaryFileName(Moon)), old_moon) << "the failing body keeps its old file";
  EXPECT_EQ(test::ReadFile(dir / BinaryFileName(Mars)), old_mars);

  // Repair the Moon: now Mars's missing export stops it, and Mars keeps its old file.
  WriteExports(dir.path(), 4, 2.0);
  std::filesystem::remove(dir / ExportFileName(Mars));
  try {
    MakeBinaryFiles(dir.path(), nullptr, 3);
    FAIL() << "a missing export must stop the conversion";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "File not found");
    EXPECT_EQ(e.file(), (dir / ExportFileName(Mars)).string());
  }
  EXPECT_EQ(test::ReadFile(dir / BinaryFileName(Moon)).size(), 4u * 132u);
  EXPECT_EQ(test::ReadFile(dir / BinaryFileName(Mars)), old_mars);
  int temporaries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    if (e.path().filename().string().find(".bin.") != std::string::npos) ++temporaries;
  EXPECT_EQ(temporaries, 0);
}

}  // namespace
}  // namespace vk
