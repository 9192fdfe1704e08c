// The "ics" command: the events of a span of days as an iCalendar file.
#include <algorithm>
#include <chrono>
#include <iostream>

#include "commands.h"
#include "data_folder.h"
#include "periods.h"
#include "dates.h"
#include "events/recompute.h"
#include "export/icalendar.h"
#include "options.h"
#include "timecalc/input_checks.h"

namespace vk::tool {

int IcsCommand(const Args& args) {
  Options opts(args);
  const auto from_text = opts.take("--from");
  const auto to_text = opts.take("--to");
  if (!from_text) throw UsageError{"--from is required"};
  if (!to_text) throw UsageError{"--to is required"};
  tCalendarRequest request;
  request.from_jd = ParseDate(*from_text, "--from");
  request.to_jd = ParseDate(*to_text, "--to");
  if (request.from_jd > request.to_jd) throw UsageError{"--from " + *from_text + " lies after --to " + *to_text};
  if (const auto kinds = opts.take("--kinds")) {
    std::string bad;
    const auto set = Parse_Groups(*kinds, &bad);
    if (!set) {
      std::string known;
      for (const tEventGroupInfo& k : Event_Groups) known += std::string(known.empty() ? "" : ",") + k.key;
      throw UsageError{"--kinds: unknown kind " + QuoteInput(bad) + " (known: " + known + "; all for every kind)"};
    }
    request.kinds = *set;
    // Both starts of each season only when the seasons are asked for by name (or "all").
    request.equator_seasons = (*set & Group_Bit(EventCategory::Season)) != 0;
  }
  request.site = SiteOptions(opts, &request.place);
  const DataFolder data = TakeDataFolder(opts);
  const tDataSpan span = DataSpan(data);
  CheckInSpan(request.from_jd, *from_text, "--from", span);
  CheckInSpan(request.to_jd, *to_text, "--to", span);
  const auto out = opts.output("--out");
  if (!out) throw UsageError{"--out is required"};
  opts.finish();

  static Almanac almanac;  // large: not on the stack
  almanac.site = request.site;
  almanac.photo_light = (request.kinds & Group_Bit(EventCategory::PhotoLight)) != 0;
  request.stamp_unix = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  EnsureGuiApplication();  // the texts in the tool's language
  // The days of each period from the events of that period, one period at a time.
  int count = 0;
  std::string text = Calendar_Head(request);
  for (double day = request.from_jd; day <= request.to_jd;) {
    const PeriodTables tables = TablesForDay(data, span, day);
    UsePeriodTables(almanac, data, tables);
    RunRecomputationChain(almanac, tables.dir, PrintProgress, tables.log_dir);
    tCalendarRequest part = request;
    part.from_jd = day;
    part.to_jd = std::min(request.to_jd, tables.period.end_jd() - 1);
    text += Calendar_Events(almanac.events, part, &count);
    day = part.to_jd + 1;
  }
  text += Calendar_Tail();
  Write_Text_File(*out, text);
  std::cerr << count << " events written to " << *out << "\n";
  return 0;
}

}  // namespace vk::tool
