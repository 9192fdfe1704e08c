// vk_import: the data pipeline's import step. Turns the nine hourly exports
// DIR/_res/HORIZONS_daten_2022-2032_<CODE>.txt into the nine binary files in DIR.
// It links only the ephemeris code, so that the build redoes the data only when
// the exporter or the import changed.
#include <iostream>
#include <string_view>

#include "base/error.h"
#include "ephemeris/horizons_import.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: vk_import DIR\n";
    return 2;
  }
  try {
    vk::MakeBinaryFiles(argv[1], [](std::string_view text, vk::StatusColour) { std::cerr << text << "\n"; });
    return 0;
  } catch (const vk::Error& e) {
    std::cerr << "vk_import: " << e.describe() << "\n";
    return 1;
  }
}
