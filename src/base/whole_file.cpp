#include "base/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/error.h"

namespace vk {

template <class Text>
void ReadWholeFile(const std::filesystem::path& path, Text& text) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw Error(errno == ENOENT ? kFileNotFound : std::strerror(errno), path.string());
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    throw Error(std::strerror(err), path.string());
  }
  text.assign(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  for (;;) {
    if (done == text.size()) text.resize(text.size() + 65536);  // a file that grew, or a pipe
    const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      throw Error(std::strerror(err), path.string());
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  text.resize(done);
}

template void ReadWholeFile(const std::filesystem::path&, std::string&);
template void ReadWholeFile(const std::filesystem::path&, ArenaString&);

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::string text;
  ReadWholeFile(path, text);
  return text;
}

}  // namespace vk
