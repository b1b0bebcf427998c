// Paths the program cannot read as drawings, as a user hands them over: named on the command line, or given to a
// copy already running through the session bus. Each gives the "Error" alert with the reason, and the program
// carries on with its welcome tour; a running copy keeps the drawing it had.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../platform/core/scratch_folder.h"
#include "document/CMDocument.h"
#include "platform/core/files.h"
#include "running_program.h"
#include "x_window_names.h"

namespace {

using namespace std::chrono_literals;

struct UnreadablePath {
  std::filesystem::path path;
  std::string reason;  // what the alert says after the file's name
};

void expectAlertWithTheReason(RunningProgram& program, const UnreadablePath& unreadable) {
  SCOPED_TRACE(unreadable.path.filename().string().substr(0, 40));
  // The reason is written as the alert is made; read first, it tells this alert from one of a copy just stopped.
  const std::string reason =
      "could not be opened. Could not open \"" + unreadable.path.string() + "\": " + unreadable.reason;
  EXPECT_TRUE(waitFor([&] { return program.errorOutput().find(reason) != std::string::npos; }, 60s))
      << program.errorOutput();
  EXPECT_TRUE(waitFor([] { return hasWindowNamed("Error"); }, 60s));
  EXPECT_TRUE(program.stillRunning());
}

// Each path on the command line of a copy of its own, then each handed to a copy showing a drawing.
void expectEachRefused(const std::vector<UnreadablePath>& paths) {
  for (const UnreadablePath& unreadable : paths) {
    RunningProgram program(unreadable.path);
    ASSERT_TRUE(program.started());
    expectAlertWithTheReason(program, unreadable);
    EXPECT_TRUE(waitFor([] { return hasWindowNamed("Welcome to Draftwork"); }, 60s))
        << "the welcome tour stands in for the file";
  }

  SessionBus bus;
  ASSERT_FALSE(bus.address().empty()) << "dbus-daemon did not start";
  platform::testing::ScratchFolder folder;
  auto drawing = std::make_shared<CMDocument>();
  ASSERT_TRUE(drawing->writeToURL(folder / "Drawing.vard", CMDocument::kFileType));
  RunningProgram running(folder / "Drawing.vard", bus.address());
  ASSERT_TRUE(running.started());
  ASSERT_TRUE(waitFor([] { return hasWindowNamed("Drawing.vard, 100%"); }, 60s));
  for (const UnreadablePath& unreadable : paths) {
    RunningProgram handing(unreadable.path, bus.address());
    ASSERT_TRUE(waitFor([&] { return !handing.stillRunning(); }, 60s)) << "the second copy hands the file over";
    expectAlertWithTheReason(running, unreadable);
    EXPECT_TRUE(hasWindowNamed("Drawing.vard, 100%")) << "the running copy keeps its drawing";
    ASSERT_TRUE(requestCloseOfWindowNamed("Error"));
    ASSERT_TRUE(waitFor([] { return !hasWindowNamed("Error"); }, 30s));
  }
}

TEST(UnreadablePaths, PathsThatCannotBeInspectedGiveTheReason) {
  platform::testing::ScratchFolder folder;
  const std::filesystem::path loop = folder / "loop.vard";
  std::filesystem::create_symlink(loop, loop);
  std::vector<UnreadablePath> paths{
      {loop, std::strerror(ELOOP)},
      {folder / (std::string(300, 'n') + ".vard"), std::strerror(ENAMETOOLONG)},
  };
  // Folder permissions do not hold the superuser back.
  if (geteuid() != 0) {
    std::filesystem::create_directory(folder / "closed");
    std::ofstream(folder / "closed" / "inside.vard") << "inside";
    ::chmod((folder / "closed").c_str(), 0);
    paths.push_back({folder / "closed" / "inside.vard", std::strerror(EACCES)});
  }
  expectEachRefused(paths);
}

TEST(UnreadablePaths, OnlyRegularFilesOfAReasonableSizeAreRead) {
  platform::testing::ScratchFolder folder;
  const std::filesystem::path pipe = folder / "x.vard";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::filesystem::path endless = folder / "z.vard";
  std::filesystem::create_symlink("/dev/zero", endless);
  // Sparse: it takes no room on the disk.
  const std::filesystem::path huge = folder / "huge.vard";
  std::ofstream(huge).put('x');
  std::filesystem::resize_file(huge, platform::kLargestReadableFile + 1);
  expectEachRefused({
      {pipe, "it is a named pipe, not a file"},
      {endless, "it is a device, not a file"},
      {huge, "it is larger than 2 GiB"},
  });
}

}  // namespace
