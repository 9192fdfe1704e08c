// vesperkalend-tool: maintenance and headless use of the almanac's computation.
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <vector>

#include "commands.h"
#include "base/error.h"
#include "base/language.h"
#include "timecalc/input_checks.h"

namespace {

using Command = int (*)(const vk::tool::Args&);

struct Entry {
  Command run;
  const char* usage;
};

const std::map<std::string, Entry>& Commands() {
  static const std::map<std::string, Entry> commands = {
      {"make-binary-files",
       {vk::tool::MakeBinaryFilesCommand,
        "make-binary-files [--dir DIR]\n"
        "    converts DIR/_res/HORIZONS_daten_2022-2032_<CODE>.txt into the nine .bin files in DIR\n"
        "    (DIR defaults to the current folder)"}},
      {"compute",
       {vk::tool::ComputeCommand,
        "compute [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE] [--dir DIR] [--interpolation classic|precise]\n"
        "    computes every event of the period for the site from the data in DIR, writes the event log there\n"
        "    (in the user's data folder when DIR is an installation's or read-only, see Files),\n"
        "    reads it back, sorts it and reads the phase table; prints the number of events and the seconds taken;\n"
        "    --interpolation classic keeps the instants of rises, sets, transits and twilights within the hourly\n"
        "    rows, precise (the default) refines them between the rows"}},
      {"render",
       {vk::tool::RenderCommand,
        "render --date YYYY-MM-DD|--month YYYY-MM [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE] "
        "[--daemmerungen] [--no-auf-untergaenge] [--meridian] [--fotolicht] [--lesehilfen] [--nachtansicht] "
        "[--druckfarben] [--ohne-kopf] --out FILE.png|.jpg|.bmp|.pdf [--dir DIR] [--repeat N] "
        "[--interpolation classic|precise]\n"
        "    computes the events from the data in DIR and draws the day's chart (2500 x 2200) into FILE,\n"
        "    a picture with a heading band above (place, zone, mode; 2500 x 2400);\n"
        "    .pdf: a vector page on A4 (Letter in US-unit locales) landscape with the heading and the chart\n"
        "    fitted; --month: one PDF page per day; --nachtansicht: dark red on black;\n"
        "    --druckfarben: light background, dark lines and text; --ohne-kopf: the bare chart, no heading,\n"
        "    pictures 2500 x 2200, PDF pages of the chart's size;\n"
        "    --fotolicht: the golden hour (Sun -4 to +6 degrees) and blue hour (-6 to -4) as bands and listed;\n"
        "    --lesehilfen: labels spread without overlaps with leader lines, the day length and the Moon's\n"
        "    light at noon in the list, and the legend of the columns;\n"
        "    prints the next-rise/next-set lines; --repeat N renders N times and gives the median time"}},
      {"day",
       {vk::tool::DayCommand,
        "day --date YYYY-MM-DD [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE] [--daemmerungen] "
        "[--no-auf-untergaenge] [--meridian] [--fotolicht] [--dir DIR] [--interpolation classic|precise]\n"
        "    prints the next-rise/next-set lines and the day's listed events (time, body, text), one a line;\n"
        "    --fotolicht adds the bounds of the golden hour (Sun -4 to +6 degrees) and blue hour (-6 to -4)"}},
      {"places",
       {vk::tool::PlacesCommand,
        "places [TEXT]\n"
        "    lists the places of the tz database (TZDIR, default /usr/share/zoneinfo) and the towns of the town list\n"
        "    (places.tsv) whose English or German name contains TEXT, whole names first, with latitude, longitude\n"
        "    and zone; --place takes these names, --tz the zones"}},
      {"ics",
       {vk::tool::IcsCommand,
        "ics --from YYYY-MM-DD --to YYYY-MM-DD [--kinds LIST] [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE] "
        "[--dir DIR] --out FILE.ics\n"
        "    writes the events of the days (local time of the site) as an iCalendar file, one event each in UTC;\n"
        "    LIST: comma-separated of twilights,sun,risesets,transits,phases,seasons,configurations,distances,\n"
        "    declinations,eclipses,fotolicht (the golden and blue hours' bounds), or all for every kind; default\n"
        "    sun,phases,seasons,eclipses with one start of each season (by the ecliptic; naming seasons adds the\n"
        "    one by the equator); with --place the calendar and its events are named after the place"}},
      {"eclipses",
       {vk::tool::EclipsesCommand,
        "eclipses --from YYYY-MM-DD --to YYYY-MM-DD [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE] "
        "[--dir DIR]\n"
        "    lists the lunar and solar eclipses and the occultations of planets by the Moon that the site sees on\n"
        "    the days (local time), each contact with local time, UT, the body's altitude and the magnitude, then\n"
        "    the close approaches (Moon and planet within 5 degrees, two planets within 2)"}},
      {"table",
       {vk::tool::TableCommand,
        "table --year YYYY|--month YYYY-MM [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE]\n"
        "      [--nautisch] [--astronomisch] [--dir DIR] [--interpolation classic|precise] --out FILE.pdf|.csv|.txt\n"
        "    --year: the year table in local time rounded to the minute, 12 month columns by 31 days: sunrise and\n"
        "    sunset, the civil twilights (--nautisch, --astronomisch: those too), the Moon's rise and set; .pdf one\n"
        "    page each (A4 landscape, Letter in US locales), .txt the same as text, .csv one row per day;\n"
        "    --month: the month page, one row per day (Sun, twilights, day length, Moon, phase, illuminated\n"
        "    fraction) and the month's notable events"}},
      {"phase-pictures",
       {vk::tool::PhasePicturesCommand,
        "phase-pictures moon|venus|mercury [--from DIR] [--to DIR]\n"
        "    turns the 36 large JPEG pictures in the --from DIR (moon_000.jpg .., Venus_0100.jpg .., Merkur_0100.jpg ..)\n"
        "    into the small phase pictures Mond_NN.bmp, Venus_NN.bmp, Merkur_NN.bmp in the --to DIR"}},
  };
  return commands;
}

void PrintUsage(std::ostream& out) {
  out << "Usage: vesperkalend-tool COMMAND [OPTIONS] [--lang de|en] [--verbose]\n"
         "  or:  vesperkalend-tool --help | --version\n"
         "Runs the computation of the Vesperkalend sky almanac without a window: event tables, day charts,\n"
         "month sheets, event lists and calendar files, for any day from 1960-01-01 to 2059-12-31.\n\n"
         "Commands:\n";
  for (const auto& [name, entry] : Commands()) out << "  " << entry.usage << "\n";
  // Laid out for help2man, which makes the man page from this text: a description
  // on the option's line from column 21, or on the lines below indented by 20.
  out << "\nSite options (compute, render, day, ics, eclipses):\n"
         "  --place NAME        a place of the tz database (see places): its latitude, longitude and time zone\n"
         "  --lat DEG           northern latitude, -90 to 90 (default the place's, else 47.5)\n"
         "  --lon DEG           eastern longitude, -180 to 180 (default the place's, else 7.5)\n"
         "  --zone ROW          row 0 to 39 of the classic zone table (default 16, UTC+01:00 with the\n"
         "                      European summer time)\n"
         "  --tz ZONE           a zone of the tz database (\"Europe/Berlin\") with its own summer time\n"
         "  --interpolation classic|precise\n"
         "                      precise (the default) refines the instants of rises, sets, transits and\n"
         "                      twilights between the hourly rows; classic keeps them within the rows\n"
         "  --dir DIR           the data folder (see Files)\n"
         "\nDisplay options (render, day):\n"
         "  --daemmerungen      lists the Sun's rise, set and twilights\n"
         "  --no-auf-untergaenge\n"
         "                      leaves out the rises and sets of the Moon and the planets\n"
         "  --meridian          lists the meridian transits\n"
         "  --nachtansicht      (render) draws in dark red on black\n"
         "  --druckfarben       (render) draws in print colours: light background, dark lines and text\n"
         "  --ohne-kopf         (render) the bare chart without the heading band\n"
         "\nOptions of every command:\n"
         "  --lang de|en        the language of what day, render and ics list and write; without it the\n"
         "                      locale's (LC_ALL, LC_MESSAGES, LANG): de*, C, POSIX or none German, any other\n"
         "                      English. Usage and error messages stay English.\n"
         "  --verbose           progress lines on stderr (\"Computing basic values... \", \"Done.\"); without\n"
         "                      it they are shown only when stderr is a terminal\n"
         "  -h, --help          prints this help and ends\n"
         "  -v, --version       prints the version and ends\n"
         "\nExit status:\n"
         "  0 done, 1 failed (a file that cannot be read or written: the message names it, and no part of\n"
         "  an output file is left), 2 bad arguments.\n"
         "\nFiles:\n"
         "  The data folder is --dir DIR, else the current folder when it holds the data, else\n"
         "  /usr/share/vesperkalend beside the installed program. The event log\n"
         "  Vesperkalend_<period>_Log.txt stays in a data folder the user can write, but never in an\n"
         "  installation's (for root neither): it goes to $XDG_DATA_HOME/vesperkalend, by default\n"
         "  ~/.local/share/vesperkalend. The hourly tables of other decades are made into\n"
         "  $XDG_CACHE_HOME/vesperkalend, by default ~/.cache/vesperkalend.\n"
         "\nExamples:\n"
         "  $ vesperkalend-tool ics --from 2024-04-01 --to 2024-04-07 --place Berlin --out week.ics\n"
         "  $ vesperkalend-tool render --month 2024-04 --out april.pdf\n"
         "  $ vesperkalend-tool day --date 2024-04-08 --place Chicago --daemmerungen\n"
         "\nThe window is vesperkalend(1).\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(std::cerr);
    return 2;
  }
  // --lang de|en may stand anywhere; what the commands list and write follows
  // it, else the locale. Usage and error messages stay English.
  std::vector<std::string> words(argv + 1, argv + argc);
  std::optional<vk::Language> language;
  for (auto it = words.begin(); it != words.end();) {
    if (*it == "--verbose") {
      vk::tool::SetVerbose(true);
      it = words.erase(it);
      continue;
    }
    if (*it != "--lang") {
      ++it;
      continue;
    }
    const bool has_value = it + 1 != words.end();
    language = has_value ? vk::ParseLanguage(it[1]) : std::nullopt;
    if (!language) {
      std::cerr << "vesperkalend-tool: --lang takes de or en"
                << (has_value ? ", not " + vk::QuoteInput(it[1]) : std::string()) << "\n";
      return 2;
    }
    it = words.erase(it, it + 2);
  }
  vk::tool::SetToolLanguage(vk::ChooseLanguage(language, std::nullopt));
  if (words.empty()) {
    PrintUsage(std::cerr);
    return 2;
  }
  const std::string name = words.front();
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(std::cout);
    return 0;
  }
  if (name == "--version" || name == "-v") {
    std::cout << "vesperkalend-tool " << VK_VERSION_TEXT << "\n";
    return 0;
  }
  const auto it = Commands().find(name);
  if (it == Commands().end()) {
    std::cerr << "vesperkalend-tool: unknown command " << vk::QuoteInput(name) << "\n";
    PrintUsage(std::cerr);
    return 2;
  }
  const vk::tool::Args args(words.begin() + 1, words.end());
  try {
    return it->second.run(args);
  } catch (const vk::tool::UsageError& e) {
    std::cerr << "vesperkalend-tool " << name << ": " << e.text << "\nusage: " << it->second.usage << "\n";
    return 2;
  } catch (const vk::Error& e) {
    std::cerr << "vesperkalend-tool " << name << ": " << e.describe() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "vesperkalend-tool " << name << ": " << e.what() << "\n";
    return 1;
  }
}
