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

// Reads rows first … first + count − 1 (counted from 0) of a body's file
// into `table` at the same rows, through `buffer`, each record's columns
// copied out. Throws: Error "Read beyond end of file" when the file ends
// before them, or the system's text.
void ReadRows(tEphemerisRow* table, const Fd& fd, std::size_t first, std::size_t count,
              std::vector<tEphemerisData>& buffer, const std::filesystem::path& path) {
  buffer.resize(std::max(buffer.size(), count));
  auto* bytes = reinterpret_cast<char*>(buffer.data());
  const std::size_t want = count * sizeof(tEphemerisData);
  const auto offset = static_cast<off_t>(first * sizeof(tEphemerisData));
  std::size_t done = 0;
  while (done < want) {
    const ssize_t n = ::pread(fd.get(), bytes + done, want - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw Error(std::strerror(errno), path.string());
    }
    if (n == 0) throw Error(kReadBeyondEnd, path.string());
    done += static_cast<std::size_t>(n);
  }
  for (std::size_t i = 0; i < count; ++i) table[first + i] = StoredRow(buffer[i]);
}

// Rows read at a time: a chunk of every body's rows stays in the cache
// until what is done with them is done.
constexpr std::size_t kChunkRows = 1024;

void ReadBody(tEphemerisRow* table, const Fd& fd, const std::filesystem::path& path) {
  std::vector<tEphemerisData> buffer;
  for (std::size_t row = 0; row < static_cast<std::size_t>(kEphemerisRows); row += 4 * kChunkRows)
    ReadRows(table, fd, row, std::min(4 * kChunkRows, static_cast<std::size_t>(kEphemerisRows) - row), buffer, path);
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

void LoadEphemerisBlocks(EphemerisStore& store, const std::filesystem::path& dir, unsigned threads,
                         const std::function<void(int first, int last)>& loaded) {
  constexpr int kBlocks = 8;
  auto first_row = [](int block) { return 1 + block * kEphemerisRows / kBlocks; };
  auto last_row = [](int block) { return (block + 1) * kEphemerisRows / kBlocks; };
  std::vector<Fd> files;
  for (int body = 0; body < kBodyCount; ++body) {
    try {
      files.push_back(OpenBody(dir / BinaryFileName(body)));
    } catch (const Error&) {
      // The bodies before it are read and the error thrown as a whole load does.
      LoadEphemeris(store, dir);
      ParallelFor(kBlocks, threads, [&](int k) { loaded(first_row(k), last_row(k)); });
      return;
    }
    // Reading the rest of the file while the first blocks are done helps
    // when it is not in the page cache yet.
    ::posix_fadvise(files.back().get(), 0, static_cast<off_t>(kBodyBytes), POSIX_FADV_WILLNEED);
  }
  ParallelFor(kBlocks, threads, [&](int k) {
    std::vector<tEphemerisData> buffer;
    for (int first = first_row(k); first <= last_row(k); first += static_cast<int>(kChunkRows)) {
      const int last = std::min(last_row(k), first + static_cast<int>(kChunkRows) - 1);
      for (int body = 0; body < kBodyCount; ++body)
        ReadRows(store.table(body), files[static_cast<std::size_t>(body)], static_cast<std::size_t>(first - 1),
                 static_cast<std::size_t>(last - first + 1), buffer, dir / BinaryFileName(body));
      loaded(first, last);
    }
  });
}

}  // namespace vk
