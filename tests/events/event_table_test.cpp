#include "events/event_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <memory>
#include <random>

#include "compute.h"
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

// Entries with the keys in turn, each line naming its key or given by `name`.
void FillKeys(EventStore& store, const std::vector<double>& keys, std::string (*name)(std::size_t entry) = nullptr) {
  store.Event_Count = 0;
  store.text.assign(keys.size() + 1, {});  // sized first: the lines view them in place
  for (double k : keys) {
    const int i = ++store.Event_Count;
    if (static_cast<int>(store.Event_Tab.size()) <= i) store.Event_Tab.emplace_back();
    store.Event_Tab[i].jd_local = k;
    store.text[i] = name ? name(i) : "line " + std::to_string(k);
    store.Event_Tab[i].line = store.text[i];
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
    FillKeys(store, c.keys, [](std::size_t i) { return std::string(1, static_cast<char>('a' + i - 1)); });
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
// The same count and, entry by entry, the same line and fields (zeros with their sign).
void ExpectSameEntries(const EventStore& got, const EventStore& expected, const std::string& what) {
  ASSERT_EQ(got.Event_Count, expected.Event_Count) << what;
  auto same = [](double a, double b) { return a == b && std::signbit(a) == std::signbit(b); };
  for (int i = 1; i <= got.Event_Count; ++i) {
    const tEventData& x = got.Event_Tab[static_cast<std::size_t>(i)];
    const tEventData& y = expected.Event_Tab[static_cast<std::size_t>(i)];
    ASSERT_TRUE(x.line == y.line && same(x.jd_ut, y.jd_ut) && same(x.jd_local, y.jd_local) && x.body == y.body &&
                x.event == y.event && same(x.au, y.au) && same(x.km, y.km) && same(x.earth_radii, y.earth_radii) &&
                x.angle == y.angle && same(x.diameter, y.diameter) && same(x.magnitude, y.magnitude) &&
                x.note == y.note)
        << what << " entry " << i << ": " << x.line << " against " << y.line;
  }
}

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
    ExpectSameEntries(got, expected, "case " + std::to_string(c));
  }
}

// Lines written with their records: reading the records gives what reading
// the text gives, or refuses when the text would not read as written.
TEST(ReadSortedEventRecords, SameEntriesAsReadingTheTextOrRefused) {
  static const tShortString3 leo{3, {'L', 'e', 'o'}}, tab{3, {'L', '\t', 'o'}}, lf{2, {'L', '\n', 'o'}};
  EventFields full;
  full.au = 0.98331234;
  full.km = 147101432.4;
  full.earth_radii = 23.064;
  full.angle = "+23:26:14";
  full.diameter = 1919.96;
  full.magnitude = -26.744;
  full.label = &leo;
  EventFields zeros;  // negative values that are written as zeros
  zeros.au = -0.00004;
  zeros.magnitude = -0.004;
  EventFields bad_angle = full, bad_label = full, far = full, no_number = full;
  bad_angle.angle = "+23\r:26";
  bad_label.label = &tab;
  far.diameter = 10000.06;  // written "10000.1", outside 0 … 10000
  no_number.km = std::nan("");
  EventFields lf_label = full;
  lf_label.label = &lf;
  const struct Row {
    double jd_ut, jd_local;
    const EventFields* fields;
    bool reads;  // false: the record refuses
  } rows[] = {
      {2459583.5, 2459583.54, &full, true},
      {2459583.2, 2459583.54, &zeros, true},            // equal keys: the heap sort's order
      {2459583.3, 2459583.54, nullptr, true},
      {2460000.001953125, 2460000.001953125, nullptr, true},  // an exact half of the last digit
      {2463000.99999999, 2463000.999999995, nullptr, true},
      {-2459583.5, 2459583.5, nullptr, false},           // outside the accepted dates
      {2459583.5, 1e9, nullptr, false},
      {2459583.5, 2459583.5, &bad_angle, false},
      {2459583.5, 2459583.5, &bad_label, false},
      {2459583.5, 2459583.5, &lf_label, false},
      {2459583.5, 2459583.5, &far, false},
      {2459583.5, 2459583.5, &no_number, false},
  };
  for (const Row& row : rows) {
    // The row among lines that read, in a piece of its own and in one with the others.
    const Row others[] = {rows[0], rows[1], row, rows[2], rows[3]};
    for (int split = 0; split < 2; ++split) {
      std::vector<LogText> pieces(2);
      std::vector<LineRecords> records(2);
      for (std::size_t k = 0; k < std::size(others); ++k) {
        const std::size_t p = split && k >= 2 ? 1 : 0;
        AppendEventLine(pieces[p], others[k].jd_ut, others[k].jd_local, k % 2 ? "Mond" : "Sonne", "Aufgang",
                        others[k].fields ? *others[k].fields : EventFields{}, &records[p].emplace_back());
      }
      EventStore got, expected;
      std::vector<LogText> taken = pieces;
      const bool read = ReadSortedEventRecords(got, taken, records);
      EXPECT_EQ(read, row.reads) << std::setprecision(17) << row.jd_ut << " " << row.jd_local << " split " << split;
      if (!read) continue;
      // What `taken` holds now is the store's text before: the entries do not view it.
      for (LogText& t : taken) std::fill(t.begin(), t.end(), 'x');
      ReadSortedEventText(expected, pieces, "log.txt");
      ExpectSameEntries(got, expected, "row " + std::string(pieces[0].substr(0, 47)));
    }
  }
}

// Numbers of every width the log writes, halves of the last digit among
// them: the values the records carry are those their text reads as.
TEST(ReadSortedEventRecords, NumbersCarriedAreThoseTheirTextReads) {
  std::mt19937_64 rng(7);
  auto any = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  auto half = [&](double lo, double hi, int decimals) {  // n + 0.5 units of the last digit, give or take an ulp
    const double unit = std::pow(10.0, -decimals);
    return std::nextafter((std::floor(any(lo, hi) / unit) + 0.5) * unit, any(0, 1) < 0.5 ? -1e300 : 1e300);
  };
  std::vector<LogText> pieces(1);
  std::vector<LineRecords> records(1);
  for (int i = 0; i < 20000; ++i) {
    const bool edge = i % 2 == 1;
    EventFields f;
    f.au = edge ? half(0, 100, 4) : any(0, 100);
    f.km = edge ? half(0, 1.5e10, 0) : any(0, 1.5e10);
    f.earth_radii = edge ? half(0, 1e4, 2) : any(0, 1e4);
    f.diameter = edge ? half(0, 10000, 1) : any(0, 10000);
    f.magnitude = edge ? half(-30, 40, 2) : any(-30, 40);
    AppendEventLine(pieces[0], 2459583.5 + i * 0.01, 2459583.54 + i * 0.01, "Mars", "Aufgang", f,
                    &records[0].emplace_back());
  }
  EventStore got, expected;
  std::vector<LogText> taken = pieces;
  ASSERT_TRUE(ReadSortedEventRecords(got, taken, records));
  ReadSortedEventText(expected, pieces, "log.txt");
  ExpectSameEntries(got, expected, "random numbers");
}

TEST(ReadSortedEventRecords, RealSitesGiveTheEntriesOfTheirText) {
  if (!test::HaveData()) GTEST_SKIP() << "no data in " << test::kBuildData;
  auto eph = std::make_unique<EphemerisStore>();
  auto basic = std::make_unique<BasicTable>();
  LoadAndPrepare(*eph, *basic, test::kBuildData);
  const struct {
    Site site;
    Interpolation mode;
  } sites[] = {{{47.5, 7.5, 1.0, {}}, Interpolation::Precise}, {{69.65, 18.96, 1.0, {}}, Interpolation::Classic}};
  for (const auto& s : sites) {
    std::vector<LineRecords> records;
    const std::vector<LogText> pieces = ComputeEventLines(*eph, *basic, s.site, nullptr, 0, s.mode, &records);
    EventStore got, expected;
    std::vector<LogText> taken = pieces;
    ASSERT_TRUE(ReadSortedEventRecords(got, taken, records)) << s.site.Site_nLat;
    for (LogText& t : taken) std::fill(t.begin(), t.end(), 'x');
    ReadSortedEventText(expected, pieces, "log.txt");
    ExpectSameEntries(got, expected, "latitude " + std::to_string(s.site.Site_nLat));
  }
}

}  // namespace
}  // namespace vk
