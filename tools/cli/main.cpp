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
        "compute [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE] [--dir DIR]\n"
        "        [--interpolation classic|precise]\n"
        "    computes every event of the period for the site from the data in DIR, writes the event log there,\n"
        "    reads it back, sorts it and reads the phase table; prints the number of events and the seconds taken;\n"
        "    --interpolation classic keeps the instants of rises, sets, transits and twilights within the hourly\n"
        "    rows, precise (the default) refines them between the rows"}},
      {"render",
       {vk::tool::RenderCommand,
        "render --date YYYY-MM-DD|--month YYYY-MM [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE]\n"
        "       [--daemmerungen] [--no-auf-untergaenge] [--meridian] [--nachtansicht] --out FILE.png|.jpg|.bmp|.pdf\n"
        "       [--dir DIR] [--repeat N] [--interpolation classic|precise]\n"
        "    computes the events from the data in DIR and draws the day's chart (2500 x 2200) into FILE;\n"
        "    .pdf: a vector page; --month: one PDF page per day; --nachtansicht: dark red on black;\n"
        "    prints the next-rise/next-set lines; --repeat N renders N times and gives the median time"}},
      {"day",
       {vk::tool::DayCommand,
        "day --date YYYY-MM-DD [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE] [--daemmerungen] [--no-auf-untergaenge]\n"
        "    [--meridian] [--dir DIR] [--interpolation classic|precise]\n"
        "    prints the next-rise/next-set lines and the day's listed events (time, body, text), one a line"}},
      {"places",
       {vk::tool::PlacesCommand,
        "places [TEXT]\n"
        "    lists the places of the tz database (TZDIR, default /usr/share/zoneinfo) whose name contains TEXT,\n"
        "    with latitude, longitude and zone; --place and --tz take these names"}},
      {"ics",
       {vk::tool::IcsCommand,
        "ics --from YYYY-MM-DD --to YYYY-MM-DD [--kinds LIST] [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE] [--dir DIR]\n"
        "    --out FILE.ics\n"
        "    writes the events of the days (local time of the site) as an iCalendar file, one event each in UTC;\n"
        "    LIST: comma-separated of twilights,sun,risesets,transits,phases,seasons,configurations,distances,\n"
        "    declinations,eclipses (default: all)"}},
      {"eclipses",
       {vk::tool::EclipsesCommand,
        "eclipses --from YYYY-MM-DD --to YYYY-MM-DD [--place NAME] [--lat DEG] [--lon DEG] [--zone 0..39 | --tz ZONE]\n"
        "         [--dir DIR]\n"
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
  out << "usage: vesperkalend-tool COMMAND [OPTIONS] [--lang de|en]\n       vesperkalend-tool --help | --version\n\n"
         "--lang: the language of what day, render and ics list and write; without it the locale's:\n"
         "de*, C, POSIX or none German, any other English. Messages stay English.\n\ncommands:\n";
  for (const auto& [name, entry] : Commands()) out << "  " << entry.usage << "\n";
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
