#include "base/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/error.h"

namespace vk {
namespace {

// The pid of the writer when `name` is one of this program's temporaries
// ("<file>.vk-partial.<pid>.<6 characters>"), else 0.
long TemporaryOwner(std::string_view name) {
  const auto at = name.rfind(kTemporaryMark);
  if (at == std::string_view::npos || at == 0) return 0;
  std::string_view rest = name.substr(at + std::string_view(kTemporaryMark).size());
  const auto dot = rest.find('.');
  if (dot == std::string_view::npos || dot == 0 || rest.size() - dot - 1 != 6) return 0;
  long pid = 0;
  const auto [end, ec] = std::from_chars(rest.data(), rest.data() + dot, pid);
  if (ec != std::errc() || end != rest.data() + dot || pid <= 0) return 0;
  return pid;
}

bool ProcessRuns(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

void SyncFolder(const std::filesystem::path& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

int RemoveStaleTemporaries(const std::filesystem::path& dir) {
  std::error_code ec;
  int removed = 0;
  std::filesystem::directory_iterator it(dir.empty() ? std::filesystem::path(".") : dir, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const long pid = TemporaryOwner(name);
    if (pid == 0 || ProcessRuns(pid)) continue;
    std::error_code rm;
    if (it->is_regular_file(rm) && std::filesystem::remove(it->path(), rm)) ++removed;
  }
  return removed;
}

std::filesystem::path SpareOf(const std::filesystem::path& path) {
  std::string name = ".";
  name += path.filename().string();
  name += ".vk-spare";
  return path.parent_path() / name;
}

namespace {

// The spare of `path` opened for writing over, locked against other writers;
// -1 when there is none that may be written over.
int OpenSpare(const std::filesystem::path& spare) {
  const int fd = ::open(spare.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  struct stat held {}, named {};
  // Locked, and still the file of that name (another writer may have
  // exchanged it away between the opening and the lock), with no other name.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) ||
      held.st_nlink != 1 || ::lstat(spare.c_str(), &named) != 0 || named.st_dev != held.st_dev ||
      named.st_ino != held.st_ino) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path path, bool reuse_spare) : path_(std::move(path)) {
  if (reuse_spare) {
    const std::filesystem::path spare = SpareOf(path_);
    const int fd = OpenSpare(spare);
    if (fd >= 0) {
      file_ = ::fdopen(fd, "wb");  // from the start; cut to the bytes written at the commit
      if (file_) {
        temp_ = spare;
        spare_ = true;
        static constexpr std::size_t kBuffer = 1 << 20;
        std::setvbuf(file_, nullptr, _IOFBF, kBuffer);
        return;
      }
      ::close(fd);
    }
  }
  Create();
}

AtomicFile::AtomicFile(std::filesystem::path path) : path_(std::move(path)) { Create(); }

void AtomicFile::Create() {
  RemoveStaleTemporaries(path_.parent_path());
  std::string name = path_.string() + kTemporaryMark + std::to_string(::getpid()) + ".XXXXXX";
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
  if (!committed_ && !spare_) ::unlink(temp_.c_str());
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
  if (spare_) {
    // What the spare held beyond the new bytes goes.
    const off_t size = ::lseek(::fileno(file_), 0, SEEK_CUR);
    if (size < 0 || ::ftruncate(::fileno(file_), size) != 0) fail(errno);
  }
  if (sync && ::fsync(::fileno(file_)) != 0) fail(errno);
  // The spare stays locked until its name is the real one: the lock goes with
  // the last descriptor of the opened file.
  const int lock = spare_ ? ::dup(::fileno(file_)) : -1;
  const int rc = std::fclose(file_);
  file_ = nullptr;
  struct Unlock {
    int fd;
    ~Unlock() {
      if (fd >= 0) ::close(fd);
    }
  } unlock{lock};
  if (rc != 0 || (spare_ && lock < 0)) fail(errno);
  bool exchanged = false;
  struct stat real {};
  // Only a plain file is exchanged: a link or a folder of that name is
  // replaced, or refused, as a rename does.
  if (spare_ && ::lstat(path_.c_str(), &real) == 0 && S_ISREG(real.st_mode)) {
    exchanged = ::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, path_.c_str(), RENAME_EXCHANGE) == 0;
    // No file of the real name yet, or a file system that cannot exchange: renamed.
    if (!exchanged && errno != ENOENT && errno != EINVAL && errno != ENOSYS) fail(errno);
  }
  if (!exchanged && std::rename(temp_.c_str(), path_.c_str()) != 0) fail(errno);
  committed_ = true;
  if (sync) SyncFolder(path_.parent_path());
}

}  // namespace vk
