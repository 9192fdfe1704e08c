// Helpers of the picture tests: hand-made bitmaps and temporary folders.
#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "pictures/bitmap24.h"

namespace vk::test {

// A bitmap of w x h pixels whose bytes (B, G, R of each pixel) are all the
// same value, given row by row (top first).
inline Bitmap24 GreyBitmap(int w, int h, std::initializer_list<int> values) {
  Bitmap24 b;
  b.reset(w, h);
  std::size_t i = 0;
  for (int v : values) {
    b.bytes[3 * i] = b.bytes[3 * i + 1] = b.bytes[3 * i + 2] = static_cast<std::uint8_t>(v);
    ++i;
  }
  return b;
}

inline Bitmap24 Filled(int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  Bitmap24 out;
  out.reset(w, h);
  for (std::size_t i = 0; i < out.bytes.size(); i += 3) {
    out.bytes[i] = b;
    out.bytes[i + 1] = g;
    out.bytes[i + 2] = r;
  }
  return out;
}

// The grey value (blue byte) of every pixel, row by row.
inline std::vector<int> Greys(const Bitmap24& b) {
  std::vector<int> out;
  for (int y = 0; y < b.height; ++y)
    for (int x = 0; x < b.width; ++x) out.push_back(b.pixel(x, y)[0]);
  return out;
}

// A fresh empty folder under the system's temporary folder, removed again
// when the object goes.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vk_pictures_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Names of the files in the folder, sorted.
  std::vector<std::string> files() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(path_)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace vk::test
