#include "platform/core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

namespace platform {
namespace {

Error fileError(const std::filesystem::path& path, const std::string& what, int code, const std::string& reason) {
  return Error::make(Error::cocoaDomain, code, what + " \"" + path.string() + "\": " + reason);
}

Error fileError(const std::filesystem::path& path, const std::string& what, int code) {
  return fileError(path, what, code, std::strerror(code));
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

// What a file system entry other than a regular file is, in words; null for a regular file.
const char* notAFile(mode_t mode) {
  if (S_ISREG(mode)) return nullptr;
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISSOCK(mode)) return "a socket";
  return "a device";
}

// The file a save replaces: a symbolic link is followed to the file it names, so the link itself stays.
std::filesystem::path linkTarget(const std::filesystem::path& path) {
  constexpr int kMostLinks = 40;  // the kernel's own limit on a chain of links
  std::filesystem::path target = path;
  for (int hop = 0; hop < kMostLinks; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) break;
    const std::filesystem::path next = std::filesystem::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

// A new, empty file of a short name in `folder`, whatever the length of the saved file's name. It is made with the
// permissions of any new file (0666 less the umask and the folder's default ACL).
int createTemporaryFile(const std::filesystem::path& folder, std::string& name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string suffix(8, ' ');
    for (char& c : suffix) c = kLetters[letter(random)];
    name = (folder / (".draftwork-" + suffix)).string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// A limit in the largest whole unit it is a multiple of: "2 GiB", "256 MiB".
std::string sizeText(std::uint64_t bytes) {
  const char* units[] = {"bytes", "KiB", "MiB", "GiB"};
  int unit = 0;
  while (unit < 3 && bytes >= 1024 && bytes % 1024 == 0) {
    bytes /= 1024;
    ++unit;
  }
  return std::to_string(bytes) + " " + units[unit];
}

// The whole of the open file, if it is a regular file of at most `largest` bytes.
Expected<Bytes> readOpenFile(const std::filesystem::path& path, int fd, std::uint64_t largest) {
  const std::string tooLarge = "it is larger than " + sizeText(largest);
  struct stat status {};
  if (::fstat(fd, &status) != 0) return fileError(path, "Could not open", errno);
  if (const char* kind = notAFile(status.st_mode))
    return fileError(path, "Could not open", EINVAL, std::string("it is ") + kind + ", not a file");
  if (static_cast<std::uint64_t>(status.st_size) > largest)
    return fileError(path, "Could not open", EFBIG, tooLarge);
  Bytes bytes;
  bytes.reserve(static_cast<std::size_t>(status.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fileError(path, "Could not read", errno);
    }
    if (n == 0) return bytes;
    // A file that grows while it is read is held to the same limit.
    if (bytes.size() + static_cast<std::size_t>(n) > largest)
      return fileError(path, "Could not read", EFBIG, tooLarge);
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
}

// "20240131T235959Z": sorts by time and holds no character a file name dislikes.
std::string utcTimestamp() {
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::size_t length = std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return std::string(text, length);
}

std::filesystem::path freeCorruptName(const std::filesystem::path& file) {
  const std::string stem = file.string() + ".corrupt-" + utcTimestamp();
  std::filesystem::path candidate = stem;
  std::error_code error;
  for (int attempt = 2; std::filesystem::exists(std::filesystem::symlink_status(candidate, error)); ++attempt) {
    candidate = stem + "-" + std::to_string(attempt);
  }
  return candidate;
}

}  // namespace

Expected<std::filesystem::path> setAsideCorruptFile(const std::filesystem::path& file, AsideMethod method) {
  const std::filesystem::path asideName = freeCorruptName(file);
  std::error_code error;
  if (method == AsideMethod::Move) {
    std::filesystem::rename(file, asideName, error);
  } else {
    std::filesystem::copy_file(file, asideName, std::filesystem::copy_options::none, error);
  }
  if (error) {
    return Error::make(Error::cocoaDomain, error.value(),
                       "Could not keep \"" + file.string() + "\" aside: " + error.message());
  }
  return asideName;
}

Expected<Bytes> readFile(const std::filesystem::path& path, std::uint64_t largest) {
  // Without blocking: opening a named pipe would otherwise wait for a writer for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fileError(path, "Could not open", errno);
  Expected<Bytes> bytes = readOpenFile(path, fd, largest);
  ::close(fd);
  return bytes;
}

Status writeFileAtomically(const std::filesystem::path& path, const void* bytes, std::size_t length) {
  const std::filesystem::path target = linkTarget(path);
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  struct stat existing {};
  const bool replacing = ::stat(target.c_str(), &existing) == 0;
  std::string temporary;
  const int fd = createTemporaryFile(folder, temporary);
  if (fd < 0) return fileError(path, "Could not create a temporary file for", errno);
  int code = 0;
  if (replacing) {
    // The file keeps its owner where the process may give it (else it becomes the process's own) and its
    // permissions: a private drawing stays private.
    [[maybe_unused]] const int ownerKept = ::fchown(fd, existing.st_uid, existing.st_gid);
    if (::fchmod(fd, existing.st_mode & 07777) != 0) code = errno;
  }
  if (code == 0 && (!writeAll(fd, bytes, length) || ::fsync(fd) != 0)) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) code = errno;
  if (code != 0) {
    ::unlink(temporary.c_str());
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
