#include "base/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "base/error.h"
#include "file_kind.h"

namespace vk {

std::string NotRegularText(mode_t mode) {
  const char* kind = S_ISFIFO(mode)   ? "a FIFO"
                     : S_ISCHR(mode)  ? "a character device"
                     : S_ISBLK(mode)  ? "a block device"
                     : S_ISDIR(mode)  ? "a folder"
                     : S_ISSOCK(mode) ? "a socket"
                                      : "a special file";
  return std::string("Not a regular file (") + kind + ")";
}

InputFile::InputFile(const std::filesystem::path& path, std::uint64_t limit) : path_(path) {
  // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; the
  // check below refuses it before anything is read.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) throw Error(errno == ENOENT ? kFileNotFound : std::strerror(errno), path.string());
  struct stat st {};
  const int err = ::fstat(fd_, &st) != 0 ? errno : 0;
  std::string refused;
  if (err != 0) {
    refused = std::strerror(err);
  } else if (!S_ISREG(st.st_mode)) {
    refused = NotRegularText(st.st_mode);
  } else if (static_cast<std::uint64_t>(st.st_size) > limit) {
    refused = "File too large: " + std::to_string(st.st_size) + " bytes, at most " + std::to_string(limit);
  }
  if (!refused.empty()) {
    ::close(fd_);
    throw Error(refused, path.string());
  }
  size_ = static_cast<std::uint64_t>(st.st_size);
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

InputFile::~InputFile() { ::close(fd_); }

std::size_t InputFile::read(void* to, std::size_t count) { return ReadFrom(to, count, -1); }

std::size_t InputFile::read_at(void* to, std::size_t count, std::uint64_t offset) {
  return ReadFrom(to, count, static_cast<std::int64_t>(offset));
}

std::size_t InputFile::ReadFrom(void* to, std::size_t count, std::int64_t offset) {
  std::size_t done = 0;
  while (done < count) {
    char* const at = static_cast<char*>(to) + done;
    const ssize_t n = offset < 0 ? ::read(fd_, at, count - done)
                                 : ::pread(fd_, at, count - done, static_cast<off_t>(offset + std::int64_t(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw Error(std::strerror(errno), path_.string());
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void CheckInputFile(const std::filesystem::path& path, std::uint64_t limit) { InputFile file(path, limit); }

template <class Text>
void ReadWholeFile(const std::filesystem::path& path, std::uint64_t limit, Text& text) {
  InputFile file(path, limit);
  // One byte more than the limit allows shows a file that grew past it.
  const std::uint64_t room = std::min<std::uint64_t>(limit, std::numeric_limits<std::size_t>::max() - 1) + 1;
  text.assign(static_cast<std::size_t>(std::min<std::uint64_t>(file.size() + 1, room)), '\0');
  std::size_t done = 0;
  for (;;) {
    if (done == text.size()) {
      if (done >= room) throw Error("File too large: it grew past " + std::to_string(limit) + " bytes", path.string());
      text.resize(static_cast<std::size_t>(std::min<std::uint64_t>(text.size() + 65536, room)));
    }
    const std::size_t n = file.read(text.data() + done, text.size() - done);
    done += n;
    if (done < text.size()) break;  // the end of the file
  }
  text.resize(done);
}

template void ReadWholeFile(const std::filesystem::path&, std::uint64_t, std::string&);
template void ReadWholeFile(const std::filesystem::path&, std::uint64_t, ArenaString&);

std::string ReadWholeFile(const std::filesystem::path& path, std::uint64_t limit) {
  std::string text;
  ReadWholeFile(path, limit, text);
  return text;
}

std::string ReadFileStart(const std::filesystem::path& path, std::size_t count) {
  InputFile file(path, std::numeric_limits<std::uint64_t>::max());
  std::string bytes(count, '\0');
  bytes.resize(file.read(bytes.data(), count));
  return bytes;
}

}  // namespace vk
