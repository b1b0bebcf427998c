// The PNG output format: the page rendered at its own size and the right way up, transparent where the page is, and
// refused, before anything is allocated, when the page size is unusable.

#include "io/export/CMPNGOutputFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "document/CMCaches.h"
#include "document/CMDocument.h"
#include "document_test_support.h"
#include "export_test_support.h"

namespace {

using export_testing::addLayer;
using export_testing::DecodedPng;
using export_testing::isOpaque;
using export_testing::rectangleRecord;
using export_testing::setPage;
using platform::Value;

class PNGOutputFormatTest : public ::testing::Test {
 protected:
  PNGOutputFormatTest() { CMCaches::sharedCaches().clean(); }
  ~PNGOutputFormatTest() override { CMCaches::sharedCaches().clean(); }

  platform::Expected<platform::Bytes> render() {
    CMPNGOutputFormat format;
    return format.generate(document_);
  }
  std::optional<DecodedPng> renderAndDecode() {
    platform::Expected<platform::Bytes> png = render();
    if (!png) {
      ADD_FAILURE() << png.error().description;
      return std::nullopt;
    }
    return DecodedPng::read(png.value());
  }

  // A 300 × 200 page with a red 100 × 50 rectangle 40 from the left and 30 from the top.
  void redRectanglePage(int pageAlpha) {
    setPage(document_, 300, 200, 255, 255, 255, pageAlpha);
    addLayer(document_, rectangleRecord(1, {40, 30, 100, 50}, 255, 0, 0));
  }

  // Red inside (40, 30)–(140, 80), nothing of it anywhere else, in particular not mirrored to the bottom.
  static void expectRedRectangle(const DecodedPng& image, int pageAlpha) {
    ASSERT_EQ(image.width(), 300);
    ASSERT_EQ(image.height(), 200);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{90, 55}, {41, 31}, {138, 31}, {41, 78}, {138, 78}}) {
      EXPECT_TRUE(isOpaque(image.at(x, y), 255, 0, 0)) << x << ", " << y;
    }
    for (auto [x, y] : std::vector<std::pair<int, int>>{{38, 55}, {142, 55}, {90, 28}, {90, 82}, {90, 145}, {0, 0},
                                                         {299, 199}, {250, 100}}) {
      const export_testing::Pixel pixel = image.at(x, y);
      EXPECT_EQ(pixel.a, pageAlpha) << x << ", " << y;
      if (pageAlpha == 255) {
        EXPECT_TRUE(isOpaque(pixel, 255, 255, 255)) << x << ", " << y;
      }
    }
  }

  document_testing::ScratchFolders folders_;
  CMDocument document_;
};

TEST_F(PNGOutputFormatTest, WritesAPngFileOfThePageSize) {
  redRectanglePage(255);
  platform::Expected<platform::Bytes> png = render();
  ASSERT_TRUE(png.ok()) << png.error().description;
  const platform::Bytes& bytes = png.value();
  ASSERT_GT(bytes.size(), 24u);
  const platform::Bytes signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), bytes.begin()));
  // The header chunk comes first: big-endian width and height at bytes 16 and 20.
  auto bigEndian = [&bytes](std::size_t at) {
    return (bytes[at] << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) | bytes[at + 3];
  };
  EXPECT_EQ(bigEndian(16), 300);
  EXPECT_EQ(bigEndian(20), 200);
}

TEST_F(PNGOutputFormatTest, RecordsAreDrawnFromTheTopOfTheImageOnThePageColour) {
  redRectanglePage(255);
  std::optional<DecodedPng> image = renderAndDecode();
  ASSERT_TRUE(image);
  expectRedRectangle(*image, 255);
}

TEST_F(PNGOutputFormatTest, ATransparentPageStaysTransparent) {
  redRectanglePage(0);
  std::optional<DecodedPng> image = renderAndDecode();
  ASSERT_TRUE(image);
  expectRedRectangle(*image, 0);
}

TEST_F(PNGOutputFormatTest, ATranslucentPageColourKeepsItsAlpha) {
  setPage(document_, 40, 30, 0, 0, 255, 102);  // 40 % blue
  std::optional<DecodedPng> image = renderAndDecode();
  ASSERT_TRUE(image);
  const export_testing::Pixel pixel = image->at(20, 15);
  EXPECT_NEAR(pixel.a, 102, 1);
  EXPECT_NEAR(pixel.b, 102, 1);  // premultiplied
  EXPECT_EQ(pixel.r, 0);
  EXPECT_EQ(pixel.g, 0);
}

TEST_F(PNGOutputFormatTest, TheDocumentZoomDoesNotScaleThePage) {
  redRectanglePage(255);
  document_.data()->set("zoom", 3.0);
  std::optional<DecodedPng> image = renderAndDecode();
  ASSERT_TRUE(image);
  expectRedRectangle(*image, 255);
}

TEST_F(PNGOutputFormatTest, HiddenLayersAndTheOffPagePartsOfLayersAreLeftOut) {
  setPage(document_, 300, 200, 255, 255, 255, 255);
  addLayer(document_, rectangleRecord(1, {250, 150, 100, 100}, 255, 0, 0));
  platform::DictRef hidden = rectangleRecord(2, {10, 10, 50, 50}, 0, 0, 255);
  hidden->set("visible", false);
  addLayer(document_, hidden);
  std::optional<DecodedPng> image = renderAndDecode();
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width(), 300);
  ASSERT_EQ(image->height(), 200);
  EXPECT_TRUE(isOpaque(image->at(299, 199), 255, 0, 0));
  EXPECT_TRUE(isOpaque(image->at(252, 152), 255, 0, 0));
  EXPECT_TRUE(isOpaque(image->at(248, 190), 255, 255, 255));
  EXPECT_TRUE(isOpaque(image->at(35, 35), 255, 255, 255));
}

TEST_F(PNGOutputFormatTest, AnEmptyDocumentGivesABlankPageOfItsSize) {
  setPage(document_, 123, 45, 0, 128, 0, 255);
  std::optional<DecodedPng> image = renderAndDecode();
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width(), 123);
  ASSERT_EQ(image->height(), 45);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {122, 0}, {0, 44}, {122, 44}, {61, 22}}) {
    EXPECT_TRUE(isOpaque(image->at(x, y), 0, 128, 0)) << x << ", " << y;
  }
}

TEST_F(PNGOutputFormatTest, ANewDocumentGivesItsDefaultPage) {
  std::optional<DecodedPng> image = renderAndDecode();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 800);
  EXPECT_EQ(image->height(), 600);
  EXPECT_TRUE(isOpaque(image->at(400, 300), 255, 255, 255));
}

TEST_F(PNGOutputFormatTest, AFractionalPageSizeIsRoundedUpToWholePixels) {
  setPage(document_, 10.25, 20.5, 0, 0, 0, 255);
  std::optional<DecodedPng> image = renderAndDecode();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 11);
  EXPECT_EQ(image->height(), 21);

  setPage(document_, 0.25, 3, 0, 0, 0, 255);
  image = renderAndDecode();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 1);
  EXPECT_EQ(image->height(), 3);
}

TEST_F(PNGOutputFormatTest, AnUnusablePageSizeIsAnError) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<Value, Value>> sizes{
      {0, 200},     {300, 0},      {-300, 200},      {300, -0.5},         {1e9, 200},  {300, 1e9}, {1e9, 1e9},
      {40000, 10},  {10, 40000},   {20000, 20000},   {nan, 200},          {infinity, 200},
      {"wide", 200}, {Value(), 200}, {-1e300, -1e300}};
  for (const auto& [width, height] : sizes) {
    setPage(document_, width, height, 255, 255, 255, 255);
    EXPECT_FALSE(render().ok()) << width.doubleValue() << " × " << height.doubleValue();
  }
  document_.data()->remove("width");
  EXPECT_FALSE(render().ok()) << "no width";
}

TEST_F(PNGOutputFormatTest, TheFormatDoesNotKeepItsDocument) {
  auto owned = std::make_shared<CMDocument>();
  setPage(*owned, 20, 20, 255, 255, 255, 255);
  CMPNGOutputFormat format;
  ASSERT_TRUE(format.generate(*owned).ok());
  EXPECT_EQ(owned.use_count(), 1);
}

}  // namespace
