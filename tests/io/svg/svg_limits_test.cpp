// What a file may take of the program: imported records held once and a file past the memory budget refused whole;
// shapes deep in nested groups each holding one composed transform; text bounded per element and per file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CMDocument.h"
#include "document_test_support.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/geometry_strings.h"
#include "svg_test_support.h"

namespace {

using platform::DictRef;
using svg_testing::bytesOf;
using svg_testing::parse;
using svg_testing::shapesOf;

class SVGLimits : public ::testing::Test {
 protected:
  document_testing::ScratchFolders folders_;
  CMDocument document_;
};

// The shape records under the records, in document order.
void collectShapes(const platform::ArrayRef& records, std::vector<DictRef>& shapes) {
  for (const platform::Value& entry : *records) {
    const DictRef record = entry.dictionary();
    if (record->get("type").intValue() == 3) {
      collectShapes(record->array("items"), shapes);
    } else {
      shapes.push_back(record);
    }
  }
}

TEST_F(SVGLimits, RecordsAreHeldOnceAndAFilePastTheBudgetIsRefusedWhole) {
  std::string svg = "<svg>";
  for (int i = 0; i < 50; ++i) svg += "<rect x='" + std::to_string(i) + "' width='1' height='1'/>";
  // Broken XML at the end: a refused file is not read that far.
  const platform::Bytes data = bytesOf(svg + "</g></svg>");
  // Rectangles the text does not show, made by an entity ("&#60;" is "<"): they count as they are made.
  std::string made = "<!DOCTYPE svg [<!ENTITY r '&#60;rect width=\"1\" height=\"1\"/>'>]><svg>";
  for (int i = 0; i < 50; ++i) made += "&r;";
  struct Case {
    const char* name;
    platform::Bytes data;
    std::uint64_t budget;
  };
  for (const Case& test : {Case{"rectangles in the text", data, 0}, Case{"rectangles from an entity",
                                                                        bytesOf(made + "</g></svg>"), 1}}) {
    SCOPED_TRACE(test.name);
    const CMSVGImport refused = importSVGData(document_, test.data, test.budget);
    EXPECT_NE(refused.refusal.find("too large to import"), std::string::npos) << refused.refusal;
    EXPECT_TRUE(refused.records->empty());
    EXPECT_FALSE(refused.failure.has_value());
    EXPECT_TRUE(document_.data()->array("layers")->empty());
    EXPECT_FALSE(document_.undoManager().canUndo());
  }

  const CMSVGImport imported = importSVGData(document_, data, std::uint64_t{1} << 30);
  EXPECT_TRUE(imported.refusal.empty());
  ASSERT_TRUE(imported.failure.has_value());
  ASSERT_EQ(shapesOf(imported.records)->size(), 50u);
  // Undone and redone, the document holds the very records read: the undo step keeps them, not copies of them.
  document_.undo();
  EXPECT_TRUE(document_.data()->array("layers")->empty());
  document_.redo();
  ASSERT_EQ(document_.data()->array("layers")->size(), 1u);
  EXPECT_TRUE(document_.data()->array("layers")->at(0).isIdentical(imported.records->at(0)));
}

TEST_F(SVGLimits, EachShapeDeepInNestedGroupsHoldsOneComposedTransform) {
  constexpr int kDepth = 1000;
  std::string svg = "<svg>";
  for (int i = 0; i < kDepth; ++i) svg += "<g transform='translate(1 2)' fill='blue'><rect width='1' height='1'/>";
  for (int i = 0; i < kDepth; ++i) svg += "</g>";
  std::vector<DictRef> rects;
  collectShapes(parse(document_, svg + "</svg>"), rects);
  ASSERT_EQ(rects.size(), static_cast<std::size_t>(kDepth));
  for (int level = 1; level <= kDepth; ++level) {
    const DictRef& rect = rects[static_cast<std::size_t>(level - 1)];
    SCOPED_TRACE(level);
    // One entry, not one per group around the shape: the records grow with the depth, not with its square.
    ASSERT_EQ(rect->array("transforms")->size(), 1u);
    // Hand computation: `level` translations by (1, 2).
    const DictRef corner = rect->dictionary("shape")->array("points")->at(0).dictionary();
    const platform::Point at = platform::pointFromString(corner->get("point").string());
    EXPECT_EQ(at.x, level);
    EXPECT_EQ(at.y, 2 * level);
    EXPECT_EQ(rect->dictionary("shape")->dictionary("fill")->dictionary("color")->get("b").intValue(), 255);
  }
}

TEST_F(SVGLimits, TextPastItsBoundReadsAsDamageThereAndWhatCameBeforeIsKept) {
  const std::string kilobyte(1024, 'k');
  struct Case {
    const char* name;
    std::string body;  // from line 4, after two lines of declarations and "<svg>" with a rectangle
    int failedLine;
    std::size_t texts;  // read up to the failure, the one it met among them when it holds characters by then
  };
  std::string references;
  for (int i = 0; i < 100; ++i) references += "&k;";
  // 40 KB texts, one a line: the file's bound is passed by the one that goes beyond it in all.
  std::string manyTexts;
  for (int i = 0; i < 500; ++i) manyTexts += "<text>&forty;</text>\n";
  const int passing = static_cast<int>(VDSVGParser::kLongestTexts / (40 * 1024)) + 1;
  const std::vector<Case> cases = {
      {"one long text", "<text>" + std::string(70, ' ') + references + "</text>\n<rect/>", 4, 1},
      // The text that passes the file's bound gets no character: it draws nothing, so it makes no layer.
      {"many texts", manyTexts, 3 + passing, static_cast<std::size_t>(passing - 1)},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const std::string svg = "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY k '" + std::string(1024, 'k') +
                            "'>\n<!ENTITY forty '" + std::string(40 * 1024, 'f') + "'>]>\n<svg><rect width='9' height='9'/>\n" +
                            test.body + "\n</svg>";
    const CMSVGImport imported = importSVGData(document_, bytesOf(svg));
    ASSERT_TRUE(imported.failure.has_value());
    EXPECT_EQ(imported.failure->line, test.failedLine);
    std::vector<DictRef> shapes;
    collectShapes(imported.records, shapes);
    ASSERT_EQ(shapes.size(), 1 + test.texts) << "the rectangle and the texts up to the failure, nothing after";
    EXPECT_EQ(shapes[0]->get("name").string(), "Rectangle");
    for (std::size_t i = 1; i < shapes.size(); ++i) {
      EXPECT_LE(shapes[i]->get("text").string().size(), VDSVGParser::kLongestText);
    }
    // The text read before the bound is kept.
    EXPECT_GT(shapes[1]->get("text").string().size(), VDSVGParser::kLongestText / 2);
  }
}

}  // namespace
