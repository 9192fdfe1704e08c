#include "command_line.h"

#include <string_view>

namespace vk {

CommandLine Answer_Command_Line(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CommandLine c;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--version" || a == "-v") {
      out << "vesperkalend " << VK_VERSION_TEXT << "\n";
      c.exit_status = 0;
      return c;
    }
    if (a == "--help" || a == "-h") {
      out << "Usage: vesperkalend [--help] [--version] [--lang de|en] [Qt options]\n"
             "Sky almanac: a 24-hour chart of Sun, Moon and planets for one day (window, German or English).\n"
             "The menu \"Datei\" saves the chart as PNG, JPEG, BMP or PDF, prints it, writes a month sheet and\n"
             "exports the events as an iCalendar file; the menu \"Ansicht\" switches the night view (\"Nachtansicht\", key N).\n\n"
             "Options:\n"
             "  -h, --help         prints these options and ends\n"
             "  -v, --version      prints the version and ends\n"
             "  --lang de|en       the language of the window; without it the choice made in the menu\n"
             "                     \"Ansicht\" (\"View\") -> \"Sprache\" (\"Language\"), else the locale:\n"
             "                     de*, C, POSIX or none German, any other English\n"
             "  -platform NAME     Qt platform plug-in (xcb, wayland, offscreen)\n"
             "  -style NAME        Qt widget style\n\n"
             "Files:\n"
             "  /usr/share/vesperkalend holds the data the program reads (the coefficients the hourly\n"
             "  tables are made from) and the English translation. ~/.config/Vesperkalend/ holds the settings\n"
             "  file (site and zone) and the options file Vesperkalend-options.ini (view, place, night view,\n"
             "  window). The event log goes to $XDG_DATA_HOME/vesperkalend, by default\n"
             "  ~/.local/share/vesperkalend, for every user, root included (never into the installation's\n"
             "  folder), and the hourly tables of other decades to ~/.cache/vesperkalend. When the window\n"
             "  closes, the chart is saved as ~/Documents/Vesperkalend/Screendump.bmp while \"Datei\" ->\n"
             "  \"Bildschirmfoto beim Beenden speichern\" is on (the default).\n\n"
             "The maintenance and export commands are in vesperkalend-tool(1).\n";
      c.exit_status = 0;
      return c;
    }
    if (a == "--lang" || a.starts_with("--lang=")) {
      const bool joined = a.starts_with("--lang=");
      const std::optional<std::string_view> value =
          joined ? std::optional(a.substr(7)) : i + 1 < argc ? std::optional<std::string_view>(argv[++i]) : std::nullopt;
      c.language = value ? ParseLanguage(*value) : std::nullopt;
      if (!c.language) {
        err << "vesperkalend: --lang takes de or en\n";
        c.exit_status = 2;
        return c;
      }
    }
  }
  return c;
}

}  // namespace vk
