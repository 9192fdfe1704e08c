// The "table" command: the year table of sunrise, sunset, twilights and the
// Moon's rise and set, or the month page, as PDF, CSV or text.
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "data_folder.h"
#include "dates.h"
#include "events/recompute.h"
#include "export/almanac_pages.h"
#include "options.h"
#include "periods.h"
#include "timecalc/calendar.h"
#include "timecalc/input_checks.h"

namespace vk::tool {

int TableCommand(const Args& args) {
  Options opts(args);
  const auto year = opts.integer("--year", 1, 9999);
  const auto month_text = opts.take("--month");
  if (!year && !month_text) throw UsageError{"--year or --month is required"};
  if (year && month_text) throw UsageError{"--year and --month exclude each other"};
  double first = 0, last = 0;
  if (year) {
    first = CalendarToJD(static_cast<int>(*year), 1, 1, 0, 0, 0);
    last = CalendarToJD(static_cast<int>(*year), 12, 31, 0, 0, 0);
  } else {
    std::tie(first, last) = ParseMonth(*month_text);
  }
  tYearTableOptions options;
  options.nautical = opts.flag("--nautisch");
  options.astronomical = opts.flag("--astronomisch");
  if (month_text && (options.nautical || options.astronomical))
    throw UsageError{"--nautisch and --astronomisch are for --year; the month page shows every twilight"};
  std::string place_name;  // for the heading
  const Site site = SiteOptions(opts, &place_name);
  const Interpolation interpolation = InterpolationOption(opts);
  const DataFolder data = TakeDataFolder(opts);
  const tDataSpan span = DataSpan(data);
  const std::string what = year ? std::to_string(*year) : *month_text;
  const std::string option = year ? "--year" : "--month";
  CheckInSpan(first, what, option, span);
  CheckInSpan(last, what, option, span);
  const auto out = opts.output("--out");
  if (!out) throw UsageError{"--out is required"};
  if (!Table_File_Type(*out)) throw UsageError{"--out: the file must end in .pdf, .csv or .txt"};
  opts.finish();

  static Almanac almanac;  // large: not on the stack
  almanac.site = site;
  almanac.interpolation = interpolation;
  EnsureGuiApplication();  // fonts, painting and the texts in the tool's language
  const tPageHeading heading = Page_Heading(place_name, site, interpolation);
  // The days of each period from the events of that period.
  std::vector<tAlmanacDay> days;
  std::vector<tNotableEvent> events;
  for (double day = first; day <= last;) {
    const PeriodTables tables = TablesForDay(data, span, day);
    UsePeriodTables(almanac, data, tables);
    RunRecomputationChain(almanac, tables.dir, PrintProgress, tables.log_dir);
    const double part_last = std::min(last, tables.period.end_jd() - 1);
    for (; day <= part_last; day += 1.0) days.push_back(Almanac_Day(almanac.events, day));
    if (month_text) {
      auto part = Notable_Events(almanac.events, first, part_last);
      events.insert(events.end(), part.begin(), part.end());
    }
  }
  if (year)
    Save_Year_Table(*out, static_cast<int>(*year), days, heading, options);
  else
    Save_Month_Page(*out, days, events, heading);
  std::cerr << days.size() << " days written to " << *out << "\n";
  return 0;
}

}  // namespace vk::tool
