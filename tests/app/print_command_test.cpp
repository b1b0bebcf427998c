// Print… in the built program: with the page image installed at start-up, the command reaches the print dialog
// instead of ending in the "Error" alert, and cancelling that dialog is no error either.

#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "../platform/core/scratch_folder.h"
#include "document/CMDocument.h"

#include "running_program.h"
#include "x_key_events.h"
#include "x_window_names.h"

namespace {

using namespace std::chrono_literals;

TEST(PrintCommand, ReachesThePrintDialogInsteadOfTheErrorAlert) {
  platform::testing::ScratchFolder folder;
  const std::filesystem::path file = folder / "Drawing.vard";
  ASSERT_TRUE(std::make_shared<CMDocument>()->writeToURL(file, CMDocument::kFileType).ok());
  RunningProgram program(file);
  ASSERT_TRUE(program.started());
  const std::string mainWindow = "Drawing.vard, 100%";
  ASSERT_TRUE(waitFor([&] { return hasWindowNamed(mainWindow); }, 60s));
  // GTK titles its print dialog in the user's language, as it does here since the program runs in ours.
  const std::string print = g_dgettext("gtk30", "Print");

  ASSERT_TRUE(sendKeyToWindowNamed(mainWindow, "p", true));
  ASSERT_TRUE(waitFor([&] { return hasWindowNamed(print) || hasWindowNamed("Error"); }, 60s));
  EXPECT_TRUE(hasWindowNamed(print));
  EXPECT_FALSE(hasWindowNamed("Error"));

  ASSERT_TRUE(requestCloseOfWindowNamed(print));
  ASSERT_TRUE(waitFor([&] { return !hasWindowNamed(print); }, 30s));
  // A cancelled print is no failure: nothing follows the dialog.
  EXPECT_FALSE(waitFor([] { return hasWindowNamed("Error"); }, 3s));
  EXPECT_TRUE(hasWindowNamed(mainWindow));
}

}  // namespace
