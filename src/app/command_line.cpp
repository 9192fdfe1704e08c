#include "command_line.h"

#include <string_view>

namespace vk {

std::optional<int> Answer_Command_Line(int argc, const char* const* argv, std::ostream& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--version" || a == "-v") {
      out << "vesperkalend " << VK_VERSION_TEXT << "\n";
      return 0;
    }
    if (a == "--help" || a == "-h") {
      out << "usage: vesperkalend [--help] [--version] [Qt options]\n"
             "Sky almanac: a 24-hour chart of Sun, Moon and planets for one day (window, German).\n\n"
             "options:\n"
             "  -h, --help         prints these options and ends\n"
             "  -v, --version      prints the version and ends\n"
             "  -platform NAME     Qt platform plug-in (xcb, wayland, offscreen)\n"
             "  -style NAME        Qt widget style\n\n"
             "The night view (\"Nachtansicht\" in the menu \"Ansicht\", key N) is kept in the options file\n"
             "Vesperkalend-options.ini beside the settings in ~/.config/Vesperkalend/.\n"
             "The maintenance and export commands are in vesperkalend-tool(1).\n";
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace vk
