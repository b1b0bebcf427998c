// One program per session: a second launch on the same session bus hands its file to the running program and
// ends at once; the first shows the file.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <memory>

#include "../platform/core/scratch_folder.h"
#include "document/CMDocument.h"
#include "running_program.h"
#include "x_window_names.h"

namespace {

using namespace std::chrono_literals;

TEST(SingleInstance, ASecondLaunchOpensItsFileInTheFirstAndEnds) {
  SessionBus bus;
  ASSERT_FALSE(bus.address().empty()) << "dbus-daemon did not start";
  platform::testing::ScratchFolder folder;
  for (const char* name : {"a.vard", "b.vard"})
    ASSERT_TRUE(std::make_shared<CMDocument>()->writeToURL(folder / name, CMDocument::kFileType).ok());
  RunningProgram first(folder / "a.vard", bus.address());
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(waitFor([] { return hasWindowNamed("a.vard, 100%"); }, 60s));

  RunningProgram second(folder / "b.vard", bus.address());
  ASSERT_TRUE(second.started());
  EXPECT_TRUE(waitFor([&] { return !second.stillRunning(); }, 5s));
  ASSERT_TRUE(second.exitStatus().has_value());
  EXPECT_TRUE(WIFEXITED(*second.exitStatus()));
  EXPECT_EQ(WEXITSTATUS(*second.exitStatus()), 0);
  EXPECT_TRUE(waitFor([] { return hasWindowNamed("b.vard, 100%"); }, 30s));
  EXPECT_TRUE(first.stillRunning());
}

}  // namespace
