#include "platform/core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

namespace platform {
namespace {

Error fileError(const std::filesystem::path& path, const std::string& what, int code) {
  return Error::make(Error::cocoaDomain, code, what + " \"" + path.string() + "\": " + std::strerror(code));
}

bool writeAll(int fd, const void* bytes, std::size_t length) {
  const auto* p = static_cast<const char*>(bytes);
  while (length > 0) {
    ssize_t n = ::write(fd, p, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

Expected<Bytes> readFile(const std::filesystem::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fileError(path, "Could not open", errno);
  Bytes bytes;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      int code = errno;
      ::close(fd);
      return fileError(path, "Could not read", code);
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
  return bytes;
}

Status writeFileAtomically(const std::filesystem::path& path, const void* bytes, std::size_t length) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return fileError(path, "Could not create a temporary file for", errno);
  int code = 0;
  if (!writeAll(fd, bytes, length) || ::fsync(fd) != 0) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  // A new file gets the permissions an ordinary file would get; mkostemp makes it 0600.
  if (code == 0) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(pattern.c_str(), 0666 & ~mask);
    if (::rename(pattern.c_str(), path.c_str()) != 0) code = errno;
  }
  if (code != 0) {
    ::unlink(pattern.c_str());
    return fileError(path, "Could not write", code);
  }
  // Make the rename itself durable.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return success();
}

Status createDirectories(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec || !std::filesystem::is_directory(path)) {
    return fileError(path, "Could not create the folder", ec ? ec.value() : ENOTDIR);
  }
  return success();
}

}  // namespace platform
