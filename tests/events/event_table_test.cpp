#include "events/event_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "events/event_line.h"
#include "events/phase_table.h"
#include "support/temp_dir.h"
#include "support/workspace.h"
#include "base/error.h"

namespace vk {
namespace {

std::string Line(double jd_ut, double jd_local, const std::string& body, const std::string& event,
                 const EventFields& f = {}) {
  std::string out;
  AppendEventLine(out, jd_ut, jd_local, body, event, f);
  return out;
}

std::string ErrorOf(const std::string& log_text, EventStore& store, test::TempDir& dir) {
  test::WriteFile(dir / "log.txt", log_text);
  try {
    ReadEventLog(store, dir / "log.txt");
  } catch (const Error& e) {
    return std::string(e.what()) + " @ " + e.file().substr(e.file().find(", line ") + 2);
  }
  return "(no error)";
}

TEST(EventLine, FieldWidthsAndEmptyFields) {
  const tShortString3 leo{3, {'L', 'e', 'o'}};
  EventFields f;
  f.diameter = 9.04;
  f.magnitude = -1.234;
  f.label = &leo;
  EXPECT_EQ(Line(2459583.41666667, 2459583.45833333, "Mars", "Aufgang", f),
            " 2.45958341666667E+0006\t 2.45958345833333E+0006\tMars\tAufgang\t\t\t\t\t9.0\t-1.23\tLeo\t\r\n");
  EXPECT_EQ(Line(2459583.5, 2459583.5, "Sonne", "MAstrD"),
            " 2.45958350000000E+0006\t 2.45958350000000E+0006\tSonne\tMAstrD\t\t\t\t\t\t\t\t\r\n");
  EventFields d;
  d.au = 0.98331234;
  d.km = 0.98331234 * 149597870.7;
  EXPECT_EQ(Line(1, 1, "Sonne", "Erde in Sonnennähe", d),
            " 1.00000000000000E+0000\t 1.00000000000000E+0000\tSonne\tErde in Sonnennähe\t0.9833\t147101432\t\t\t\t\t\t\r\n");
}

TEST(ReadEventLog, FieldsOfAnAufgangAndOfAnEmptyLine) {
  test::TempDir dir;
  const tShortString3 leo{3, {'L', 'e', 'o'}};
  EventFields f;
  f.diameter = 9.04;
  f.magnitude = -1.234;
  f.label = &leo;
  EventFields sol;
  sol.angle = "-23:26:14";
  test::WriteFile(dir / "log.txt", Line(2459583.4, 2459583.45, "Mars", "Aufgang", f) +
                                       Line(2459583.5, 2459583.54, "Sonne", "ABurgD") +
                                       Line(2459583.6, 2459583.64, "Sonne", "Winteranfang (Äquator)", sol));
  EventStore store;
  ReadEventLog(store, dir / "log.txt");
  ASSERT_EQ(store.Event_Count, 3);
  const tEventData& a = store.Event_Tab[1];
  EXPECT_DOUBLE_EQ(a.jd_ut, 2459583.4);
  EXPECT_DOUBLE_EQ(a.jd_local, 2459583.45);
  EXPECT_EQ(a.body, "Mars");
  EXPECT_EQ(a.event, "Aufgang");
  EXPECT_EQ(a.au, kMissing);
  EXPECT_EQ(a.km, kMissing);
  EXPECT_EQ(a.earth_radii, kMissing);
  EXPECT_EQ(a.angle, "");
  EXPECT_FLOAT_EQ(a.diameter, 9.0f);
  EXPECT_FLOAT_EQ(a.magnitude, -1.23f);
  EXPECT_EQ(a.note, "Leo\t");
  EXPECT_EQ(a.line.back(), '\t') << "the line as read, without its CR LF";
  const tEventData& b = store.Event_Tab[2];
  EXPECT_EQ(b.diameter, static_cast<float>(kMissing));
  EXPECT_EQ(b.magnitude, static_cast<float>(kMissing));
  EXPECT_EQ(b.note, "\t");
  EXPECT_EQ(store.Event_Tab[3].angle, "-23:26:14");
}

TEST(ReadEventLog, BadLinesStopWithTheRuntimeText) {
  test::TempDir dir;
  EventStore store;
  const std::string good = Line(2459583.5, 2459583.54, "Sonne", "ABurgD");
  EXPECT_EQ(ErrorOf(good + "\tx\tSonne\tABurgD\t\t\t\t\t\t\t\t\r\n", store, dir),
            "'' is not a valid floating point value @ line 2, column 1");
  EXPECT_EQ(store.Event_Count, 1) << "entries read before stay";
  EXPECT_EQ(ErrorOf(good + "2459583.5\t2459583.5\tMars\tAufgang\tx1\t\t\t\t\t\t\t\r\n", store, dir),
            "'x1' is not a valid floating point value @ line 2, column 5");
  EXPECT_EQ(ErrorOf("2459583.5\t2459583.5\tMars\tAufgang\t\t\t\t\t9.0\tn.a.\tLeo\t\r\n", store, dir),
            "'n.a.' is not a valid floating point value @ line 1, column 10");
  EXPECT_EQ(ErrorOf(good + "\r\n" + good, store, dir),
            "Line has 0 TAB-ended columns, 11 expected: column 1 missing @ line 2, column 1");
  EXPECT_EQ(store.Event_Count, 1);
  try {
    ReadEventLog(store, dir / "missing.txt");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
  EXPECT_EQ(store.Event_Count, 0);
}

TEST(ReadEventLog, MoreThan500000LinesIsARangeCheckError) {
  test::TempDir dir;
  std::string text;
  const std::string line = "2459583.5\t2459583.5\tSonne\tMAstrD\t\t\t\t\t\t\t\t\r\n";
  text.reserve(line.size() * 500001);
  for (int i = 0; i < 500001; ++i) text += line;
  EventStore store;
  EXPECT_EQ(ErrorOf(text, store, dir), "Range check error @ line 500001");
  EXPECT_EQ(store.Event_Count, 500000);
  EventStore sorted;
  try {
    ReadSortedEventLog(sorted, dir / "log.txt");
    ADD_FAILURE() << "no error from the sorted read";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Range check error");
  }
  EXPECT_EQ(sorted.Event_Count, 500000) << "the sorted read keeps what the read in file order keeps";
}

void FillKeys(EventStore& store, const std::vector<double>& keys) {
  store.Event_Count = 0;
  for (double k : keys) {
    const int i = ++store.Event_Count;
    if (static_cast<int>(store.Event_Tab.size()) <= i) store.Event_Tab.emplace_back();
    store.Event_Tab[i].jd_local = k;
    store.Event_Tab[i].line = "line " + std::to_string(k);
  }
}

// Equal keys end in the order of the documented heap-sort steps, worked by
// hand (entries named a, b, c … in table order): the sort is not stable.
TEST(SortEventTable, EqualKeysEndInTheHeapSortsOrder) {
  const struct {
    std::vector<double> keys;
    const char* order;
  } cases[] = {{{1, 1, 1}, "bca"},
               {{2, 1, 2, 1, 2}, "bdcea"},
               {{0, 3, 3, 1, 3, 0, 1}, "afdgceb"},
               {{5, 5, 5, 5, 5, 5, 5, 5}, "bcdefgha"}};
  for (const auto& c : cases) {
    EventStore store;
    FillKeys(store, c.keys);
    for (std::size_t i = 1; i <= c.keys.size(); ++i) store.Event_Tab[i].line = std::string(1, static_cast<char>('a' + i - 1));
    SortEventTable(store);
    std::string order;
    for (int i = 1; i <= store.Event_Count; ++i) order += store.Event_Tab[static_cast<std::size_t>(i)].line;
    EXPECT_EQ(order, c.order);
  }
}

TEST(SortEventTable, ZeroOneTwoAndManyEntries) {
  EventStore store;
  FillKeys(store, {});
  SortEventTable(store);
  EXPECT_EQ(store.Event_Count, 0);
  FillKeys(store, {5});
  SortEventTable(store);
  EXPECT_EQ(store.Event_Tab[1].jd_local, 5);
  FillKeys(store, {7, 3});
  SortEventTable(store);
  EXPECT_EQ(store.Event_Tab[1].jd_local, 3);
  EXPECT_EQ(store.Event_Tab[2].jd_local, 7);

  std::mt19937 rng(42);
  std::uniform_real_distribution<double> day(2459580.5, 2463232.5);
  std::vector<double> keys(20001);
  for (auto& k : keys) k = std::floor(day(rng) * 4) / 4;  // many equal keys
  FillKeys(store, keys);
  SortEventTable(store);
  std::sort(keys.begin(), keys.end());
  for (int i = 1; i <= store.Event_Count; ++i) {
    ASSERT_EQ(store.Event_Tab[i].jd_local, keys[static_cast<std::size_t>(i - 1)]) << "entry " << i;
    ASSERT_EQ(store.Event_Tab[i].line, "line " + std::to_string(keys[static_cast<std::size_t>(i - 1)]))
        << "records move whole";
  }
}

TEST(ReadPhaseTable, GroupsOnAnyLinesAndBadNumbers) {
  test::TempDir dir;
  std::string one_per_line, all_on_one;
  for (int d = 0; d < kPhaseDays; ++d) {
    const std::string jd = std::to_string(2459580.5 + d);
    one_per_line += jd + " " + std::to_string(d % 36) + "\t" + std::to_string(d % 36) + " 36\r\n";
    all_on_one += jd + " " + std::to_string(d % 36) + " " + std::to_string(d % 36) + " 36 ";
  }
  PhaseTable a, b;
  test::WriteFile(dir / "a.txt", one_per_line + "garbage after the last group");
  test::WriteFile(dir / "b.txt", all_on_one);
  ReadPhaseTable(a, dir / "a.txt");
  ReadPhaseTable(b, dir / "b.txt");
  EXPECT_EQ(a.Phase_Count, kPhaseDays);
  EXPECT_EQ(0, std::memcmp(&a.Phase_Tab, &b.Phase_Tab, sizeof a.Phase_Tab));
  EXPECT_EQ(+a.Phase_Tab[1].jd, 2459580.5);
  EXPECT_EQ(a.Phase_Tab[37].moon, 0);
  EXPECT_EQ(a.Phase_Tab[kPhaseDays].venus, 36);
  EXPECT_EQ(+a.Phase_Tab[101].jd, 2459580.5 + 100);
  EXPECT_EQ(a.Phase_Tab[101].moon, 100 % 36);

  test::WriteFile(dir / "c.txt", "2459580.5 1 2 3\r\n2459581.5 x 2 3\r\n");
  try {
    ReadPhaseTable(a, dir / "c.txt");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric input: 'x'");
    EXPECT_EQ(e.file(), (dir / "c.txt").string() + ", line 2, column 11");
  }
  test::WriteFile(dir / "d.txt", "2459580.5 1 2 3\r\n");
  ReadPhaseTable(a, dir / "d.txt");
  EXPECT_EQ(a.Phase_Count, 1);
  EXPECT_EQ(+a.Phase_Tab[2].jd, 0.0) << "days the file does not hold are zeroed";
}

// Reading the log and sorting it in one step gives what reading it and then
// sorting it gives: the same entries, order, error and entries left.
TEST(ReadSortedEventLog, SameEntriesOrderAndErrorsAsReadingThenSorting) {
  const std::string a = Line(2459583.5, 2459583.54, "Sonne", "ABurgD");
  const std::string b = Line(2459583.1, 2459583.14, "Mond", "Aufgang");
  const std::string tie1 = Line(2459583.2, 2459583.54, "Mars", "Untergang");
  const std::string tie2 = Line(2459583.3, 2459583.54, "Venus", "ImMeridian");
  const std::string real_log = test::HaveData() ? test::ReadFile(test::kBuildData / "Vesperkalend_2022-2032_Log.txt") : "";
  const std::string cases[] = {
      "",
      a + b + tie1,
      tie1 + a + tie2,                                               // three equal keys: "bca"
      tie1 + a + tie2 + b + Line(2459583.4, 2459583.54, "Moon", "Untergang") + Line(2459583.0, 2459583.14, "Mars", "X") +
          Line(2459583.6, 2459583.54, "Saturn", "Y"),  // equal keys: the heap sort's order
      "2459583.5\t2459583.5\tMars\tAufgang\t\t\t\t\t9.0\t1.5\tLeo\t\n" + a,  // LF alone
      a + b + "\tx\tSonne\tABurgD\t\t\t\t\t\t\t\t\r\n" + tie1,      // a bad line after two good ones
      b + a + "2459583.5\t1e9\tMars\tAufgang\t\t\t\t\t\t\t\t\r\n",  // a key outside its range
      a + "2459583.5\t2459583.5\tMars\tAufgang\t\t\t\t\t\t\r\n",      // a short line
      real_log,
  };
  test::TempDir dir;
  for (std::size_t c = 0; c < std::size(cases); ++c) {
    test::WriteFile(dir / "log.txt", cases[c]);
    EventStore expected, got;
    std::string expected_error = "(none)", got_error = "(none)";
    try {
      ReadEventLog(expected, dir / "log.txt");
      SortEventTable(expected);
    } catch (const Error& e) {
      expected_error = e.describe();
    }
    try {
      ReadSortedEventLog(got, dir / "log.txt");
    } catch (const Error& e) {
      got_error = e.describe();
    }
    EXPECT_EQ(got_error, expected_error) << "case " << c;
    ASSERT_EQ(got.Event_Count, expected.Event_Count) << "case " << c;
    for (int i = 1; i <= got.Event_Count; ++i) {
      const tEventData& x = got.Event_Tab[static_cast<std::size_t>(i)];
      const tEventData& y = expected.Event_Tab[static_cast<std::size_t>(i)];
      ASSERT_TRUE(x.line == y.line && x.jd_ut == y.jd_ut && x.jd_local == y.jd_local && x.body == y.body &&
                  x.event == y.event && x.au == y.au && x.km == y.km && x.earth_radii == y.earth_radii &&
                  x.angle == y.angle && x.diameter == y.diameter && x.magnitude == y.magnitude && x.note == y.note)
          << "case " << c << " entry " << i << ": " << x.line << " against " << y.line;
    }
  }
}

}  // namespace
}  // namespace vk
