#include "base/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "base/error.h"
#include "file_kind.h"

namespace vk {
namespace {

// The pid of the writer when `name` is one of this program's temporaries
// ("<file>.vk-partial.<pid>.<6 characters>", perhaps followed by ".<suffix>"
// of a file another library made beside it), else 0.
long TemporaryOwner(std::string_view name) {
  const auto at = name.rfind(kTemporaryMark);
  if (at == std::string_view::npos || at == 0) return 0;
  std::string_view rest = name.substr(at + std::string_view(kTemporaryMark).size());
  const auto dot = rest.find('.');
  if (dot == std::string_view::npos || dot == 0) return 0;
  const std::string_view tail = rest.substr(dot + 1);
  if (tail.size() < 6 || (tail.size() > 6 && (tail[6] != '.' || tail.size() == 7))) return 0;
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

void CheckWriteTarget(const std::filesystem::path& path) {
  if (path.empty()) throw Error("The file name is empty");
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) throw Error(NotRegularText(st.st_mode), path.string());
  } else if (errno != ENOENT) {
    throw Error(std::strerror(errno), path.string());
  }
  const std::filesystem::path dir = path.parent_path();
  if (::access(dir.empty() ? "." : dir.c_str(), W_OK | X_OK) != 0) throw Error(std::strerror(errno), path.string());
}

TemporaryFile CreateTemporary(const std::filesystem::path& path) {
  RemoveStaleTemporaries(path.parent_path());
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::atomic<std::uint64_t> counter{0};
  std::mt19937_64 random(std::random_device{}() ^ counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  const std::string stem = path.string() + kTemporaryMark + std::to_string(::getpid()) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = stem;
    for (int k = 0; k < 6; ++k) name += kLetters[random() % (sizeof kLetters - 1)];
    // Created with 0666 so that the umask decides the mode, as for any new file.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return {fd, name};
    if (errno != EEXIST) throw Error(std::strerror(errno), path.string());
  }
  throw Error(std::strerror(EEXIST), path.string());
}

AtomicFile::AtomicFile(std::filesystem::path path) : path_(std::move(path)) {
  CheckWriteTarget(path_);
  Create();
}

void AtomicFile::Create() {
  const TemporaryFile temp = CreateTemporary(path_);
  const int fd = temp.fd;
  temp_ = temp.name;
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
  try {
    CheckWriteTarget(path_);  // a special file put there while the bytes were written is not replaced
  } catch (const Error&) {
    std::fclose(file_);
    file_ = nullptr;
    throw;
  }
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
