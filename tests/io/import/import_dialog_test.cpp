// File ▸ Import… on the real main window under Xvfb, driven as a user does, through real events on GDK's queue: the
// menu chosen from the keyboard, the file's row chosen in the dialog's list with Home and Return, the import undone
// from the keyboard, input during a slow conversion. The canvas's own pixels show what was imported.

#include <gmock/gmock.h>
#include <glibmm/main.h>
#include <gtkmm/treeview.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/menu.h>
#include <gtkmm/messagedialog.h>

#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "../../outside_test_data.h"
#include "../../platform/core/scratch_folder.h"
#include "../cdr/cdr_test_support.h"
#include "dialog_test_support.h"
#include "document/CMNotificationNames.h"
#include "io/cdr/CMCDRConverterProcess.h"
#include "io/import/CMConversionProgressWindow.h"
#include "io/import/CMDrawingImport.h"
#include "io/import/CMImportCommand.h"
#include "main_window_fixture.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/notification_center.h"
#include "platform/graphics/image.h"
#include "ui/CMToolbarButton.h"
#include "ui/CMToolsView.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace {

using namespace std::chrono_literals;
namespace test = platform::test;
using dialog_testing::pressClosingKey;
using dialog_testing::pressKey;
using dialog_testing::shown;

class ImportDialogTest : public ui_testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    previous_ = CMImportServiceFactory::install(CMImportCommand::makeService);
    document_ = newDrawing();
    document_->data()->set("width", 300.0);
    document_->data()->set("height", 200.0);
    window->updateDocument();
    ASSERT_TRUE(test::showAndSettle(window->window()));
    // Every alert that comes up is recorded (message and informative text) and answered.
    watch_ = Glib::signal_timeout().connect(
        [this] {
          if (auto* alert = shown<Gtk::MessageDialog>()) {
            alerts_.push_back({alert->property_text().get_value().raw(),
                               alert->property_secondary_text().get_value().raw()});
            alert->response(0);
          }
          return true;
        },
        50);
  }
  void TearDown() override {
    if (auto* left = shown<Gtk::FileChooserDialog>()) left->response(Gtk::RESPONSE_CANCEL);
    settle();
    watch_.disconnect();
    CMImportServiceFactory::install(previous_);
    MainWindowTest::TearDown();
  }

  // File ▸ Import… (or another command of the File menu that asks for a file) chosen from the keyboard.
  void openImport(const char* command = "Import") {
    ASSERT_TRUE((dialog_ = dialog_testing::openFileDialogFromMenu(window->window().gtkWindow(),
                                                                   item("File", command)->gtkItem())));
  }
  // The whole import of a file: the dialog opened on the file's folder, where it is the only file, its row chosen
  // in the file list with Home and Return.
  void importFile(const std::filesystem::path& file, const char* command = "Import") {
    ASSERT_NO_FATAL_FAILURE(openImport(command));
    dialog_->set_current_folder(file.parent_path().string());
    Gtk::TreeView* list = nullptr;
    ASSERT_TRUE(platform::iterateMainLoopUntil(
        [&] {
          std::vector<Gtk::TreeView*> views;
          dialog_testing::collect(dialog_, views);
          for (Gtk::TreeView* view : views) {
            if (view->get_mapped() && view->get_model() && view->get_model()->children().size() == 1) list = view;
          }
          return list != nullptr;
        },
        5s));
    list->grab_focus();
    pressKey(*list, GDK_KEY_Home);
    EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return dialog_->get_filename() == file.string(); }, 3s));
    pressClosingKey(*list, GDK_KEY_Return);
    EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return !shown<Gtk::FileChooserDialog>(); }, 5s));
    settle();
  }
  // A file in a folder of its own.
  std::filesystem::path write(const std::string& name, const std::string& content) {
    std::filesystem::create_directory(folder_ / name.substr(0, name.find('.')));
    const std::filesystem::path path = folder_ / name.substr(0, name.find('.')) / name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  // The canvas as GTK draws it; the page is at 100 %, so a page point is a canvas pixel.
  test::Pixel canvasPixel(int x, int y) {
    settle();
    const test::ImageSurface pixels = test::renderWidget(window->editor().widget());
    return test::pixelAt(pixels.get(), x, y);
  }
  platform::ArrayRef layers() const { return document_->data()->array("layers"); }
  // A sample drawing, alone in a folder of its own: the dialog shows one row. The sample itself stays where it is.
  std::filesystem::path sample(const std::string& name) {
    const std::filesystem::path own = folder_ / ("sample-" + name);
    std::filesystem::create_directory(own);
    std::filesystem::create_symlink(cdr_testing::kSamples / name, own / name);
    return own / name;
  }
  // How many pixels of the canvas differ between two renderings.
  static long differingPixels(const test::ImageSurface& a, const test::ImageSurface& b) {
    const int width = cairo_image_surface_get_width(a.get()), height = cairo_image_surface_get_height(a.get());
    long differing = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const test::Pixel p = test::pixelAt(a.get(), x, y), q = test::pixelAt(b.get(), x, y);
        differing += p.red != q.red || p.green != q.green || p.blue != q.blue;
      }
    }
    return differing;
  }
  test::ImageSurface canvas() {
    settle();
    return test::renderWidget(window->editor().widget());
  }

  std::shared_ptr<CMDocument> document_;
  platform::testing::ScratchFolder folder_;
  Gtk::FileChooserDialog* dialog_ = nullptr;
  std::vector<std::pair<std::string, std::string>> alerts_;
  sigc::connection watch_;
  CMImportServiceFactory::Factory previous_;
};

TEST_F(ImportDialogTest, AnSvgDrawingIsAddedAsOneGroupAndOneUndoTakesItBack) {
  int posted = 0;
  const platform::ObserverToken observer = platform::NotificationCenter::defaultCenter().addObserver(
      kNotificationLayersReCreate, [&](const auto&) { ++posted; }, static_cast<const CMDocument*>(document_.get()));
  const std::filesystem::path drawing =
      write("drawing.SvG", "<svg width='400' height='250'><rect x='100' y='150' width='300' height='100' "
                           "fill='#0000ff'/></svg>");
  ASSERT_NO_FATAL_FAILURE(openImport());
  // The dialog offers pictures, CorelDRAW and SVG drawings under one filter.
  ASSERT_TRUE(dialog_->get_filter());
  const Glib::RefPtr<Gtk::FileFilter> filter = dialog_->get_filter();
  for (const char* name : {"a.svg", "a.cdr", "a.png", "a.jpeg"}) {
    GtkFileFilterInfo info{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, name, nullptr};
    EXPECT_TRUE(gtk_file_filter_filter(filter->gobj(), &info)) << name;
  }
  GtkFileFilterInfo other{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, "a.vard", nullptr};
  EXPECT_FALSE(gtk_file_filter_filter(filter->gobj(), &other));
  pressClosingKey(*dialog_, GDK_KEY_Escape);
  EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return !shown<Gtk::FileChooserDialog>(); }, 5s));
  settle();
  EXPECT_TRUE(layers()->empty()) << "cancelled";
  EXPECT_FALSE(document_->isDocumentEdited());

  const test::Pixel before = canvasPixel(250, 175);
  importFile(drawing);
  ASSERT_EQ(layers()->size(), 1u);
  EXPECT_EQ(layers()->at(0).dictionary()->get("type").intValue(), 3);
  EXPECT_EQ(posted, 1);
  EXPECT_TRUE(document_->isDocumentEdited());
  EXPECT_EQ(document_->data()->get("width").doubleValue(), 400);
  EXPECT_EQ(document_->data()->get("height").doubleValue(), 250);
  const test::Pixel blue = canvasPixel(250, 175);
  EXPECT_EQ(blue.blue, 255);
  EXPECT_LT(blue.red, 10);
  EXPECT_NE(before.blue - before.red, blue.blue - blue.red);
  EXPECT_TRUE(alerts_.empty());

  // Edit ▸ Undo from the keyboard.
  pressKey(window->window().gtkWindow(), GDK_KEY_z, GDK_CONTROL_MASK);
  settle();
  EXPECT_TRUE(layers()->empty());
  EXPECT_EQ(document_->data()->get("width").doubleValue(), 300);
  EXPECT_EQ(document_->data()->get("height").doubleValue(), 200);
  EXPECT_FALSE(document_->undoManager().canUndo());
}

TEST_F(ImportDialogTest, APictureBecomesOneImageLayerOfItsSize) {
  platform::Image picture({30, 20});
  const platform::Expected<platform::Bytes> png = picture.representation(platform::ImageFileType::Png);
  ASSERT_TRUE(png.ok());
  importFile(write("picture.png", std::string(png.value().begin(), png.value().end())));
  ASSERT_EQ(layers()->size(), 1u);
  const platform::DictRef layer = layers()->at(0).dictionary();
  EXPECT_EQ(layer->get("type").intValue(), 1);
  EXPECT_EQ(layer->get("x").doubleValue(), 0);
  EXPECT_EQ(layer->get("y").doubleValue(), 0);
  EXPECT_EQ(layer->get("width").doubleValue(), 30);
  EXPECT_EQ(layer->get("height").doubleValue(), 20);
  const std::string tiff(layer->get("image").data().begin(), layer->get("image").data().end());
  EXPECT_TRUE(tiff.rfind(std::string("II*\0", 4), 0) == 0 || tiff.rfind(std::string("MM\0*", 4), 0) == 0);
  EXPECT_TRUE(alerts_.empty());
  // Undone and redone, the layer keeps its picture.
  document_->undo();
  EXPECT_TRUE(layers()->empty());
  document_->redo();
  ASSERT_EQ(layers()->size(), 1u);
  EXPECT_EQ(layers()->at(0).dictionary()->get("image").data(), layer->get("image").data());
}

TEST_F(ImportDialogTest, WhatCannotBeImportedEndsInAnAlertAndChangesNothing) {
  const platform::Bytes archived = platform::archivedDataWithRootObject(platform::Value(document_->data()));
  const std::pair<std::string, std::string> files[] = {
      {"garbage.svg", "\x89PNG\r\n not a drawing"},
      {"empty.svg", "<html/>"},
      {"drawing.cdr", "RIFF"},
  };
  for (const auto& [name, content] : files) {
    alerts_.clear();
    importFile(write(name, content));
    ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return !alerts_.empty(); }, 3s)) << name;
    EXPECT_EQ(alerts_.front().first, "Error") << name;
    if (name == "drawing.cdr") {
      EXPECT_EQ(alerts_.front().second, "Unsupported file format!");
    }
    EXPECT_EQ(platform::archivedDataWithRootObject(platform::Value(document_->data())), archived) << name;
  }
  // The dialog offers no ".svgz", whose name only begins like a drawing's; named anyway, it is tried as a picture.
  alerts_.clear();
  CMImportCommand::importURL(*document_, write("compressed.svgz", std::string("\x1f\x8b\x08\x00", 4) + "zip"));
  ASSERT_EQ(alerts_.size(), 1u);
  EXPECT_NE(alerts_.front().second.find("picture"), std::string::npos) << alerts_.front().second;
  EXPECT_EQ(platform::archivedDataWithRootObject(platform::Value(document_->data())), archived);
  // A drawing past the size an import reads, and a pipe named like a drawing, are refused unread.
  const std::filesystem::path huge = write("huge.svg", "<svg>");
  std::filesystem::resize_file(huge, kLargestImportFile + 1);
  const std::filesystem::path pipe = folder_ / "pipe.svg";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::filesystem::path& unreadable : {huge, pipe}) {
    alerts_.clear();
    CMImportCommand::importURL(*document_, unreadable);
    ASSERT_EQ(alerts_.size(), 1u) << unreadable;
    EXPECT_EQ(alerts_.front().first, "Error");
  }
  EXPECT_EQ(platform::archivedDataWithRootObject(platform::Value(document_->data())), archived);
  EXPECT_FALSE(document_->isDocumentEdited());
  // A drawing broken after its first shape: that shape is imported, and the alert names the line.
  alerts_.clear();
  importFile(write("broken.svg", "<svg>\n<rect width='5' height='5'/>\n<rect>\n</svg>"));
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return !alerts_.empty(); }, 3s));
  EXPECT_NE(alerts_.front().second.find("line 4"), std::string::npos) << alerts_.front().second;
  EXPECT_EQ(layers()->size(), 1u);
}

// CorelDRAW drawings: the converter program makes them SVG pages, and the reader's records are appended.
class CorelImportTest : public ImportDialogTest {
 protected:
  void SetUp() override {
    ImportDialogTest::SetUp();
    SKIP_WITHOUT_OUTSIDE_TEST_DATA(cdr_testing::kSamples);
    // The page holds the whole drawing: its size is left as it is.
    document_->data()->set("width", 600.0);
    document_->data()->set("height", 850.0);
    window->updateDocument();
    settle();
  }
  void TearDown() override {
    if (previousProgress_) {
      CMCDRConverterProcess::settings() = *previousSettings_;
      CMCDRConverterProcess::installProgress(*previousProgress_);
    }
    ImportDialogTest::TearDown();
  }

  // Conversions show the progress window and take a minute, unless cancelled.
  void convertSlowly() {
    previousProgress_ = CMCDRConverterProcess::installProgress(CMConversionProgressWindow::make);
    previousSettings_ = CMCDRConverterProcess::settings();
    const std::filesystem::path slow = folder_ / "slow.sh";
    std::ofstream(slow) << "#!/bin/sh\nexec sleep 60\n";
    std::filesystem::permissions(slow, std::filesystem::perms::owner_all);
    CMCDRConverterProcess::settings() = {slow, std::chrono::seconds(60)};
  }

 private:
  std::optional<CMConversionProgressFactory> previousProgress_;
  std::optional<CMCDRConverterSettings> previousSettings_;
};

TEST_F(CorelImportTest, ADrawingIsAddedAsOneGroupWithInkAndOneUndoTakesItBack) {
  int posted = 0;
  const platform::ObserverToken observer = platform::NotificationCenter::defaultCenter().addObserver(
      kNotificationLayersReCreate, [&](const auto&) { ++posted; }, static_cast<const CMDocument*>(document_.get()));
  const test::ImageSurface before = canvas();
  importFile(sample("sample-x4.cdr"));
  EXPECT_TRUE(alerts_.empty());
  ASSERT_EQ(layers()->size(), 1u);
  EXPECT_EQ(layers()->at(0).dictionary()->get("type").intValue(), 3);
  EXPECT_EQ(posted, 1);
  EXPECT_TRUE(document_->isDocumentEdited());
  EXPECT_EQ(document_->data()->get("width").doubleValue(), 600);
  EXPECT_EQ(document_->data()->get("height").doubleValue(), 850);
  const test::ImageSurface imported = canvas();
  const long inked = differingPixels(before, imported);
  EXPECT_GT(inked, 2000) << "the drawing shows on the canvas";
  EXPECT_TRUE(cdr_testing::conversionFolders().empty());

  pressKey(window->window().gtkWindow(), GDK_KEY_z, GDK_CONTROL_MASK);
  settle();
  EXPECT_TRUE(layers()->empty());
  EXPECT_EQ(differingPixels(before, canvas()), 0);
}

// A page smaller than the drawing grows to hold it, as it grows for the same drawing imported as SVG: the converter's
// own page, read through the SVG import into a second document of the same small page.
TEST_F(CorelImportTest, ASmallerPageGrowsToHoldTheDrawingAsForSVG) {
  document_->data()->set("width", 100.0);
  document_->data()->set("height", 80.0);
  window->updateDocument();
  settle();
  importFile(sample("sample-x4.cdr"));
  ASSERT_EQ(layers()->size(), 1u);
  const double width = document_->data()->get("width").doubleValue();
  const double height = document_->data()->get("height").doubleValue();
  EXPECT_TRUE(width > 100 || height > 80) << width << " × " << height;

  platform::testing::ScratchFolder conversion;
  const platform::Expected<platform::Bytes> page =
      CMCDRConverterProcess::convert(cdr_testing::kSamples / "sample-x4.cdr", conversion.path());
  ASSERT_TRUE(page) << page.error().description;
  CMDocument svg;
  svg.data()->set("width", 100.0);
  svg.data()->set("height", 80.0);
  ASSERT_FALSE(importSVGData(svg, page.value()).records->empty());
  EXPECT_EQ(width, svg.data()->get("width").doubleValue());
  EXPECT_EQ(height, svg.data()->get("height").doubleValue());

  // One undo takes the drawing and the growth back.
  pressKey(window->window().gtkWindow(), GDK_KEY_z, GDK_CONTROL_MASK);
  settle();
  EXPECT_TRUE(layers()->empty());
  EXPECT_EQ(document_->data()->get("width").doubleValue(), 100);
  EXPECT_EQ(document_->data()->get("height").doubleValue(), 80);
}

TEST_F(CorelImportTest, WhatIsNoReadableDrawingEndsInTheAlertAndChangesNothing) {
  const platform::Bytes archived = platform::archivedDataWithRootObject(platform::Value(document_->data()));
  const platform::Expected<platform::Bytes> sampleBytes = platform::readFile(cdr_testing::kSamples / "sample-x4.cdr");
  ASSERT_TRUE(sampleBytes.ok());
  const std::string bytes(sampleBytes.value().begin(), sampleBytes.value().end());
  std::vector<std::filesystem::path> files = {sample("unsupported-v23.cdr"), write("empty.cdr", ""),
                                              write("picture.cdr", "\x89PNG\r\n\x1a\n")};
  for (const int percent : {10, 50, 90}) {
    files.push_back(write("cut" + std::to_string(percent) + ".cdr", bytes.substr(0, bytes.size() * percent / 100)));
  }
  for (const std::filesystem::path& file : files) {
    alerts_.clear();
    importFile(file);
    ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return !alerts_.empty(); }, 10s)) << file;
    EXPECT_EQ(alerts_.front(), std::make_pair(std::string("Error"), std::string("Unsupported file format!")));
    EXPECT_EQ(platform::archivedDataWithRootObject(platform::Value(document_->data())), archived) << file;
    EXPECT_TRUE(cdr_testing::conversionFolders().empty());
  }
  EXPECT_FALSE(document_->isDocumentEdited());

  // A converter that hangs is stopped at its time limit, and the alert says so.
  const CMCDRConverterSettings previous = CMCDRConverterProcess::settings();
  const std::filesystem::path hanging = folder_ / "hanging.sh";
  std::ofstream(hanging) << "#!/bin/sh\nexec sleep 30\n";
  std::filesystem::permissions(hanging, std::filesystem::perms::owner_all);
  CMCDRConverterProcess::settings() = {hanging, std::chrono::milliseconds(300)};
  alerts_.clear();
  CMImportCommand::importURL(*document_, cdr_testing::kSamples / "sample-x4.cdr");
  CMCDRConverterProcess::settings() = previous;
  ASSERT_EQ(alerts_.size(), 1u);
  EXPECT_EQ(alerts_.front().second, "The CorelDRAW converter did not finish within 0.3 seconds and was stopped.");
  EXPECT_EQ(platform::archivedDataWithRootObject(platform::Value(document_->data())), archived);
}

// While a slow converter works, the import waits in a window that shows it working (its bar moves between two
// pictures of it); its Cancel button, clicked, or Escape, stops the converter at once, and the import ends without an
// alert or a change.
TEST_F(CorelImportTest, ASlowConversionShowsItWorksAndCancelStopsIt) {
  convertSlowly();
  const platform::Bytes archived = platform::archivedDataWithRootObject(platform::Value(document_->data()));
  for (const bool byEscape : {false, true}) {
    SCOPED_TRACE(byEscape ? "Escape" : "Cancel");
    alerts_.clear();
    long moved = 0;
    test::ImageSurface first;
    // Runs in the import's own wait: finds the window once drawn, pictures it twice, then cancels as a user does.
    sigc::connection user = Glib::signal_timeout().connect(
        [&] {
          auto* progress =
              shown<Gtk::Window>([](Gtk::Window& w) { return w.get_title() == "Import" && w.get_mapped(); });
          if (!progress) return true;
          if (!first) {
            first = test::renderWidget(*progress);
            return true;
          }
          moved = differingPixels(first, test::renderWidget(*progress));
          if (byEscape) {
            pressClosingKey(*progress, GDK_KEY_Escape);
          } else {
            test::clickButton(*dialog_testing::find<Gtk::Button>(progress));
          }
          return false;
        },
        300);
    const auto started = std::chrono::steady_clock::now();
    CMImportCommand::importURL(*document_, cdr_testing::kSamples / "sample-x4.cdr");
    user.disconnect();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    EXPECT_GT(moved, 0) << "the progress bar moves";
    settle();
    EXPECT_TRUE(alerts_.empty());
    EXPECT_FALSE(shown<Gtk::Window>([](Gtk::Window& w) { return w.get_title() == "Import"; }));
    EXPECT_EQ(platform::archivedDataWithRootObject(platform::Value(document_->data())), archived);
    EXPECT_TRUE(cdr_testing::conversionFolders().empty());
  }
}

// A conversion is a modal step from its start: a tool's key and a click on the palette, given before the progress
// window shows, reach no window (the main window would choose the tool meanwhile); once it shows, its Escape
// cancels.
TEST_F(CorelImportTest, WhatIsTypedOrClickedBeforeTheProgressShowsGoesNowhere) {
  convertSlowly();
  const int toolBefore = window->selectedTool();
  CMToolbarButton* rectangle = window->mainView()->toolsBar().buttonWithTag(kCMToolRectangle);
  ASSERT_NE(rectangle, nullptr);
  bool hiddenWhenPressed = false;
  // Runs in the import's wait: the key and the click at once, Escape once the window is drawn.
  sigc::connection early = Glib::signal_timeout().connect(
      [&] {
        hiddenWhenPressed = !shown<Gtk::Window>([](Gtk::Window& w) { return w.get_title() == "Import"; });
        pressKey(window->window().host(), GDK_KEY_r);
        test::clickButton(rectangle->gtkButton());
        return false;
      },
      50);
  sigc::connection user = Glib::signal_timeout().connect(
      [&] {
        auto* progress = shown<Gtk::Window>([](Gtk::Window& w) { return w.get_title() == "Import" && w.get_mapped(); });
        if (!progress) return true;
        pressClosingKey(*progress, GDK_KEY_Escape);
        return false;
      },
      100);
  CMImportCommand::importURL(*document_, cdr_testing::kSamples / "sample-x4.cdr");
  early.disconnect();
  user.disconnect();
  settle();
  EXPECT_TRUE(hiddenWhenPressed);
  EXPECT_EQ(window->selectedTool(), toolBefore) << "the key and the click chose no tool";
  EXPECT_TRUE(alerts_.empty());
  EXPECT_TRUE(layers()->empty());
  // Afterwards the main window takes its keys again.
  pressKey(window->window().host(), GDK_KEY_r);
  settle();
  EXPECT_EQ(window->selectedTool(), kCMToolRectangle);
}

TEST_F(CorelImportTest, FileOpenShowsTheDrawingOrSaysItCannot) {
  const auto previousReader =
      CMCorelDrawReadServiceFactory::install([] { return std::make_unique<CMCorelDrawReader>(); });
  const std::size_t before = documents->documents().size();
  importFile(write("broken.cdr", "RIFF and nothing more"), "Open");
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return !alerts_.empty(); }, 10s));
  EXPECT_EQ(alerts_.front().first, "Error");
  EXPECT_THAT(alerts_.front().second, ::testing::EndsWith("Unsupported file format!"));
  EXPECT_EQ(documents->documents().size(), before);

  alerts_.clear();
  const test::ImageSurface empty = canvas();
  importFile(sample("sample-x4.cdr"), "Open");
  EXPECT_TRUE(alerts_.empty());
  ASSERT_EQ(documents->documents().size(), before + 1);
  const auto opened = std::dynamic_pointer_cast<CMCDRDocument>(documents->documents().back());
  ASSERT_TRUE(opened);
  ASSERT_EQ(opened->data()->array("layers")->size(), 1u);
  EXPECT_FALSE(opened->isDocumentEdited());
  EXPECT_GT(differingPixels(empty, canvas()), 2000) << "the opened drawing is shown";
  EXPECT_TRUE(cdr_testing::conversionFolders().empty());
  CMCorelDrawReadServiceFactory::install(previousReader);
}

}  // namespace
