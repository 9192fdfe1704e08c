// A whole export text: every line converted or the first bad one refused.
#include <cstdint>
#include <string_view>

#include "ephemeris/horizons_import.h"
#include "base/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t rows = 0;
  try {
    vk::ConvertExportLines(std::string_view(reinterpret_cast<const char*>(data), size),
                           [&](const vk::tEphemerisData&) { ++rows; }, "export.txt");
  } catch (const vk::Error& e) {
    // Messages stay short: the quoted input is cut.
    if (std::string_view(e.what()).size() > 400) __builtin_trap();
  }
  return 0;
}
