// Atomic writes keep what the user's file was: its permissions, a symbolic link in its place, a long name; and a
// write that fails leaves the old bytes and no stray file.

#include "platform/core/files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "scratch_folder.h"

namespace platform {
namespace {

using testing::readTextFile;
using testing::ScratchFolder;
using testing::writeTextFile;

mode_t modeOf(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

Status write(const std::filesystem::path& path, const std::string& text) {
  return writeFileAtomically(path, text.data(), text.size());
}

std::size_t entriesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(WriteFileAtomically, KeepsPermissionsAndLinksAndTakesTheLongestNames) {
  ScratchFolder folder;
  const mode_t previousMask = ::umask(022);
  EXPECT_TRUE(write(folder / "new.vard", "new").ok());
  EXPECT_EQ(modeOf(folder / "new.vard"), 0644u);
  ::umask(previousMask);

  writeTextFile(folder / "private.vard", "old");
  ::chmod((folder / "private.vard").c_str(), 0600);
  ASSERT_TRUE(write(folder / "private.vard", "saved").ok());
  EXPECT_EQ(modeOf(folder / "private.vard"), 0600u);
  EXPECT_EQ(readTextFile(folder / "private.vard"), "saved");

  // A link to a link in another folder: both links stay, the file at the end of the chain gets the bytes.
  writeTextFile(folder / "real" / "drawing.vard", "old");
  std::filesystem::create_symlink("real/drawing.vard", folder / "middle.vard");
  std::filesystem::create_symlink(folder / "middle.vard", folder / "link.vard");
  ASSERT_TRUE(write(folder / "link.vard", "through the link").ok());
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.vard"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "middle.vard"));
  EXPECT_EQ(readTextFile(folder / "real" / "drawing.vard"), "through the link");

  const std::string longest = std::string(250, 'n') + ".vard";
  ASSERT_EQ(longest.size(), 255u);
  EXPECT_TRUE(write(folder / longest, "long").ok());
  EXPECT_EQ(readTextFile(folder / longest), "long");
  EXPECT_EQ(entriesIn(folder.path()), 6u);  // no temporary file left behind
}

// Runs `write` in a child process without the right to write into read-only folders, even when the tests run as
// root; true when the write succeeded.
bool writesWithoutPrivileges(const std::filesystem::path& path) {
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(2);
    ::_exit(write(path, "replaced").ok() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(WriteFileAtomically, AFailedWriteLeavesTheOldBytesAndNoTemporaryFile) {
  ScratchFolder folder;
  ::chmod(folder.path().c_str(), 0755);
  writeTextFile(folder / "locked" / "drawing.vard", "old");
  ::chmod((folder / "locked" / "drawing.vard").c_str(), 0666);
  ::chmod((folder / "locked").c_str(), 0555);
  EXPECT_FALSE(writesWithoutPrivileges(folder / "locked" / "drawing.vard"));
  EXPECT_EQ(readTextFile(folder / "locked" / "drawing.vard"), "old");
  EXPECT_EQ(entriesIn(folder / "locked"), 1u);

  // The disk refuses the data half-way (a file size limit stands in for a full disk).
  writeTextFile(folder / "drawing.vard", "old");
  struct rlimit previous {};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  struct rlimit small = previous;
  small.rlim_cur = 4096;
  void (*previousHandler)(int) = ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  const Status written = write(folder / "drawing.vard", std::string(10000, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &previous);
  ::signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(written.ok());
  EXPECT_EQ(readTextFile(folder / "drawing.vard"), "old");
  EXPECT_EQ(entriesIn(folder.path()), 2u);
}

}  // namespace
}  // namespace platform
