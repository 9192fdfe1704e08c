// picgen: renders the pictures behind the chart's picture sets.
//   picgen sources --out DIR [--body moon|venus|mercury] [--pictures 0,9,18] [--size PIXELS]
//       the large JPEG phase pictures the phase-picture tools read
//   picgen sets --tools DIR --sources DIR --out DIR
//       the shipped strips and masks from the tools' BMP files, the planet
//       pictures, Venus's cloud picture and the emblem
//   picgen contact-sheet --out FILE [--from DIR] [--scale N]
//       one PNG showing every picture of every set
//   picgen planet --index N --size PIXELS --out DIR/NAME.png
//       one small picture at any size, for a close look: 2 .. 6 the planets of
//       ImageList1, 7 the emblem, 8 Venus's clouds (writes NAME.png and NAME_mask.png)
//   picgen icon --out DIR
//       the program's icon: vesperkalend.svg and vesperkalend_48/64/128/256.png
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "base/error.h"

namespace {

void Usage() {
  std::cerr << "usage:\n"
               "  picgen sources --out DIR [--body moon|venus|mercury] [--pictures 0,9,18] [--size PIXELS]\n"
               "  picgen sets --tools DIR --sources DIR --out DIR\n"
               "  picgen contact-sheet --out FILE [--from DIR] [--scale N]\n"
               "  picgen planet --index 2..8 [--size PIXELS] --out DIR/NAME.png\n"
               "  picgen icon --out DIR\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage();
    return 2;
  }
  const std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "sources") return picgen::SourcesCommand(args);
    if (command == "sets") return picgen::SetsCommand(args);
    if (command == "planet") return picgen::PlanetCommand(args);
    if (command == "icon") return picgen::IconCommand(args);
    if (command == "contact-sheet") return picgen::ContactSheetCommand(argc, argv, args);
    Usage();
    return 2;
  } catch (const picgen::UsageError& e) {
    std::cerr << "picgen " << command << ": " << e.text << "\n";
    Usage();
    return 2;
  } catch (const vk::Error& e) {
    std::cerr << "picgen " << command << ": " << e.describe() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "picgen " << command << ": " << e.what() << "\n";
    return 1;
  }
}
