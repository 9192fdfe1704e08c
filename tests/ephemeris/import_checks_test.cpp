// The import refuses what the export format does not allow, naming line,
// column and the allowed range; a refused export keeps the previous file.
#include <gtest/gtest.h>

#include <filesystem>

#include "ephemeris/export_line.h"
#include "ephemeris/horizons_import.h"
#include "support/temp_dir.h"
#include "base/error.h"

namespace vk {
namespace {

using test::ExportLine;

struct Refusal {
  std::string message;
  std::string place;
};

Refusal RefusalOf(const std::string& text) {
  try {
    ConvertExportLines(text, [](const tEphemerisData&) {}, "x.txt");
  } catch (const Error& e) {
    return {e.what(), e.file()};
  }
  return {"(no error)", ""};
}

TEST(ImportChecks, FieldsOutsideTheirRangeAreRefused) {
  const struct {
    int column;
    std::string text;
    std::string message;
  } cases[] = {
      {2, "-1e300", "'-1e300' is outside the allowed range 2436568.5 to 2473825.5"},
      {2, "1e20", "'1e20' is outside the allowed range 2436568.5 to 2473825.5"},
      {2, " 2436568.4", "' 2436568.4' is outside the allowed range 2436568.5 to 2473825.5"},
      {2, "1e400", "'1e400' is not a valid floating point value"},
      {5, " -1 00 00.000000", "'-1' is not a valid integer value"},
      {5, " 99 99 00.000000", "'99' is outside the allowed range 0 to 23"},
      {5, " 24 00 00.000000", "'24' is outside the allowed range 0 to 23"},
      {5, " 23 60 00.000000", "'60' is outside the allowed range 0 to 59"},
      {5, " 23 59 60.000000", "'60.000000' is outside the allowed range 0 to 59.999999"},
      {5, " 23 59 -1.000000", "'-1.000000' is outside the allowed range 0 to 59.999999"},
      {5, "  1 00 00.000000", "' 1' is not a valid integer value"},
      {5, " +1 00 00.000000", "'+1' is not a valid integer value"},
      {5, " 18 45 40.27", "' 18 45 40.27' is 12 characters wide, at least 16 expected"},
      {5, " 18x45x48.418759", "' 18x45x48.418759': character 4 is 'x', a blank expected"},
      {5, " 18 45:48.418759", "' 18 45:48.418759': character 7 is ':', a blank expected"},
      {5, "018 45 48.418759", "'018 45 48.418759': character 1 is '0', a blank expected"},
      {6, " -23:01 12.40904", "' -23:01 12.40904': character 5 is ':', a blank expected"},
      {6, " -23 01_12.40904", "' -23 01_12.40904': character 8 is '_', a blank expected"},
      {6, "\x1b-23 01 12.40904", "'\\x1B-23 01 12.40904': character 1 is '\\x1B', a blank expected"},
      {18, "   S\x1b[", "label 'S\\x1B[' holds other characters than letters and blanks"},
      {18, "   Sg1", "label 'Sg1' holds other characters than letters and blanks"},
      {6, " +-5 00 00.00000", "'-5' is not a valid integer value"},
      {6, " x05 00 00.00000", "'x' is not a sign (+, - or blank)"},
      {6, " +91 00 00.00000", "'91' is outside the allowed range 0 to 90"},
      {6, " +90 00 00.00001", "' +90 00 00.00001' is outside the allowed range -90 to 90"},
      {6, " -05 60 00.00000", "'60' is outside the allowed range 0 to 59"},
      {6, " -05 00 1e9     ", "'1e9     ' is outside the allowed range 0 to 59.999999"},
      {6, " -05 00 00.0", "' -05 00 00.0' is 12 characters wide, at least 16 expected"},
      {7, "-31", "'-31' is outside the allowed range -30 to 40"},
      {8, "101", "'101' is outside the allowed range 0 to 100"},
      {9, "-1", "'-1' is outside the allowed range 0 to 180"},
      {10, "1e300", "'1e300' is outside the allowed range 0 to 10000"},
      {11, "-0.1", "'-0.1' is outside the allowed range 0 to 100"},
      {12, "1e5", "'1e5' is outside the allowed range -1000 to 1000"},
      {15, "181", "'181' is outside the allowed range 0 to 180"},
      {16, "0", "'0' is outside the allowed range 0.000001 to 100"},
      {17, "-1001", "'-1001' is outside the allowed range -1000 to 1000"},
      {19, "360.5", "'360.5' is outside the allowed range 0 to 360"},
      {20, "-90.5", "'-90.5' is outside the allowed range -90 to 90"},
      {20, "1.0\t", "Line has 21 columns, 20 expected"},
  };
  for (const auto& c : cases) {
    const Refusal r = RefusalOf(ExportLine().str() + "\n" + ExportLine().set(c.column, c.text).str() + "\n");
    EXPECT_EQ(r.message, c.message) << "column " << c.column << " '" << c.text << "'";
    const std::string column = c.column == 20 && c.text.back() == '\t' ? "21" : std::to_string(c.column);
    EXPECT_EQ(r.place, "x.txt, line 2, column " + column) << c.text;
  }
}

TEST(ImportChecks, TheEdgesOfEachRangeAreAccepted) {
  tEphemerisData rec{};
  ConvertExportLine(ExportLine().set(5, " 00 00 00.000000").set(6, " -90 00 00.00000").set(7, "40").str(), rec);
  EXPECT_EQ(+rec.dec, -90.0);
  ConvertExportLine(ExportLine().set(5, " 23 59 59.999999").set(6, " +90 00 00.00000").set(19, "360").str(), rec);
  EXPECT_EQ(+rec.dec, 90.0);
  ConvertExportLine(ExportLine().set(2, "2436568.5").set(6, "  05 00 00.00000").str(), rec);
  EXPECT_EQ(+rec.dec, 5.0);
  ConvertExportLine(ExportLine().set(2, "2473825.5").str(), rec);
  EXPECT_EQ(+rec.jd, 2473825.5);
}

TEST(ImportChecks, ShortLinesNameTheMissingColumn) {
  ExportLine five;
  five.columns.resize(5);
  const Refusal r = RefusalOf(five.str() + "\n");
  EXPECT_EQ(r.message, "Line has 5 columns, 20 expected: columns 6 to 20 missing");
  EXPECT_EQ(r.place, "x.txt, line 1, column 6");
}

TEST(ImportChecks, LoneCrLineEndsAreRefusedInOneLine) {
  const std::string line = ExportLine().str();
  for (const std::string& text : {line + "\r" + line + "\r" + line + "\r", line + "\r\r\n" + line + "\r\r\n"}) {
    const Refusal r = RefusalOf(text);
    EXPECT_EQ(r.message, "Line end CR without LF: only LF or CR LF end a line");
    EXPECT_EQ(r.place, "x.txt, line 1");
  }
  // A CR-only export of many lines: the message stays short and printable.
  std::string big;
  for (int i = 0; i < 2000; ++i) big += line + "\r";
  const Refusal r = RefusalOf(big);
  EXPECT_LT(r.message.size() + r.place.size(), 120u);
  EXPECT_EQ(r.message.find('\r'), std::string::npos);
}

// Nine exports of `lines` lines each under dir/_res.
void WriteExports(const std::filesystem::path& dir, int lines) {
  for (int body = 0; body < kBodyCount; ++body) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += ExportLine().set(2, std::to_string(2459580.5 + i / 24.0)).str() + "\n";
    test::WriteFile(dir / ExportFileName(body), text);
  }
}

TEST(ImportChecks, ShortOrEmptyExportIsRefusedAndThePreviousFileKept) {
  test::TempDir dir;
  WriteExports(dir.path(), 6);
  MakeBinaryFiles(dir.path(), nullptr, 6);
  const std::string old_sun = test::ReadFile(dir / BinaryFileName(Sun));
  ASSERT_EQ(old_sun.size(), 6u * 132u);
  for (const int lines : {0, 5}) {
    WriteExports(dir.path(), lines);
    try {
      MakeBinaryFiles(dir.path(), nullptr, 6);
      FAIL() << lines << " lines must be refused";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "The export holds " + std::to_string(lines) + " rows, the period needs 6");
      EXPECT_EQ(e.file(), (dir / ExportFileName(Sun)).string());
    }
    EXPECT_EQ(test::ReadFile(dir / BinaryFileName(Sun)), old_sun);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
            10);  // nine .bin and _res: no temporary left
}

TEST(ImportChecks, ThePeriodNeedsEveryHourlyRowByDefault) {
  test::TempDir dir;
  WriteExports(dir.path(), 24);
  try {
    MakeBinaryFiles(dir.path(), nullptr);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "The export holds 24 rows, the period needs 87651");
  }
}

}  // namespace
}  // namespace vk
