// The event log and phase table readers refuse values the program cannot use,
// naming file, line, column and the allowed range.
#include <gtest/gtest.h>

#include "events/event_table.h"
#include "events/phase_table.h"
#include "support/temp_dir.h"
#include "base/error.h"

namespace vk {
namespace {

struct Refusal {
  std::string message;
  std::string place;  // after the file name
};

template <class Read>
Refusal RefusalOf(const std::string& text, Read read) {
  test::TempDir dir;
  test::WriteFile(dir / "f.txt", text);
  try {
    read(dir / "f.txt");
  } catch (const Error& e) {
    const std::string file = (dir / "f.txt").string();
    return {e.what(), e.file().rfind(file, 0) == 0 ? e.file().substr(file.size()) : "(file not named) " + e.file()};
  }
  return {"(no error)", ""};
}

Refusal LogRefusal(const std::string& text) {
  return RefusalOf(text, [](const std::filesystem::path& p) {
    EventStore store;
    ReadEventLog(store, p);
  });
}

// An event line with its eleven TAB-ended fields.
std::string LogLine(const std::vector<std::string>& f) {
  std::string s;
  for (const auto& x : f) s += x + "\t";
  return s + "\r\n";
}

const std::vector<std::string> kGood = {"2459583.5", "2459583.54", "Mond", "in Erdnähe", "", "363000", "56.90",
                                        "", "1900.0", "-12.50", "Sgr"};

TEST(EventLogChecks, ValuesOutsideTheirRangeAreRefused) {
  const struct {
    int column;
    std::string text;
    std::string message;
  } cases[] = {
      {1, "4.6e19", "'4.6e19' is outside the allowed range 2436568.5 to 2473825.5"},
      {1, "-1e300", "'-1e300' is outside the allowed range 2436568.5 to 2473825.5"},
      {2, "1", "'1' is outside the allowed range 2436568.5 to 2473825.5"},
      {5, "-0.5", "'-0.5' is outside the allowed range 0 to 100"},
      {6, "1e300", "'1e300' is outside the allowed range 0 to 15000000000"},
      {7, "1e5", "'1e5' is outside the allowed range 0 to 10000"},
      {9, "1e39", "'1e39' is outside the allowed range 0 to 10000"},
      {10, "-1e39", "'-1e39' is outside the allowed range -30 to 40"},
      {10, "nan", "'nan' is not a valid floating point value"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> f = kGood;
    f[static_cast<std::size_t>(c.column - 1)] = c.text;
    const Refusal r = LogRefusal(LogLine(kGood) + LogLine(f));
    EXPECT_EQ(r.message, c.message) << c.text;
    EXPECT_EQ(r.place, ", line 2, column " + std::to_string(c.column)) << c.text;
  }
  EXPECT_EQ(LogRefusal(LogLine(kGood)).message, "(no error)");
}

TEST(EventLogChecks, ShortLinesNameTheMissingColumn) {
  const Refusal r = LogRefusal("2459583.5\t2459583.5\tMars\tAufgang\t\r\n");
  EXPECT_EQ(r.message, "Line has 4 TAB-ended columns, 11 expected: column 5 missing");
  EXPECT_EQ(r.place, ", line 1, column 5");
}

TEST(EventLogChecks, LoneCrIsRefusedInOneLine) {
  const std::string line = LogLine(kGood);
  const std::string cr_only = line.substr(0, line.size() - 1);  // "…\t\r"
  for (const std::string& text : {cr_only + cr_only + cr_only, line.substr(0, line.size() - 1) + "\r\n"}) {
    const Refusal r = LogRefusal(text);
    EXPECT_EQ(r.message, "Line end CR without LF: only LF or CR LF end a line");
    EXPECT_EQ(r.place, ", line 1");
  }
}

Refusal PhaseRefusal(const std::string& text) {
  return RefusalOf(text, [](const std::filesystem::path& p) {
    PhaseTable t;
    ReadPhaseTable(t, p);
  });
}

TEST(PhaseTableChecks, ValuesOutsideTheirRangeAreRefused) {
  const struct {
    std::string second_line;
    std::string message;
    std::string place;
  } cases[] = {
      {"2459581.5 36 2 3", "'36' is outside the allowed range 0 to 35", ", line 2, column 11"},
      {"2459581.5 1 -1 3", "'-1' is outside the allowed range 0 to 35", ", line 2, column 13"},
      {"2459581.5 1 2 37", "'37' is outside the allowed range 0 to 36", ", line 2, column 15"},
      {"2459581.5 1 2 257", "'257' is outside the allowed range 0 to 36", ", line 2, column 15"},
      {"1e300 1 2 3", "'1e300' is outside the allowed range 2436568.5 to 2473825.5", ", line 2, column 1"},
      {"  -4.6e19 1 2 3", "'-4.6e19' is outside the allowed range 2436568.5 to 2473825.5", ", line 2, column 3"},
      {"2459581.5 1 2 3\x01", "Invalid numeric input: '3\\x01'", ", line 2, column 15"},
  };
  for (const auto& c : cases) {
    const Refusal r = PhaseRefusal("2459580.5 1 2 3\r\n" + c.second_line + "\r\n");
    EXPECT_EQ(r.message, c.message) << c.second_line;
    EXPECT_EQ(r.place, c.place) << c.second_line;
  }
}

TEST(PhaseTableChecks, LfCrLfAndCrLineEndsAllRead) {
  for (const char* end : {"\n", "\r\n", "\r"}) {
    test::TempDir dir;
    std::string text;
    for (int d = 0; d < 3; ++d) text += std::to_string(2459580.5 + d) + " 1 2 3" + end;
    text += "2459583.5 x 2 3";
    test::WriteFile(dir / "p.txt", text);
    PhaseTable t;
    try {
      ReadPhaseTable(t, dir / "p.txt");
      FAIL();
    } catch (const Error& e) {
      EXPECT_EQ(e.file(), (dir / "p.txt").string() + ", line 4, column 11") << "line end " << (end[0] == '\r');
    }
    EXPECT_EQ(t.Phase_Count, 3);
  }
}

}  // namespace
}  // namespace vk
