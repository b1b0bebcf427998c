// The templates window: numbered resources read up to the first gap, then the user's store; thumbnails from the
// support folder before the resources; exclusive buttons; Create with and without a template; a template that holds
// no drawing refused; the samples opening afresh from their files; and the button's drawing, pixel by pixel.

#include <gtest/gtest.h>

#include <cairomm/surface.h>
#include <gdkmm/pixbuf.h>
#include <gtkmm/messagedialog.h>

#include <cstdlib>
#include <functional>
#include <optional>

#include "../../platform/core/scratch_folder.h"
#include "app/CMTemplatesWindowController.h"
#include "document/CMDocument.h"
#include "document/CMImportExportServices.h"
#include "document/CMProject.h"
#include "document/CMTemplateStore.h"
#include "document/CMUserNotices.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/resources.h"
#include "dialog_test_support.h"
#include "platform/core/user_defaults.h"
#include "shell_fixture.h"
#include "stacking_order.h"
#include "ui_test_harness.h"

namespace shell_testing {
namespace {

// Resources searched before the program's own for as long as it lives.
class ExtraResources {
 public:
  ExtraResources() {
    const char* previous = std::getenv("DRAFTWORK_RESOURCES");
    if (previous) previous_ = previous;
    setenv("DRAFTWORK_RESOURCES", folder_.path().c_str(), 1);
  }
  ~ExtraResources() {
    if (previous_) {
      setenv("DRAFTWORK_RESOURCES", previous_->c_str(), 1);
    } else {
      unsetenv("DRAFTWORK_RESOURCES");
    }
  }
  std::filesystem::path operator/(const std::string& name) const { return folder_ / name; }

 private:
  platform::testing::ScratchFolder folder_;
  std::optional<std::string> previous_;
};

// A template whose drawing has `layers` rectangles, with its thumbnail's name.
platform::Value templateRecord(int layers, const std::string& image) {
  auto document = std::make_shared<CMDocument>();
  for (int index = 0; index < layers; ++index) document->addObject("rect", {10.0 * index, 10});
  return platform::Value(platform::Dictionary::make(
      {{"data", platform::archivedDataWithRootObject(platform::Value(document->data()))}, {"imagefilename", image}}));
}

void writeStore(const std::filesystem::path& path, std::vector<platform::Value> records) {
  platform::ArrayRef array = platform::Array::make();
  for (platform::Value& record : records) array->add(record);
  ASSERT_TRUE(platform::writeFileAtomically(path, platform::archivedDataWithRootObject(platform::Value(array))).ok());
}

void writeImage(const std::filesystem::path& path, int width, int height, guint32 rgba) {
  Glib::RefPtr<Gdk::Pixbuf> image = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, width, height);
  image->fill(rgba);
  image->save(path.string(), "png");
}

using Templates = ShellTest;

TEST_F(Templates, NumberedResourcesAreReadUpToTheFirstGapThenTheUsersStore) {
  ExtraResources resources;
  writeStore(resources / "templates001.data", {templateRecord(1, "a.png")});
  writeStore(resources / "templates002.data", {templateRecord(2, "b.png"), templateRecord(3, "c.png")});
  writeStore(resources / "templates004.data", {templateRecord(4, "d.png")});
  writeStore(CMProject::appFilePath(CMDocument::kTemplateStoreName), {templateRecord(5, "e.png")});
  CMTemplatesWindowController templates;
  templates.updateTemplates();
  std::vector<std::string> names;
  for (const platform::Value& record : *templates.templates()) names.push_back(templateImageName(record.dictionary()));
  EXPECT_EQ(names, (std::vector<std::string>{"a.png", "b.png", "c.png", "e.png"}));
}

TEST_F(Templates, SaveAsTemplateAddsAnItemWithItsThumbnail) {
  CMPageImageServiceFactory::install([] { return std::unique_ptr<CMPageImageService>(); });
  CMTemplatesWindowController templates;
  templates.loadItems();
  const std::size_t before = templates.items().size();
  auto drawing = newDrawing();
  drawing->addObject("rect", {10, 10});
  drawing->OnSaveAsTemplate();
  CMPageImageServiceFactory::install(nullptr);
  templates.loadItems();
  ASSERT_EQ(templates.items().size(), before + 1);
  EXPECT_EQ(templateRootRecord(templates.items().back()->representedObject())->get("layers").array()->size(), 1u);
}

TEST_F(Templates, AnUnreadableStoreIsKeptAsideAndTheUserToldOnce) {
  CMPageImageServiceFactory::install([] { return std::unique_ptr<CMPageImageService>(); });
  std::vector<std::string> told;
  CMUserNotices::takeWaiting();
  const CMUserNotices::Presenter previous = CMUserNotices::install(
      [&told](const std::vector<std::string>& notices) { told.insert(told.end(), notices.begin(), notices.end()); });
  const std::filesystem::path store = CMProject::appFilePath(CMDocument::kTemplateStoreName);
  const auto asideFiles = [&store] {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(store.parent_path())) {
      if (entry.path().filename().string().starts_with("templates.data.corrupt-")) found.push_back(entry.path());
    }
    return found;
  };
  auto drawing = newDrawing();
  drawing->addObject("rect", {10, 10});
  CMTemplatesWindowController templates;
  struct Case {
    const char* path;
    std::function<void()> act;
    std::size_t records;  // in the store file once acted twice
  } cases[] = {{"File \u25b8 Save as Template\u2026", [&] { item("File", "Save as Template")->perform(); }, 2},
               {"the templates window", [&] { templates.loadItems(); }, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    for (const auto& aside : asideFiles()) std::filesystem::remove(aside);
    writeStore(store, {templateRecord(1, "a.png"), templateRecord(2, "b.png"), templateRecord(3, "c.png")});
    platform::Bytes truncated = platform::readFile(store).value();
    truncated.resize(truncated.size() / 2);
    ASSERT_TRUE(platform::writeFileAtomically(store, truncated));
    told.clear();
    c.act();
    c.act();  // a second time: nothing more to tell
    settle();
    const std::vector<std::filesystem::path> aside = asideFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(platform::readFile(aside[0]).value(), truncated);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(aside[0].filename().string()), std::string::npos) << told[0];
    const platform::ArrayRef records = readTemplateFile(store);
    EXPECT_EQ(records ? records->size() : 0u, c.records);
  }
  CMUserNotices::install(previous);
  CMPageImageServiceFactory::install(nullptr);
}

// File ▸ New from Template… with a damaged store: its alert stands on the templates window, above it, and once
// answered with a click the window takes its own clicks again.
TEST_F(Templates, ADamagedStoresAlertStandsAboveTheTemplatesWindow) {
  platform::UserDefaults::standardUserDefaults().setBool(false, "shouldRunFirst");
  delegate->applicationDidFinishLaunching();
  settle();
  ASSERT_EQ(window->dialogs().currentAlert(), nullptr) << alertText();
  const std::filesystem::path store = CMProject::appFilePath(CMDocument::kTemplateStoreName);
  writeStore(store, {templateRecord(1, "a.png")});
  platform::Bytes truncated = platform::readFile(store).value();
  truncated.resize(truncated.size() / 2);
  ASSERT_TRUE(platform::writeFileAtomically(store, truncated));
  newDrawingOnScreen();
  item("File", "New from Template")->perform();
  Gtk::Window& templates = CMTemplatesWindowController::sharedTemplate().window();
  platform::Alert* alert = nullptr;
  ASSERT_TRUE(platform::iterateMainLoopUntil(
      [&] { return (alert = window->dialogs().currentAlert()) && alert->dialog() && alert->dialog()->get_mapped(); },
      3s));
  EXPECT_NE(alertText().find("could not be read"), std::string::npos) << alertText();
  ASSERT_TRUE(templates.get_mapped());
  EXPECT_EQ(alert->dialog()->get_transient_for(), &templates);
  EXPECT_GT(stackingPlace(*alert->dialog()), stackingPlace(templates));
  platform::test::clickButton(*dialog_testing::find<Gtk::Button>(alert->dialog()->get_action_area()));
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return window->dialogs().currentAlert() == nullptr; }, 3s));
  std::vector<Gtk::Button*> buttons;
  dialog_testing::collect(&templates, buttons);
  for (Gtk::Button* button : buttons)
    if (button->get_label() == "Close") platform::test::clickButton(*button);
  settle();
  EXPECT_FALSE(templates.get_visible());
}

TEST_F(Templates, ThumbnailsComeFromTheSupportFolderBeforeTheResources) {
  ExtraResources resources;
  writeImage(resources / "both.png", 20, 10, 0xff0000ff);
  writeImage(CMProject::appFilePath("both.png"), 30, 10, 0x00ff00ff);
  writeImage(resources / "shipped.png", 40, 10, 0x0000ffff);
  const auto width = [](const std::string& name) {
    auto image = CMTemplateItemPrototype::thumbnail(templateRecord(0, name).dictionary(), CMProject::appFilePath(""));
    return image ? image->get_width() : 0;
  };
  EXPECT_EQ(width("both.png"), 30);
  EXPECT_EQ(width("shipped.png"), 40);
  EXPECT_EQ(width("missing.png"), 0);
  EXPECT_EQ(width("../both.png"), 0);  // names only, no paths
  EXPECT_EQ(width(".."), 0);
  // Past the image limits: a valid PNG one pixel wider than an image may be is not decoded.
  writeImage(resources / "wide.png", 32768, 1, 0xffffffff);
  writeImage(resources / "widest.png", 32767, 1, 0xffffffff);
  EXPECT_EQ(width("wide.png"), 0);
  EXPECT_EQ(width("widest.png"), 32767);
}

TEST_F(Templates, ButtonsAreExclusiveAndCreateUsesTheChosenTemplate) {
  ExtraResources resources;
  writeStore(resources / "templates001.data", {templateRecord(2, "a.png"), templateRecord(3, "b.png")});
  CMTemplatesWindowController& templates = CMTemplatesWindowController::sharedTemplate();
  templates.loadItems();
  templates.showWindow();
  settle();
  ASSERT_GE(templates.items().size(), 2u);
  EXPECT_FALSE(templates.createButton().get_sensitive());
  platform::test::clickButton(templates.items()[0]->button());
  platform::test::clickButton(templates.items()[1]->button());
  settle();
  EXPECT_FALSE(templates.items()[0]->button().get_active());
  EXPECT_TRUE(templates.items()[1]->button().get_active());
  EXPECT_TRUE(templates.createButton().get_sensitive());
  platform::test::clickButton(templates.createButton());
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  EXPECT_EQ(window->drawing()->data()->get("layers").array()->size(), 3u);
  EXPECT_FALSE(templates.window().is_visible());

  // Without a choice Create makes a plain document.
  templates.loadItems();
  templates.OnCreateDocument();
  settle();
  ASSERT_EQ(documents->documents().size(), 2u);
  EXPECT_EQ(window->drawing()->data()->get("layers").array()->size(), 0u);
}

TEST_F(Templates, ATemplateWithoutADrawingMakesNoDocument) {
  ExtraResources resources;
  platform::Value broken(platform::Dictionary::make(
      {{"data", platform::archivedDataWithRootObject(platform::Value("no drawing"))}, {"imagefilename", "x.png"}}));
  writeStore(resources / "templates001.data", {broken, platform::Value(3)});
  CMTemplatesWindowController templates;
  templates.loadItems();
  ASSERT_EQ(templates.items().size(), 1u);  // the number is no record
  templates.items()[0]->button().set_active(true);
  templates.OnCreateDocument();
  settle();
  EXPECT_EQ(alertText(), "Error: The template cannot be read.");
  ASSERT_TRUE(answerAlert(0));
  EXPECT_TRUE(documents->documents().empty());
}

TEST(TemplateButton, AWideImageFillsHalfTheButtonAndFadesWhileOn) {
  EXPECT_EQ(CMTemplateItemButton::imageRect({100, 100}, {200, 100}), (platform::Rect{0, 0, 100, 50}));
  EXPECT_EQ(CMTemplateItemButton::imageRect({100, 100}, {50, 100}), (platform::Rect{0, 0, 50, 100}));
  EXPECT_EQ(CMTemplateItemButton::imageRect({100, 40}, {50, 100}), (platform::Rect{0, 0, 10, 20}));
  Glib::RefPtr<Gdk::Pixbuf> red = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 200, 100);
  red->fill(0xff0000ff);
  // Upright: a gradient image shows its top row at the top.
  Glib::RefPtr<Gdk::Pixbuf> halves = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 200, 100);
  halves->fill(0x0000ffff);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 200; ++x) {
      guint8* pixel = halves->get_pixels() + y * halves->get_rowstride() + x * 4;
      pixel[0] = 255, pixel[1] = 0, pixel[2] = 0, pixel[3] = 255;
    }
  const auto render = [](const Glib::RefPtr<Gdk::Pixbuf>& image, bool highlighted, bool on) {
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, 100, 100);
    CMTemplateItemButton::draw(Cairo::Context::create(surface), {100, 100}, image, highlighted, on);
    surface->flush();
    return surface;
  };
  const auto pixel = [](const Cairo::RefPtr<Cairo::ImageSurface>& surface, int x, int y) {
    return platform::test::pixelAt(surface->cobj(), x, y);
  };
  // The rectangle sits at the button's top-left corner.
  auto plain = render(halves, false, false);
  EXPECT_EQ(pixel(plain, 50, 10).red, 255);   // the image's top half
  EXPECT_EQ(pixel(plain, 50, 40).blue, 255);  // its bottom half
  EXPECT_EQ(pixel(plain, 50, 60).alpha, 0);   // nothing below the image
  EXPECT_EQ(pixel(plain, 99, 10).alpha, 255);
  // On: grey 0.7 under the half-opaque image: 0.5 · 255 + 0.5 · 0.7 · 255.
  auto on = render(red, false, true);
  const platform::test::Pixel faded = pixel(on, 50, 25);
  EXPECT_NEAR(faded.red, 217, 1);
  EXPECT_NEAR(faded.green, 89, 1);
  EXPECT_NEAR(faded.blue, 89, 1);
  EXPECT_EQ(faded.alpha, 255);
  EXPECT_EQ(pixel(on, 50, 60).alpha, 0);
  const platform::test::Pixel pressed = pixel(render(red, true, true), 50, 25);
  EXPECT_NEAR(pressed.green, 64, 1);  // grey 0.5 while the button is held

  // Shrunk eightfold, a page's one-pixel frame keeps all four edges: every source row and column counts.
  Glib::RefPtr<Gdk::Pixbuf> frame = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 800, 400);
  frame->fill(0xffffffff);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 800; ++x) {
      if (x != 0 && x != 799 && y != 0 && y != 399) continue;
      guint8* dot = frame->get_pixels() + y * frame->get_rowstride() + x * 4;
      dot[0] = dot[1] = dot[2] = 0;
    }
  auto shrunk = render(frame, false, false);
  EXPECT_LT(pixel(shrunk, 50, 0).red, 245);   // top
  EXPECT_LT(pixel(shrunk, 50, 49).red, 245);  // bottom
  EXPECT_LT(pixel(shrunk, 0, 25).red, 245);   // left
  EXPECT_LT(pixel(shrunk, 99, 25).red, 245);  // right
  EXPECT_EQ(pixel(shrunk, 50, 25).red, 255);  // the page inside stays white
}

TEST_F(Templates, ThumbnailsStandAtTheTopOfTheWindow) {
  ExtraResources resources;
  writeStore(resources / "templates001.data", {templateRecord(1, "a.png")});
  CMTemplatesWindowController templates;
  templates.loadItems();
  templates.showWindow();
  settle();
  ASSERT_EQ(templates.items().size(), 1u);
  const Gtk::Allocation button = templates.items()[0]->button().get_allocation();
  EXPECT_EQ(button.get_height(), 100);  // not stretched down the window's empty height
  int x = 0, y = 0;
  ASSERT_TRUE(templates.items()[0]->button().translate_coordinates(templates.window(), 0, 0, x, y));
  EXPECT_LT(y, 60);
  templates.window().hide();
}

}  // namespace
}  // namespace shell_testing
