// The five samples from the File menu and the templates window: each opens with its layers; opened again, an
// edited copy is asked about first; a missing sample says so; from the templates window a sample becomes an
// untitled document and its file stays as it was. Each is a flat sketch of Bezier outlines in three weights with
// dashed topstitching and fills; the shirts render symmetric about their centre.

#include <gtest/gtest.h>

#include <gdkmm/pixbufloader.h>

#include <cmath>
#include <cstdlib>
#include <set>

#include "app/CMDocumentOpening.h"
#include "app/CMTemplatesWindowController.h"
#include "document/CMDocument.h"
#include "document/CMPointTypes.h"
#include "io/export/CMPNGOutputFormat.h"
#include "platform/core/files.h"
#include "platform/core/resources.h"
#include "shell_fixture.h"

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

TEST_F(Samples, EachOpensWithItsLayers) {
  for (std::size_t index = 0; index < std::size(CMApplicationCommands::kSampleNames); ++index) {
    platform::MenuItem* entry = sampleItem(CMApplicationCommands::kSampleTitles[index]);
    ASSERT_NE(entry, nullptr) << index;
    entry->perform();
    settle();
    const auto drawing = window->drawing();
    ASSERT_NE(drawing, nullptr) << index;
    EXPECT_EQ(drawing->fileURL().filename(), std::string(CMApplicationCommands::kSampleNames[index]) + ".vard");
    EXPECT_GE(drawing->data()->get("layers").array()->size(), 3u) << index;
  }
  EXPECT_EQ(documents->documents().size(), 5u);
}

TEST_F(Samples, AnEditedOpenSampleIsAskedAboutBeforeItOpensAfresh) {
  delegate->loadSample("shirt1");
  settle();
  auto first = window->drawing();
  ASSERT_NE(first, nullptr);
  const std::size_t layers = first->data()->get("layers").array()->size();
  first->addObject("rect", {5, 5});
  delegate->loadSample("shirt1");
  settle();
  ASSERT_TRUE(answerAlert(2));  // Cancel: the edited copy stays
  EXPECT_EQ(window->drawing(), first);
  delegate->loadSample("shirt1");
  settle();
  ASSERT_TRUE(answerAlert(1));  // Don't Save
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  EXPECT_NE(window->drawing(), first);
  EXPECT_EQ(window->drawing()->data()->get("layers").array()->size(), layers);
}

TEST_F(Samples, AMissingSampleSaysSo) {
  delegate->loadSample("noSuchSample");
  settle();
  EXPECT_EQ(alertText(), "Error: File does not exist!");
  ASSERT_TRUE(answerAlert(0));
  EXPECT_TRUE(documents->documents().empty());
}

TEST_F(Samples, FromTheTemplatesWindowASampleBecomesAnUntitledDocument) {
  const std::filesystem::path file = platform::pathForResource("floraldesign", "vard", "Samples");
  ASSERT_FALSE(file.empty());
  const platform::Expected<platform::Bytes> before = platform::readFile(file);
  ASSERT_TRUE(before.ok());
  CMTemplatesWindowController templates;
  templates.loadSample("floraldesign");
  settle();
  ASSERT_EQ(documents->documents().size(), 1u);
  const auto drawing = window->drawing();
  EXPECT_TRUE(drawing->fileURL().empty());
  EXPECT_GE(drawing->data()->get("layers").array()->size(), 3u);
  drawing->addObject("rect", {5, 5});
  EXPECT_EQ(platform::readFile(file).value(), before.value());
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
