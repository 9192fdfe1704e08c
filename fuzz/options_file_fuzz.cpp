// The options file: whatever it holds, reading gives values or none, and
// writing a key keeps the file one regular file that reads the key back,
// with no temporary left beside it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/error.h"
#include "mainwindow/options_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path dir = [] {
    std::string t = (std::filesystem::temp_directory_path() / "vk-fuzz-options-XXXXXX").string();
    if (!::mkdtemp(t.data())) std::abort();
    return std::filesystem::path(t);
  }();
  // A new name for every input: QSettings keeps what it read of a file.
  static unsigned long run = 0;
  const std::filesystem::path path = dir / ("options-" + std::to_string(++run) + ".ini");
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  (void)vk::ReadOptionValues(path, {"View/PreciseInstants", "Place/Name", "Place/Zone", "View/NightView"});
  const bool precise = vk::ReadOptionsFile(path).precise_instants;
  try {
    vk::WriteOptionsFile(path, {!precise});
  } catch (const vk::Error&) {
    std::abort();  // a regular file in a writable folder is always written
  }
  if (vk::ReadOptionsFile(path).precise_instants == precise) std::abort();
  std::error_code ec;
  std::size_t names = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) ++names, (void)e;
  if (names != 1 || !std::filesystem::is_regular_file(path)) std::abort();
  std::filesystem::remove(path, ec);
  return 0;
}
