#include "ephemeris/ephemeris_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "base/error.h"
#include "base/parallel_for.h"

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
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd& operator=(Fd&&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

constexpr std::size_t kBodyBytes = static_cast<std::size_t>(kEphemerisRows) * sizeof(tEphemerisData);

// The open file of a body, checked to hold all its rows.
Fd OpenBody(const std::filesystem::path& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) throw Error(kFileNotFound, path.string());
    throw Error(std::strerror(errno), path.string());
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw Error(std::strerror(errno), path.string());
  // A short file is refused before a byte of it reaches the table.
  if (static_cast<std::size_t>(st.st_size) < kBodyBytes) throw Error(kReadBeyondEnd, path.string());
  return fd;
}

void ReadBody(tEphemerisRow* table, const Fd& fd, const std::filesystem::path& path) {
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
  // The files are opened and checked in body order; the bodies before the
  // first missing or short one are read (on the machine's cores), as a load
  // one body after another would have read them, then its error is thrown.
  std::vector<Fd> files;
  std::exception_ptr refused;
  for (int body = 0; body < kBodyCount && !refused; ++body) {
    try {
      files.push_back(OpenBody(dir / BinaryFileName(body)));
    } catch (const Error&) {
      refused = std::current_exception();
    }
  }
  ParallelFor(static_cast<int>(files.size()), std::min(2u, DefaultThreadCount()), [&](int body) {
    ReadBody(store.table(body), files[static_cast<std::size_t>(body)], dir / BinaryFileName(body));
  });
  if (refused) std::rethrow_exception(refused);
}

}  // namespace vk
