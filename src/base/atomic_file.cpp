#include "base/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
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
  if (sync) SyncFolder(path_.parent_path());
}

}  // namespace vk
