#include "base/platform.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <system_error>

#include <unistd.h>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vk {

#if defined(__linux__)

void* MapLargeBlock(std::size_t size, bool huge) {
  if (size > SIZE_MAX - kLargePage) throw std::bad_alloc();
  // Mapped with a huge page's room to spare, then cut to a 2 MiB boundary.
  void* mapped = ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (const std::size_t tail = kLargePage - (aligned - start); tail > 0)
    ::munmap(reinterpret_cast<void*>(aligned + size), tail);
  void* p = reinterpret_cast<void*>(aligned);
  if (huge) ::madvise(p, size, MADV_HUGEPAGE);
  return p;
}

void UnmapLargeBlock(void* p, std::size_t size) noexcept {
  if (p) ::munmap(p, size);
}

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe;
}

#else

// Plain aligned memory from the heap, cleared here.
void* MapLargeBlock(std::size_t size, bool /*huge*/) {
  void* p = ::operator new(size, std::align_val_t{kLargePage});
  std::memset(p, 0, size);
  return p;
}

void UnmapLargeBlock(void* p, std::size_t /*size*/) noexcept {
  if (p) ::operator delete(p, std::align_val_t{kLargePage});
}

std::filesystem::path ExecutablePath() { return {}; }

#endif

namespace {

// $<variable>/vesperkalend when it is absolute, else <home>/<fallback>/vesperkalend.
std::filesystem::path Xdg_Dir(const char* variable, const char* fallback) {
  const char* xdg = std::getenv(variable);
  if (xdg != nullptr && xdg[0] == '/') return std::filesystem::path(xdg) / "vesperkalend";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr && home[0] != '\0' ? home : ".") / fallback / "vesperkalend";
}

}  // namespace

std::filesystem::path UserCacheDir() { return Xdg_Dir("XDG_CACHE_HOME", ".cache"); }

std::filesystem::path UserDataDir() { return Xdg_Dir("XDG_DATA_HOME", ".local/share"); }

std::filesystem::path EventLogFolder(const std::filesystem::path& data_dir) {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::weakly_canonical(std::filesystem::absolute(data_dir, ec), ec);
  if (ec) dir = data_dir;
  if (dir.filename().empty()) dir = dir.parent_path();  // a trailing separator
  const bool installed = dir.filename() == "vesperkalend" && dir.parent_path().filename() == "share";
  if (!installed && ::access(data_dir.c_str(), W_OK) == 0) return data_dir;
  return UserDataDir();
}

bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

std::string SystemZoneName() {
  const auto after_zoneinfo = [](const std::string& path) {
    const std::size_t at = path.rfind("zoneinfo/");
    return at == std::string::npos ? std::string() : path.substr(at + 9);
  };
  if (const char* tz = std::getenv("TZ")) {
    std::string name = tz[0] == ':' ? tz + 1 : tz;
    return name.empty() || name[0] != '/' ? name : after_zoneinfo(name);
  }
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::read_symlink("/etc/localtime", ec);
  return ec ? std::string() : after_zoneinfo(target.string());
}

}  // namespace vk
