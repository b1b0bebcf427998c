// The document's print and save-as-template commands with the real PNG output installed: both get the page image.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "document/CMCaches.h"
#include "document/CMDocument.h"
#include "document/CMImportExportServices.h"
#include "document/CMProject.h"
#include "document_test_support.h"
#include "export_test_support.h"
#include "io/export/CMPNGOutputFormat.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"

namespace {

using export_testing::DecodedPng;
using export_testing::isOpaque;

class PageImageCommandsTest : public ::testing::Test {
 protected:
  PageImageCommandsTest() {
    CMCaches::sharedCaches().clean();
    export_testing::setPage(document_, 300, 200, 255, 255, 255, 255);
    export_testing::addLayer(document_, export_testing::rectangleRecord(1, {200, 20, 60, 40}, 255, 0, 0));
  }
  ~PageImageCommandsTest() override {
    CMPageImageServiceFactory::install(previous_);
    CMCaches::sharedCaches().clean();
  }

  // The page: 300 × 200, red inside (200, 20)–(260, 60) only.
  static void expectPage(const DecodedPng& image) {
    ASSERT_EQ(image.width(), 300);
    ASSERT_EQ(image.height(), 200);
    EXPECT_TRUE(isOpaque(image.at(230, 40), 255, 0, 0));
    EXPECT_TRUE(isOpaque(image.at(230, 160), 255, 255, 255));
    EXPECT_TRUE(isOpaque(image.at(70, 40), 255, 255, 255));
  }

  document_testing::ScratchFolders folders_;
  CMDocument document_;

 private:
  CMPageImageServiceFactory::Factory previous_ =
      CMPageImageServiceFactory::install([] { return std::make_unique<CMPNGOutputFormat>(); });
};

TEST_F(PageImageCommandsTest, PrintImageIsThePageAsPng) {
  platform::Expected<platform::Bytes> png = document_.printImage();
  ASSERT_TRUE(png.ok()) << png.error().description;
  std::optional<DecodedPng> image = DecodedPng::read(png.value());
  ASSERT_TRUE(image);
  expectPage(*image);
}

TEST_F(PageImageCommandsTest, PrintImageOfAnAbsurdPageIsAnError) {
  document_.data()->set("width", 1e9);
  EXPECT_FALSE(document_.printImage().ok());
}

TEST_F(PageImageCommandsTest, SaveAsTemplateWritesThePageAsItsThumbnail) {
  document_.OnSaveAsTemplate();
  platform::Expected<platform::Bytes> store = platform::readFile(CMProject::appFilePath(CMDocument::kTemplateStoreName));
  ASSERT_TRUE(store.ok());
  platform::Expected<platform::Value> templates = platform::unarchiveObjectWithData(store.value());
  ASSERT_TRUE(templates.ok());
  ASSERT_TRUE(templates.value().isArray());
  ASSERT_EQ(templates.value().array()->size(), 1u);
  const std::string imageName = templates.value().array()->at(0).dictionary()->get("imagefilename").string();
  platform::Expected<platform::Bytes> thumbnail = platform::readFile(CMProject::appFilePath(imageName));
  ASSERT_TRUE(thumbnail.ok()) << imageName;
  std::optional<DecodedPng> image = DecodedPng::read(thumbnail.value());
  ASSERT_TRUE(image);
  expectPage(*image);
}

}  // namespace
