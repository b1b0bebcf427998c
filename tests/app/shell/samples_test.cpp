// The five samples from the File menu, the welcome tour and the templates window: each becomes an untitled
// document with the sample's layers, so Save asks for a file of the user's own and the installed sample stays as it
// was; a missing sample says so. Each is a flat sketch of Bezier outlines in three weights with dashed topstitching
// and fills; the shirts render symmetric about their centre.

#include <gtest/gtest.h>

#include <gdkmm/pixbufloader.h>
#include <gtkmm/filechooserdialog.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>
#include <tuple>

#include "app/CMDocumentOpening.h"
#include "app/CMTemplatesWindowController.h"
#include "document/CMDocument.h"
#include "document/CMPointTypes.h"
#include "io/export/CMPNGOutputFormat.h"
#include "platform/core/files.h"
#include "platform/core/resources.h"
#include "platform/ui/recent_documents.h"
#include "../../platform/core/scratch_folder.h"
#include "app/HUDWindow.h"
#include "shell_fixture.h"
#include "ui_test_harness.h"

namespace shell_testing {
namespace {

class Samples : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    delegate->setOpener([](const std::filesystem::path& path) { openFileDisplayed(path); });
  }

  platform::MenuItem* sampleItem(const std::string& title) const {
    for (const auto& submenu : menuTitled("File")->submenus())
      for (const auto& entry : submenu->items())
        if (entry->title() == title) return entry.get();
    return nullptr;
  }
};

TEST_F(Samples, EachOpensAsAnUntitledCopyWithItsLayers) {
  for (std::size_t index = 0; index < std::size(CMApplicationCommands::kSampleNames); ++index) {
    platform::MenuItem* entry = sampleItem(CMApplicationCommands::kSampleTitles[index]);
    ASSERT_NE(entry, nullptr) << index;
    entry->perform();
    settle();
    const auto drawing = window->drawing();
    ASSERT_NE(drawing, nullptr) << index;
    EXPECT_TRUE(drawing->fileURL().empty()) << index;
    EXPECT_GE(drawing->data()->get("layers").array()->size(), 3u) << index;
  }
  EXPECT_EQ(documents->documents().size(), 5u);
}

// Each way to a sample, drawn on and saved: the save panel asks for a file, the installed sample keeps its bytes.
TEST_F(Samples, SavingASampleNeverWritesTheInstalledFile) {
  const std::filesystem::path file = platform::pathForResource("manshirtback", "vard", "Samples");
  ASSERT_FALSE(file.empty());
  const platform::Expected<platform::Bytes> before = platform::readFile(file);
  ASSERT_TRUE(before.ok());
  CMTemplatesWindowController templates;
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"File \u25B8 Samples", [this] { sampleItem("Man's Shirt, Back")->perform(); }},
      {"the welcome tour",
       [this] {
         ASSERT_TRUE(platform::test::showAndSettle(delegate->tourWindow().window()));
         HUDButtonCell* button = delegate->tourButton("Man's Shirt, Back");
         ASSERT_NE(button, nullptr);
         const platform::Rect frame = button->frame();
         platform::test::injectButton(button->widget(), GDK_BUTTON_PRESS, 1, frame.size.width / 2, frame.size.height / 2);
         platform::test::injectButton(button->widget(), GDK_BUTTON_RELEASE, 1, frame.size.width / 2,
                                      frame.size.height / 2);
       }},
      {"the templates window", [&templates] { templates.loadSample("manshirtback"); }},
      {"a second time from the menu", [this] { sampleItem("Man's Shirt, Back")->perform(); }},
  };
  std::size_t made = 0;
  for (const auto& [way, open] : ways) {
    open();
    settle();
    ASSERT_EQ(documents->documents().size(), ++made) << way;
    const auto drawing = window->drawing();
    ASSERT_NE(drawing, nullptr) << way;
    EXPECT_TRUE(drawing->fileURL().empty()) << way;
    EXPECT_GE(drawing->data()->get("layers").array()->size(), 3u) << way;
    drawing->addObject("rect", {5, 5});
    item("File", "Save")->perform();
    settle();
    ASSERT_NE(window->dialogs().currentFilePanel(), nullptr) << way;
    window->dialogs().currentFilePanel()->dialog()->response(Gtk::RESPONSE_CANCEL);
    settle();
    EXPECT_TRUE(drawing->isDocumentEdited()) << way;
    EXPECT_EQ(platform::readFile(file).value(), before.value()) << way;
  }
}

// The tour's buttons that bring a drawing up, clicked with real events: the tour goes once the drawing is there,
// and stays beside the alert of a last drawing whose file is gone.
TEST_F(Samples, TheTourGoesOnceItsButtonBroughtADrawing) {
  platform::testing::ScratchFolder folder;
  const std::tuple<const char*, const char*, bool> rows[] = {
      {"Man's Shirt, Back", "Last.vard", false}, {"Open Last Document", "Last.vard", false},
      {"Open Last Document", "Gone.vard", true}};
  for (const auto& [title, last, tourStays] : rows) {
    SCOPED_TRACE(std::string(title) + " " + last);
    ASSERT_TRUE(CMDocument().writeToURL(folder / last, CMDocument::kFileType));
    if (tourStays) std::filesystem::remove(folder / last);
    platform::RecentDocuments::noteNewRecentDocumentURL(folder / last);
    ASSERT_TRUE(platform::iterateMainLoopUntil(
        [&] { return platform::RecentDocuments::recentDocumentURLs().front() == folder / last; }, 3s));
    const std::size_t before = documents->documents().size();
    ASSERT_TRUE(platform::test::showAndSettle(delegate->tourWindow().window()));
    HUDButtonCell* button = delegate->tourButton(title);
    for (const GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE})
      platform::test::injectButton(button->widget(), type, 1, button->frame().size.width / 2, 5);
    settle();
    EXPECT_EQ(delegate->tourWindow().window().gtkWindow().get_mapped(), tourStays);
    EXPECT_EQ(documents->documents().size(), before + (tourStays ? 0 : 1));
    if (tourStays) {
      EXPECT_TRUE(alertText().starts_with("Error") && answerAlert(0));
    }
  }
}

TEST_F(Samples, AMissingSampleSaysSo) {
  delegate->loadSample("noSuchSample");
  settle();
  EXPECT_EQ(alertText(), "Error: File does not exist!");
  ASSERT_TRUE(answerAlert(0));
  EXPECT_TRUE(documents->documents().empty());
}

// The sample's drawing, read from its file as the program reads a document.
std::shared_ptr<CMDocument> sampleDocument(const std::string& name) {
  const std::filesystem::path path = platform::pathForResource(name, "vard", "Samples");
  const platform::Expected<platform::Bytes> bytes = platform::readFile(path);
  if (!bytes) return nullptr;
  auto document = std::make_shared<CMDocument>();
  return document->readFromData(bytes.value(), CMDocument::kFileType).ok() ? document : nullptr;
}

TEST(SampleDrawings, EachIsAFlatSketchOfBezierOutlinesSeamsAndStitching) {
  for (const char* name : CMApplicationCommands::kSampleNames) {
    const auto document = sampleDocument(name);
    ASSERT_NE(document, nullptr) << name;
    std::set<float> widths;
    int dashed = 0, filled = 0, curved = 0;
    const platform::ArrayRef layers = document->data()->array("layers");
    for (const platform::Value& entry : *layers) {
      const platform::DictRef shape = entry.dictionary()->dictionary("shape");
      ASSERT_NE(shape, nullptr) << name;
      const platform::DictRef stroke = shape->dictionary("stroke");
      widths.insert(stroke->get("lineWidth").floatValue());
      dashed += stroke->get("dashStyle").intValue() == 1;
      filled += shape->dictionary("fill")->get("use").boolValue();
      for (const platform::Value& point : *shape->array("points"))
        curved += (point.dictionary()->get("type").integerValue() & kCMPointCurve) != 0;
    }
    EXPECT_EQ(widths, (std::set<float>{0.5f, 0.75f, 1.75f})) << name;
    EXPECT_GE(dashed, 2) << name;
    EXPECT_GE(filled, 3) << name;
    EXPECT_GE(curved, 10) << name;
  }
}

TEST(SampleDrawings, TheShirtsAreSymmetricAndInked) {
  for (const char* name : {"manshirtback", "shirt1"}) {
    const auto document = sampleDocument(name);
    ASSERT_NE(document, nullptr) << name;
    CMPNGOutputFormat format;
    const platform::Expected<platform::Bytes> png = format.generate(*document);
    ASSERT_TRUE(png.ok()) << name;
    auto loader = Gdk::PixbufLoader::create();
    loader->write(png.value().data(), png.value().size());
    loader->close();
    const Glib::RefPtr<Gdk::Pixbuf> page = loader->get_pixbuf();
    ASSERT_EQ(page->get_width(), 600) << name;
    const auto grey = [&page](int x, int y) {
      const guint8* pixel = page->get_pixels() + y * page->get_rowstride() + x * page->get_n_channels();
      return (pixel[0] + pixel[1] + pixel[2]) / 3;
    };
    // The centre line is x = 300: column x mirrors column 599 - x. Dash phases may differ a little between the
    // two sides, nothing else may.
    int inked = 0, outline = 0, unlike = 0;
    for (int y = 0; y < page->get_height(); ++y)
      for (int x = 0; x < 300; ++x) {
        inked += grey(x, y) < 250;
        outline += grey(x, y) < 100;
        unlike += std::abs(grey(x, y) - grey(599 - x, y)) > 64;
      }
    const int half = 300 * page->get_height();
    EXPECT_GT(inked, half / 5) << name;  // a garment, not a few marks
    EXPECT_GT(outline, 1000) << name;    // drawn in dark lines
    EXPECT_LT(unlike, half / 500) << name;
  }
}

}  // namespace
}  // namespace shell_testing
