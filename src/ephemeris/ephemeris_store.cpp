#include "ephemeris/ephemeris_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/error.h"

namespace vk {

EphemerisStore::EphemerisStore()
    : rows_(MakeLargeArray<tEphemerisRow>(static_cast<std::size_t>(kBodyCount) * kEphemerisRows)) {}

tEphemerisRow StoredRow(const tEphemerisData& r) {
  return {r.jd, r.ra, r.dec, r.mag, r.diameter, r.delta, r.ecl_lon, r.label};
}

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

void LoadBody(tEphemerisRow* table, const std::filesystem::path& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) throw Error(kFileNotFound, path.string());
    throw Error(std::strerror(errno), path.string());
  }
  constexpr std::size_t kBytes = static_cast<std::size_t>(kEphemerisRows) * sizeof(tEphemerisData);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw Error(std::strerror(errno), path.string());
  // A short file is refused before a byte of it reaches the table.
  if (static_cast<std::size_t>(st.st_size) < kBytes) throw Error(kReadBeyondEnd, path.string());
  // Read in chunks of whole records, each record's columns copied out.
  constexpr std::size_t kChunk = 4096;
  std::vector<tEphemerisData> buffer(kChunk);
  auto* bytes = reinterpret_cast<char*>(buffer.data());
  std::size_t row = 0;
  while (row < static_cast<std::size_t>(kEphemerisRows)) {
    const std::size_t want = std::min(kChunk, static_cast<std::size_t>(kEphemerisRows) - row) * sizeof(tEphemerisData);
    std::size_t done = 0;
    while (done < want) {
      const ssize_t n = ::read(fd.get(), bytes + done, want - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        throw Error(std::strerror(errno), path.string());
      }
      if (n == 0) throw Error(kReadBeyondEnd, path.string());
      done += static_cast<std::size_t>(n);
    }
    for (std::size_t i = 0; i < want / sizeof(tEphemerisData); ++i) table[row + i] = StoredRow(buffer[i]);
    row += want / sizeof(tEphemerisData);
  }
}

}  // namespace

void LoadEphemeris(EphemerisStore& store, const std::filesystem::path& dir) {
  for (int body = 0; body < kBodyCount; ++body) LoadBody(store.table(body), dir / BinaryFileName(body));
}

}  // namespace vk
