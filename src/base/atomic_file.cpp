#include "base/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/error.h"

namespace vk {

AtomicFile::AtomicFile(std::filesystem::path path) : path_(std::move(path)) {
  std::string name = path_.string() + ".XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throw Error(std::strerror(errno), path_.string());
  ::fchmod(fd, 0644);
  temp_ = name;
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp_.c_str());
    throw Error(std::strerror(err), path_.string());
  }
  static constexpr std::size_t kBuffer = 1 << 20;
  std::setvbuf(file_, nullptr, _IOFBF, kBuffer);
}

AtomicFile::~AtomicFile() {
  if (file_) std::fclose(file_);
  if (!committed_) ::unlink(temp_.c_str());
}

void AtomicFile::fail(int err) {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  throw Error(std::strerror(err != 0 ? err : EIO), path_.string());
}

void AtomicFile::write(const void* data, std::size_t size) {
  if (size != 0 && std::fwrite(data, 1, size, file_) != size) fail(errno);
}

void AtomicFile::commit(bool sync) {
  if (std::fflush(file_) != 0) fail(errno);
  if (sync && ::fsync(::fileno(file_)) != 0) fail(errno);
  const int rc = std::fclose(file_);
  file_ = nullptr;
  if (rc != 0) fail(errno);
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) fail(errno);
  committed_ = true;
}

}  // namespace vk
