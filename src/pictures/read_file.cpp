#include "pictures/read_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "timecalc/errors.h"

namespace vk {

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file) {
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) {
    if (errno == ENOENT || errno == ENOTDIR) throw Error(kFileNotFound, file.string());
    throw Error(std::strerror(errno), file.string());
  }
  std::vector<std::uint8_t> data;
  static constexpr std::size_t kChunk = 1 << 20;
  for (;;) {
    const std::size_t old = data.size();
    data.resize(old + kChunk);
    const std::size_t n = std::fread(data.data() + old, 1, kChunk, f);
    data.resize(old + n);
    if (n < kChunk) break;
  }
  const int err = std::ferror(f) ? (errno != 0 ? errno : EIO) : 0;
  std::fclose(f);
  if (err != 0) throw Error(std::strerror(err), file.string());
  return data;
}

}  // namespace vk
