#include "ephemeris/ephemeris_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/error.h"

namespace vk {

EphemerisStore::EphemerisStore()
    : rows_(new tEphemerisData[static_cast<std::size_t>(kBodyCount) * kEphemerisRows]()) {}

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

void LoadBody(tEphemerisData* table, const std::filesystem::path& path) {
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
  auto* out = reinterpret_cast<char*>(table);
  std::size_t done = 0;
  while (done < kBytes) {
    const ssize_t n = ::read(fd.get(), out + done, kBytes - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw Error(std::strerror(errno), path.string());
    }
    if (n == 0) throw Error(kReadBeyondEnd, path.string());
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

void LoadEphemeris(EphemerisStore& store, const std::filesystem::path& dir) {
  for (int body = 0; body < kBodyCount; ++body) LoadBody(store.table(body), dir / BinaryFileName(body));
}

}  // namespace vk
