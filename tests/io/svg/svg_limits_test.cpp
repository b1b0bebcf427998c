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

// `count` attributes named a0, a1, … with empty values, each after `separator`; as a DTD declares their defaults
// with `declared`.
std::string emptyAttributes(std::size_t count, const char* separator = " ", bool declared = false) {
  std::string attributes;
  for (std::size_t i = 0; i < count; ++i) {
    attributes += separator + ("a" + std::to_string(i)) + (declared ? " CDATA ''" : "=''");
  }
  return attributes;
}

// ASCII text as it is (width 1) or in UTF-16 (2) or UCS-4 (4), little or big end first, after a byte order mark.
std::string encoded(const std::string& text, int width = 1, bool bigEnd = false) {
  if (width == 1) return text;
  std::string wide;
  for (const char32_t c : U"\uFEFF" + std::u32string(text.begin(), text.end())) {
    for (int byte = 0; byte < width; ++byte) wide += static_cast<char>(c >> 8 * (bigEnd ? width - 1 - byte : byte));
  }
  return wide;
}

TEST_F(SVGLimits, PastABoundTheFileIsDamagedThereAndWhatCameBeforeIsKept) {
  struct Case {
    const char* name;
    std::string body;    // from line 4, after two lines of declarations and "<svg>" with a rectangle
    int failedLine;      // 0 when the file is read whole
    std::size_t shapes;  // kept, the rectangle first; a text among them only when it holds characters
    std::string declarations = {};  // more entities, on line 2
    // The least a kept text holds: what was read of it before the bound.
    std::size_t textAtLeast = VDSVGParser::kLongestText / 2;
    int width = 1;  // of a character in the file's encoding
    bool bigEnd = false;
    // What the failure's message says, when it is a bound's.
    std::string message = {};
  };
  std::string references;
  for (int i = 0; i < 100; ++i) references += "&k;";
  // 40 KB texts, one a line: the file's bound is passed by the one that goes beyond it in all.
  std::string manyTexts;
  for (int i = 0; i < 500; ++i) manyTexts += "<text>&forty;</text>\n";
  const int passing = static_cast<int>(VDSVGParser::kLongestTexts / (40 * 1024)) + 1;
  const auto gradient = [](std::size_t stops) {
    std::string text = "<linearGradient id='g'>\n";
    for (std::size_t i = 0; i < stops; ++i) text += "<stop offset='" + std::to_string(i % 2) + "' stop-color='red'/>\n";
    return text + "</linearGradient><rect width='5' height='5' fill='url(#g)'/>";
  };
  std::string crowdedGroup = "<g" + emptyAttributes(2000) + " fill='red'>\n";
  for (int i = 0; i < 2000; ++i) crowdedGroup += "<rect width='1' height='1'/>\n";
  const std::size_t most = VDSVGParser::kMostAttributes;
  // An attribute a line: the element is damaged where it starts, which is found before the XML reader sees it.
  const std::string crowdedOnLines = "<rect width='1' height='1'/>\n<rect" + emptyAttributes(most + 1, "\n") + "/>";
  // Namespace declarations on two groups, one inside the other, one more together than an element may have.
  std::string namespaces;
  for (std::size_t i = 0; i <= most; ++i) {
    namespaces += (i == most / 2 ? ">\n<g" : "") + (" xmlns:n" + std::to_string(i) + "='u'");
  }
  const std::vector<Case> cases = {
      {"one long text", "<text>" + std::string(70, ' ') + references + "</text>\n<rect/>", 4, 2},
      // The text that passes the file's bound gets no character: it draws nothing, so it makes no layer.
      {"many texts", manyTexts, 3 + passing, static_cast<std::size_t>(passing)},
      {"a text as long as it may be", "<text>" + std::string(VDSVGParser::kLongestText, 'x') + "</text>", 0, 2},
      // What the XML reader gave of it before the bound is kept.
      {"a text a byte longer", "<text>" + std::string(VDSVGParser::kLongestText + 1, 'x') + "</text>", 4, 2, "", 1},
      {"a gradient of as many stops as it may have", gradient(VDSVGParser::kMostStops), 0, 2},
      // The stop past the bound stands on line 5 + kMostStops.
      {"a gradient of a stop more", gradient(VDSVGParser::kMostStops + 1),
       5 + static_cast<int>(VDSVGParser::kMostStops), 1},
      {"an element of as many attributes as it may have", "<rect/>\n<rect" + emptyAttributes(most) + "/>", 0, 1},
      {"an element of an attribute more", "<rect width='1' height='1'/>\n<rect" + emptyAttributes(most + 1) + "/>", 5,
       2},
      {"an element of an attribute more after an entity holding <?", crowdedOnLines, 5, 2, "<!ENTITY pi '<?'>"},
      {"an element of an attribute more after a system literal holding <!--", crowdedOnLines, 5, 2,
       "<!NOTATION n SYSTEM '<!--'>"},
      {"an element of an attribute more in UTF-16", crowdedOnLines, 5, 2, "", VDSVGParser::kLongestText / 2, 2},
      {"an element of an attribute more in UCS-4, little end first", crowdedOnLines, 5, 2, "",
       VDSVGParser::kLongestText / 2, 4, false, "more than 1024 attributes"},
      {"an element of an attribute more in UCS-4, big end first", crowdedOnLines, 5, 2, "",
       VDSVGParser::kLongestText / 2, 4, true, "more than 1024 attributes"},
      // Namespace declarations are no attributes.
      {"an element of as many attributes as it may have and a namespace",
       "<rect xmlns:x='http://example.org/x'" + emptyAttributes(most) + "/>", 0, 1},
      {"groups of a namespace more in scope", "<g" + namespaces + "><rect/></g></g>", 5, 1, "",
       VDSVGParser::kLongestText / 2, 1, false, "in the scope of more than 1024 namespace declarations"},
      // Defaults a DTD declares for more attributes than an element may have are damage where they are declared.
      {"a DTD declaring defaults of an attribute more", "<rect/>", 2, 0,
       "<!ATTLIST rect" + emptyAttributes(most + 1, " ", true) + ">"},
      {"a group of an attribute more over many members", crowdedGroup, 4, 1},
      // An entity's text holding such an element is damage where it is declared, though characters hide its tags.
      {"an entity holding an element of an attribute more", "<rect/>", 2, 0,
       "<!ENTITY crowd '&#60;rect" + emptyAttributes(most + 1) + "/&#62;'>"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const std::string svg = "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY k '" + std::string(1024, 'k') +
                            "'>\n<!ENTITY forty '" + std::string(40 * 1024, 'f') + "'>" + test.declarations +
                            "]>\n<svg><rect width='9' height='9'/>\n" + test.body + "\n</svg>";
    const CMSVGImport imported = importSVGData(document_, bytesOf(encoded(svg, test.width, test.bigEnd)));
    if (test.failedLine == 0) {
      EXPECT_FALSE(imported.failure.has_value()) << imported.failure->message;
    } else {
      ASSERT_TRUE(imported.failure.has_value());
      EXPECT_EQ(imported.failure->line, test.failedLine) << imported.failure->message;
      EXPECT_NE(imported.failure->message.find(test.message), std::string::npos) << imported.failure->message;
    }
    std::vector<DictRef> shapes;
    collectShapes(imported.records, shapes);
    ASSERT_EQ(shapes.size(), test.shapes) << "the rectangle and what came after it up to the failure, nothing more";
    if (shapes.empty()) continue;
    EXPECT_EQ(shapes[0]->get("name").string(), "Rectangle");
    for (std::size_t i = 1; i < shapes.size(); ++i) {
      if (shapes[i]->get("type").intValue() != 2) continue;
      // The text read before the bound is kept.
      EXPECT_LE(shapes[i]->get("text").string().size(), VDSVGParser::kLongestText);
      EXPECT_GE(shapes[i]->get("text").string().size(), test.textAtLeast);
    }
  }
}

TEST_F(SVGLimits, AGradientsStopsAreHeldOnceByTheShapesThatUseIt) {
  // 2,000 shapes of a gradient of 1,000 stops: a copy of the stops for each would take some 500 MB.
  std::string svg = "<svg><linearGradient id='l'>";
  for (int i = 0; i < 1000; ++i) svg += "<stop offset='" + std::to_string(i / 1000.0) + "' stop-color='#0af'/>";
  svg += "</linearGradient><radialGradient id='r' xlink:href='#l'/>";
  for (int i = 0; i < 1000; ++i) {
    svg += "<rect x='" + std::to_string(i) + "' width='10' height='10' fill='url(#l)'/>";
    svg += "<rect y='" + std::to_string(i) + "' width='20' height='10' fill='url(#r)'/>";
  }
  // A box of nearly the same proportions, and one of others.
  svg += "<rect width='20.01' height='10' fill='url(#r)'/><rect width='40' height='10' fill='url(#r)'/>";
  const CMSVGImport imported = importSVGData(document_, bytesOf(svg + "</svg>"), std::uint64_t{50} << 20);
  ASSERT_TRUE(imported.refusal.empty()) << "the records take far less than 50 MB";
  std::vector<DictRef> shapes;
  collectShapes(imported.records, shapes);
  ASSERT_EQ(shapes.size(), 2002u);
  const auto markers = [&](std::size_t i) {
    return platform::Value(shapes[i]->dictionary("shape")->dictionary("fill")->dictionary("gradient")->array("markers"));
  };
  EXPECT_EQ(markers(0).array()->size(), 1000u);
  for (std::size_t i = 2; i < 2000; ++i) {
    // The radial gradient's stops move by the shape's box: boxes alike share them too.
    ASSERT_TRUE(markers(i).isIdentical(markers(i % 2))) << i;
  }
  EXPECT_FALSE(markers(0).isIdentical(markers(1)));
  // Many stops are shared by boxes whose proportions differ by less than a drawing shows, not by others.
  EXPECT_TRUE(markers(2000).isIdentical(markers(1)));
  EXPECT_FALSE(markers(2001).isIdentical(markers(1)));
}

}  // namespace
