// Adding a copy of a record the caller holds (a library shape) to a document.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "document/CMBaseDocument.h"
#include "document/CMUndoActionType.h"
#include "document_test_support.h"
#include "laid_out_text.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/keyed_archive.h"

namespace {

using document_testing::layer;
using document_testing::ObservedModel;
using document_testing::rootWith;
using platform::Array;
using platform::Dictionary;
using platform::DictRef;

DictRef corner(std::int32_t id, platform::Point point, std::int32_t type) {
  return Dictionary::make({{"id", id}, {"point", platform::stringFromPoint(point)}, {"type", type}});
}

// A library rectangle of 60 × 40 whose own size keys are as given.
DictRef libraryRectangle(double width, double height) {
  DictRef shape = Dictionary::make({{"points", Array::make({corner(1, {0, 0}, 1), corner(2, {0, 40}, 2),
                                                            corner(3, {60, 40}, 2), corner(4, {60, 0}, 10)})}});
  return Dictionary::make({{"type", 0},
                           {"shape_type", 0},
                           {"shape", shape},
                           {"id", 77},
                           {"position", 77},
                           {"width", width},
                           {"height", height}});
}

class LibraryAddTest : public ::testing::Test {
 protected:
  void SetUp() override {
    document_.setData(rootWith({layer(1, 1), layer(2, 5)}));
    document_.findMaxID();
    model_.clear();
  }

  platform::ArrayRef root() const { return document_.data()->array("layers"); }
  DictRef lastUndo() const { return document_.undoManager().undoStack().back(); }
  void expectAddedQuietly() {
    EXPECT_TRUE(model_.posted.empty());
    EXPECT_EQ(model_.window().editorUpdates, 0);
  }

  document_testing::ScratchFolders folders_;
  ObservedModel model_;
  CMBaseDocument document_;
};

TEST_F(LibraryAddTest, ARecordWithoutASizeIsMeasuredAndCentredBothWays) {
  const DictRef added = document_.addObjectWithData(libraryRectangle(0, 0), {200, 300}, true);
  ASSERT_NE(added, nullptr);
  EXPECT_TRUE(added->get("width").isReal32());
  EXPECT_EQ(added->get("width").doubleValue(), 60);
  EXPECT_EQ(added->get("height").doubleValue(), 40);
  EXPECT_EQ(added->get("x").doubleValue(), 170);
  EXPECT_EQ(added->get("y").doubleValue(), 280);
  EXPECT_TRUE(added->get("x").isReal32());
  EXPECT_EQ(added->get("id").integerValue(), 3);
  EXPECT_EQ(added->get("position").integerValue(), 6);
  ASSERT_EQ(root()->size(), 3u);
  EXPECT_EQ(root()->last().dictionary(), added);
  EXPECT_EQ(lastUndo()->get("type").integerValue(), kCMUndoAdding);
  EXPECT_EQ(lastUndo()->dictionary("data")->get("id").integerValue(), 3);
  expectAddedQuietly();
}

TEST_F(LibraryAddTest, ATextWithoutASizeIsMeasuredByItsLaidOutText) {
  const DictRef text = Dictionary::make(
      {{"type", 2},
       {"text", "Pocket"},
       {"style", Dictionary::make({{"fontName", "DejaVu Sans"}, {"fontSize", 30.0f}})},
       {"width", 0},
       {"height", 0}});
  const DictRef added = document_.addObjectWithData(text, {200, 300}, true);
  const document_testing::LaidOutText laidOut = document_testing::layOut("Pocket", "DejaVu Sans", 30);
  EXPECT_NEAR(added->get("width").doubleValue(), laidOut.width, 0.5);
  EXPECT_NEAR(added->get("height").doubleValue(), laidOut.height, 0.5);
  EXPECT_NEAR(added->get("x").doubleValue(), 200 - laidOut.width / 2, 0.5) << "centred on the drop";
  EXPECT_NEAR(added->get("y").doubleValue(), 300 - laidOut.height / 2, 0.5);
}

TEST_F(LibraryAddTest, ARecordWithOnlyOneSideMissingIsMeasuredToo) {
  const DictRef added = document_.addObjectWithData(libraryRectangle(500, 0), {0, 0}, false);
  EXPECT_EQ(added->get("width").doubleValue(), 60);
  EXPECT_EQ(added->get("height").doubleValue(), 40);
  EXPECT_EQ(added->get("x").doubleValue(), -30);
  EXPECT_EQ(added->get("y").doubleValue(), -20);
}

TEST_F(LibraryAddTest, ARecordWithASizeIsCentredBothWaysWhateverTheFlag) {
  for (bool centred : {true, false}) {
    const DictRef added = document_.addObjectWithData(libraryRectangle(80, 50), {200, 300}, centred);
    EXPECT_EQ(added->get("width").doubleValue(), 80);
    EXPECT_EQ(added->get("height").doubleValue(), 50);
    EXPECT_EQ(added->get("x").doubleValue(), 160);
    EXPECT_EQ(added->get("y").doubleValue(), 275);
  }
}

TEST_F(LibraryAddTest, TwoAddsGiveTwoLayersAndLeaveTheCallersRecordAsItWas) {
  // No point records and a rounded corner: measuring writes defaults into the record it measures.
  DictRef library = libraryRectangle(0, 0);
  library->dictionary("shape")->remove("points");
  library->dictionary("shape")->set("round", true);
  const DictRef before = platform::dictionaryCopy(library);
  const platform::Bytes archived = platform::archivedDataWithRootObject(library);

  const DictRef first = document_.addObjectWithData(library, {100, 100}, true);
  const DictRef second = document_.addObjectWithData(library, {100, 100}, true);
  EXPECT_NE(first, second);
  EXPECT_NE(first->get("id").integerValue(), second->get("id").integerValue());
  EXPECT_NE(first->get("position").integerValue(), second->get("position").integerValue());
  EXPECT_NE(first->dictionary("shape"), library->dictionary("shape"));
  EXPECT_EQ(root()->size(), 4u);
  EXPECT_EQ(document_.undoManager().undoCount(), 2u);

  EXPECT_TRUE(library->isEqual(*before));
  EXPECT_EQ(platform::archivedDataWithRootObject(library), archived);
  EXPECT_FALSE(library->dictionary("shape")->contains("points"));
  EXPECT_FALSE(library->dictionary("shape")->contains("round_width"));
}

TEST_F(LibraryAddTest, ARecordWithoutAShapeTypeMeasuresAsARectangle) {
  DictRef library = libraryRectangle(0, 0);
  library->remove("shape_type");
  const DictRef added = document_.addObjectWithData(library, {0, 0}, true);
  EXPECT_EQ(added->get("width").doubleValue(), 60);
  EXPECT_EQ(added->get("height").doubleValue(), 40);
}

TEST_F(LibraryAddTest, NonFiniteSizesNeverReachTheDocument) {
  DictRef library = libraryRectangle(std::numeric_limits<double>::quiet_NaN(), 10);
  const DictRef added = document_.addObjectWithData(library, {50, 50}, true);
  EXPECT_EQ(added->get("x").doubleValue(), 0);
  EXPECT_EQ(added->get("y").doubleValue(), 45);
}

TEST_F(LibraryAddTest, AddingAtAPointPlacesTheOriginThereWithoutMeasuring) {
  DictRef library = libraryRectangle(0, 0);
  const DictRef before = platform::dictionaryCopy(library);
  const DictRef added = document_.addObjectWithData(library, {12.5, -7});
  EXPECT_EQ(added->get("x").doubleValue(), 12.5);
  EXPECT_EQ(added->get("y").doubleValue(), -7);
  EXPECT_EQ(added->get("width").doubleValue(), 0);
  EXPECT_EQ(added->get("id").integerValue(), 3);
  EXPECT_EQ(added->get("position").integerValue(), 6);
  EXPECT_EQ(root()->last().dictionary(), added);
  EXPECT_EQ(lastUndo()->get("type").integerValue(), kCMUndoAdding);
  EXPECT_TRUE(library->isEqual(*before));
  expectAddedQuietly();
}

TEST_F(LibraryAddTest, NoRecordAddsNothing) {
  EXPECT_EQ(document_.addObjectWithData(nullptr, {0, 0}, true), nullptr);
  EXPECT_EQ(document_.addObjectWithData(nullptr, {0, 0}), nullptr);
  EXPECT_EQ(root()->size(), 2u);
  EXPECT_FALSE(document_.undoManager().canUndo());
}

}  // namespace
