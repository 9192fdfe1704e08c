#include "ephemeris/ephemeris_data.h"

namespace vk {

std::string BinaryFileName(int body) {
  return "HORIZONS_daten_2022-2032_" + std::string(BodyCodes.at(body)) + ".bin";
}

std::string ExportFileName(int body) {
  return "_res/HORIZONS_daten_2022-2032_" + std::string(BodyCodes.at(body)) + ".txt";
}

}  // namespace vk
