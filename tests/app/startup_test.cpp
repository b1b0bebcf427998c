// Start-up as the user sees it: the built program, given a saved drawing on the
// command line, opens it in its main window, whose title names the file, and
// draws the drawing's rectangle at its place on the page; without files it
// welcomes the user with its tour window.

#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../platform/core/scratch_folder.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "platform/core/value.h"
#include "running_program.h"
#include "x_key_events.h"
#include "x_window_names.h"

namespace {

using namespace std::chrono_literals;

struct Colour {
  int red;
  int green;
  int blue;
};

constexpr Colour kFill{200, 30, 40};
// A page colour no pane of the window uses, so the page is found by its colour alone.
constexpr Colour kPage{230, 250, 180};

// A drawing on a kPage page with one 100 × 100 rectangle at (150, 90) filled with kFill (fill type 1: a colour),
// without stroke or shadow.
void writeDrawing(const std::filesystem::path& path) {
  auto document = std::make_shared<CMDocument>();
  document->data()->set("background", platform::Dictionary::make({{"bg_color", platform::Dictionary::make({
                                                                                   {"r", kPage.red},
                                                                                   {"g", kPage.green},
                                                                                   {"b", kPage.blue},
                                                                                   {"a", 255},
                                                                               })}}));
  platform::DictRef record = document->addObject("rect", {150, 90});
  ASSERT_NE(record, nullptr);
  const platform::DictRef shape = record->get("shape").dictionary();
  ASSERT_NE(shape, nullptr);
  const platform::DictRef fill = shape->get("fill").dictionary();
  ASSERT_NE(fill, nullptr);
  fill->set("use", true);
  fill->set("type", 1);
  fill->set("alpha", 1.0);
  fill->set("color", platform::Dictionary::make({{"r", kFill.red}, {"g", kFill.green}, {"b", kFill.blue}, {"a", 255}}));
  for (const char* style : {"stroke", "shadow"}) {
    if (const platform::DictRef entry = shape->get(style).dictionary()) entry->set("use", false);
  }
  ASSERT_TRUE(document->writeToURL(path, CMDocument::kFileType).ok());
}

struct Box {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  long count = 0;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

// Every pixel of the colour in the screenshot, as its bounding box.
Box findColour(GdkPixbuf* shot, Colour colour) {
  Box box{1 << 30, 1 << 30, -1, -1, 0};
  const int width = gdk_pixbuf_get_width(shot);
  const int height = gdk_pixbuf_get_height(shot);
  const int stride = gdk_pixbuf_get_rowstride(shot);
  const int channels = gdk_pixbuf_get_n_channels(shot);
  const guchar* pixels = gdk_pixbuf_read_pixels(shot);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const guchar* p = pixels + y * stride + x * channels;
      if (std::abs(p[0] - colour.red) > 2 || std::abs(p[1] - colour.green) > 2 || std::abs(p[2] - colour.blue) > 2)
        continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
      ++box.count;
    }
  }
  return box;
}

struct PixbufDeleter {
  void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using Screenshot = std::unique_ptr<GdkPixbuf, PixbufDeleter>;

Screenshot screenshot() {
  GdkWindow* root = gdk_get_default_root_window();
  return Screenshot(gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root), gdk_window_get_height(root)));
}

// writeDrawing's drawing saved in the folder under the name; the project read afresh after.
std::filesystem::path savedDrawing(const platform::testing::ScratchFolder& folder, const char* name) {
  const std::filesystem::path file = folder / name;
  writeDrawing(file);
  CMProject::resetSharedProject();
  return file;
}

TEST(Startup, OpensTheFileNamedOnTheCommandLineAndDrawsIt) {
  platform::testing::ScratchFolder folder;
  RunningProgram program(savedDrawing(folder, "Drawing.vard"));
  ASSERT_TRUE(program.started());
  // The welcome tour comes up over the drawing; closed, it leaves the main window in sight.
  ASSERT_TRUE(waitFor([] { return hasWindowNamed("Welcome to Draftwork"); }, 60s));
  ASSERT_TRUE(requestCloseOfWindowNamed("Welcome to Draftwork"));
  const std::string expectedTitle = "Drawing.vard, 100%";
  bool shown = false;
  Box rectangle;
  Box page;
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (std::chrono::steady_clock::now() < deadline && program.stillRunning()) {
    const std::vector<std::string> names = topLevelWindowNames();
    shown = std::find(names.begin(), names.end(), expectedTitle) != names.end();
    if (shown) {
      Screenshot shot = screenshot();
      ASSERT_NE(shot, nullptr);
      rectangle = findColour(shot.get(), kFill);
      page = findColour(shot.get(), kPage);
      if (rectangle.count >= 100 * 100) break;
    }
    std::this_thread::sleep_for(200ms);
  }
  ASSERT_TRUE(shown) << "no window titled " << expectedTitle;
  // The page is the 800 × 600 area of its colour; the rectangle sits 150 right and 90 down from its top-left corner.
  EXPECT_EQ(rectangle.width(), 100);
  EXPECT_EQ(rectangle.height(), 100);
  EXPECT_EQ(rectangle.count, 100 * 100);
  EXPECT_EQ(page.width(), 800);
  // The canvas is centred to half a pixel, which may blend the page's last row with the margin.
  EXPECT_NEAR(page.height(), 600, 1);
  EXPECT_EQ(rectangle.left - page.left, 150);
  EXPECT_EQ(rectangle.top - page.top, 90);
}

// Another program destroys the tour's and the main window's X windows, as `xdotool windowclose` does: the program
// carries on and shows each again in a window made anew, from which Control-Q still quits.
TEST(Startup, AWindowDestroyedFromOutsideComesBackWithTheDrawing) {
  platform::testing::ScratchFolder folder;
  RunningProgram program(savedDrawing(folder, "Kept.vard"));
  ASSERT_TRUE(program.started());
  const std::string title = "Kept.vard, 100%";
  ASSERT_TRUE(waitFor([&] { return hasWindowNamed("Welcome to Draftwork") && hasWindowNamed(title); }, 60s));
  // The tour comes back, and closes as ever.
  ASSERT_TRUE(destroyWindowNamed("Welcome to Draftwork"));
  ASSERT_TRUE(waitFor([] { return hasWindowNamed("Welcome to Draftwork"); }, 30s));
  ASSERT_TRUE(requestCloseOfWindowNamed("Welcome to Draftwork"));
  std::this_thread::sleep_for(500ms);  // hidden, it covers the drawing no more
  ASSERT_TRUE(destroyWindowNamed(title));
  const auto rectangleShown = [] {
    Screenshot shot = screenshot();
    return shot && findColour(shot.get(), kFill).count == 100 * 100;
  };
  EXPECT_TRUE(waitFor([&] { return hasWindowNamed(title) && rectangleShown(); }, 30s));
  EXPECT_TRUE(program.stillRunning()) << program.errorOutput();
  ASSERT_TRUE(sendKeyToWindowNamed(title, "q", true));
  ASSERT_TRUE(waitFor([&] { return !program.stillRunning(); }, 30s));
  ASSERT_TRUE(program.exitStatus().has_value());
  EXPECT_TRUE(WIFEXITED(*program.exitStatus()));
  EXPECT_EQ(WEXITSTATUS(*program.exitStatus()), 0) << program.errorOutput();
}

TEST(Startup, WithoutFilesShowsTheWelcomeTourAndQuitsWhenItCloses) {
  RunningProgram program({});
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(waitFor([] { return hasWindowNamed("Welcome to Draftwork"); }, 60s));
  // No untitled document is made; with its only window closed the program ends.
  EXPECT_FALSE(hasWindowNamed("Untitled, 100%"));
  ASSERT_TRUE(requestCloseOfWindowNamed("Welcome to Draftwork"));
  ASSERT_TRUE(waitFor([&] { return !program.stillRunning(); }, 30s));
  ASSERT_TRUE(program.exitStatus().has_value());
  EXPECT_TRUE(WIFEXITED(*program.exitStatus()));
  EXPECT_EQ(WEXITSTATUS(*program.exitStatus()), 0);
}

TEST(Startup, UnreadableFileShowsTheErrorAlertAndKeepsRunning) {
  platform::testing::ScratchFolder folder;
  const std::filesystem::path file = folder / "Broken.vard";
  std::ofstream(file) << "not a drawing";
  RunningProgram program(file);
  ASSERT_TRUE(program.started());
  EXPECT_TRUE(waitFor([] { return hasWindowNamed("Error"); }, 60s));
  EXPECT_TRUE(program.stillRunning());
}

}  // namespace
