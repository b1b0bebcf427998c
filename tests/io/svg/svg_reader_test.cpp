// The SVG reader: groups, inheritance, gradients, text, the import's page growth and undo, and hostile XML.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../../platform/core/scratch_folder.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "document_test_support.h"
#include "io/import/CMDrawingImport.h"
#include "laid_out_text.h"
#include "style_canvas.h"
#include "svg_test_support.h"

namespace {

using platform::DictRef;
using svg_testing::parse;
using svg_testing::shapesOf;

class SVGReader : public ::testing::Test {
 protected:
  DictRef only(std::string_view svg) {
    const platform::ArrayRef shapes = shapesOf(parse(document_, svg));
    EXPECT_EQ(shapes->size(), 1u) << svg;
    return shapes->empty() ? platform::Dictionary::make() : shapes->at(0).dictionary();
  }
  static int depthOf(const DictRef& group) {
    int depth = 0;
    for (DictRef level = group; level; ++depth) {
      const platform::ArrayRef items = level->array("items");
      DictRef next;
      for (const platform::Value& item : items ? *items : *platform::Array::make()) {
        if (item.dictionary() && item.dictionary()->get("type").intValue() == 3) next = item.dictionary();
      }
      level = next;
    }
    return depth;
  }

  document_testing::ScratchFolders folders_;
  CMDocument document_;
};

TEST_F(SVGReader, CircleOnlyFileGrowsThePageButNeverShrinksIt) {
  document_.data()->set("width", 100.0);
  document_.data()->set("height", 500.0);
  const CMSVGImport imported = importSVGData(
      document_, svg_testing::bytesOf("<svg width='10' height='10'><circle cx='150' cy='50' r='20'/></svg>"));
  ASSERT_EQ(imported.records->size(), 1u);
  const platform::ArrayRef shapes = shapesOf(imported.records);
  ASSERT_EQ(shapes->size(), 1u);
  EXPECT_EQ(shapes->at(0).dictionary()->get("name").string(), "Oval");
  EXPECT_EQ(document_.data()->get("width").doubleValue(), 170);
  EXPECT_EQ(document_.data()->get("height").doubleValue(), 500);
  EXPECT_FALSE(imported.records->at(0).dictionary()->contains("parent"));
  // One undo step takes both the records and the page growth back.
  EXPECT_TRUE(document_.dirty());
  ASSERT_EQ(document_.data()->array("layers")->size(), 1u);
  document_.undo();
  EXPECT_TRUE(document_.data()->array("layers")->empty());
  EXPECT_EQ(document_.data()->get("width").doubleValue(), 100);
  EXPECT_FALSE(document_.undoManager().canUndo());
}

TEST_F(SVGReader, TextGrowsThePageByItsLaidOutTextAndAnImageByItsPicture) {
  struct Case {
    const char* svg;
    const char* text;
    const char* font;
    double size;
    double rightOfX;  // the share of the text's width right of its anchor
    double x, y;      // the anchor and the baseline
  };
  const Case cases[] = {
      {"<svg><text x='600' y='700' font-family='DejaVu Sans' font-size='20'>Side seam</text></svg>", "Side seam",
       "DejaVu Sans", 20, 1, 600, 700},
      {"<svg><g><g><text x='800' y='640' text-anchor='middle' font-family='DejaVu Serif' font-size='30'>Hem</text>"
       "</g></g></svg>",
       "Hem", "DejaVu Serif", 30, 0.5, 800, 640},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.svg);
    CMDocument document;
    document.data()->set("width", 100.0);
    document.data()->set("height", 100.0);
    importSVGData(document, svg_testing::bytesOf(c.svg));
    const document_testing::LaidOutText laid = document_testing::layOut(c.text, c.font, c.size);
    EXPECT_NEAR(document.data()->get("width").doubleValue(), c.x + c.rightOfX * laid.width, 1e-3);
    EXPECT_NEAR(document.data()->get("height").doubleValue(), c.y - laid.baseline + laid.height, 1e-3);
  }
  // An image without a size of its own takes its picture's.
  const DictRef image = CMProject::defaultObject("image");
  image->set("image", document_testing::pngOf({120, 80}, platform::Color(1, 0, 0, 1)));
  image->set("x", 700);
  image->set("y", 650);
  const DictRef group = CMProject::defaultObject("group");
  group->array("items")->add(image);
  document_.resizeDocument(platform::Array::make({group}));
  EXPECT_EQ(document_.data()->get("width").doubleValue(), 820);
  EXPECT_EQ(document_.data()->get("height").doubleValue(), 730);
}

TEST_F(SVGReader, DefaultsStylesAndTrimming) {
  const DictRef rect = only("<svg><rect width='5' height='5'/></svg>");
  EXPECT_EQ(rect->dictionary("shape")->dictionary("fill")->get("type").intValue(), 1);
  EXPECT_EQ(rect->dictionary("shape")->dictionary("fill")->dictionary("color")->get("r").intValue(), 0);
  const DictRef text = only("<svg><text>Hi</text></svg>");
  EXPECT_EQ(text->get("type").intValue(), 2);
  EXPECT_EQ(text->dictionary("style")->dictionary("foregroundColor")->get("r").intValue(), 0) << "the default's";
  // The style wins over the attribute; blanks around names and values do no harm.
  const DictRef styled = only("<svg><rect width='1' height='1' fill='red' style=' fill : #0000ff ; stroke:lime;;' opacity=' 0.5 '/></svg>");
  EXPECT_EQ(styled->dictionary("shape")->dictionary("fill")->dictionary("color")->get("b").intValue(), 255);
  EXPECT_EQ(styled->dictionary("shape")->dictionary("stroke")->dictionary("color")->get("g").intValue(), 255);
  EXPECT_EQ(styled->get("alpha").floatValue(), 0.5f);
  EXPECT_EQ(VDSVGParser::prepareAttributes(platform::Dictionary::make({{" a\n", "\t b \r\n"}}))->get("a").string(),
            "b");
}

TEST_F(SVGReader, GroupsPassTheirAttributesAndTransformsDown) {
  const platform::ArrayRef groups = shapesOf(parse(document_,
      "<svg><g fill='red' transform='translate(1 2)'><g transform='scale(2)' stroke='blue'>"
      "<rect width='1' height='1' transform='rotate(0)'/></g><circle cx='1' cy='1' r='1'/></g>"
      "<rect width='1' height='1'/></svg>"));
  ASSERT_EQ(groups->size(), 2u) << "the outer group, then the last rect";
  const DictRef outer = groups->at(0).dictionary();
  const DictRef inner = outer->array("items")->at(0).dictionary();
  const DictRef nested = inner->array("items")->at(0).dictionary();
  // The groups' transforms come composed in one, the element's own after them.
  EXPECT_TRUE(nested->array("transforms")->isEqual(*platform::Array::make({"matrix(2 0 0 2 1 2)", "rotate(0)"})));
  EXPECT_EQ(nested->dictionary("shape")->dictionary("fill")->dictionary("color")->get("r").intValue(), 255);
  EXPECT_EQ(nested->dictionary("shape")->dictionary("stroke")->get("type").intValue(), 1);
  const DictRef circle = outer->array("items")->at(1).dictionary();
  EXPECT_TRUE(circle->array("transforms")->isEqual(*platform::Array::make({"translate(1 2)"})));
  EXPECT_EQ(circle->dictionary("shape")->dictionary("stroke")->get("type").intValue(), 0);
  const DictRef last = groups->at(1).dictionary();
  EXPECT_FALSE(last->contains("transforms"));
  EXPECT_EQ(last->dictionary("shape")->dictionary("fill")->dictionary("color")->get("r").intValue(), 0);
}

TEST_F(SVGReader, GradientsDefinedAfterTheirShapesAreFound) {
  const platform::ArrayRef shapes = shapesOf(parse(document_,
      "<svg><rect width='1' height='1' fill='url(#late)'/><linearGradient id='late'><stop offset='0' stop-color='red'/>"
      "<stop offset='1' style='stop-color:white'/></linearGradient><rect width='1' height='1' fill='url(#late)'/></svg>"));
  ASSERT_EQ(shapes->size(), 2u);
  const auto firstStopRed = [&](std::size_t i) {
    return shapes->at(i).dictionary()->dictionary("shape")->dictionary("fill")->dictionary("gradient")
        ->array("markers")->at(0).dictionary()->get("green").floatValue();
  };
  EXPECT_EQ(firstStopRed(0), 0.0f) << "red, defined after the shape";
  EXPECT_EQ(firstStopRed(1), 0.0f) << "red";
  EXPECT_EQ(shapes->at(0).dictionary()->get("width").floatValue(), 1) << "the same shape, made again";
}

TEST_F(SVGReader, MarkerContentsAndUndrawnElementsAreLeftOutAndCounted) {
  VDSVGParser reader;
  const platform::ArrayRef shapes = shapesOf(parse(document_,
      "<svg><marker><path d='M0 0L1 1'/><g><rect/></g></marker><ellipse/><ellipse/><use/>"
      "<image/><path d='M0 0L5 5'/><rect x='1e999' width='1' height='1'/></svg>", &reader));
  ASSERT_EQ(shapes->size(), 1u);
  EXPECT_EQ(reader.skippedSummary(), "1 path, 1 g, 2 rect, 2 ellipse, 1 use, 1 image");
}

TEST_F(SVGReader, TextRunsAreJoined) {
  EXPECT_EQ(only("<svg><text>a &amp; b</text></svg>")->get("text").string(), "a & b");
  EXPECT_EQ(only("<svg><text>\n  <tspan>Hello</tspan>\n  <tspan>world</tspan>\n</text></svg>")->get("text").string(),
            "Hello world");
  EXPECT_EQ(only("<svg><text><![CDATA[x <y>]]></text></svg>")->get("text").string(), "x <y>");
}

TEST_F(SVGReader, XhtmlPagesAreGroupsSideBySide) {
  const platform::ArrayRef records = parse(document_,
      "<html xmlns='http://www.w3.org/1999/xhtml' xmlns:svg='http://www.w3.org/2000/svg'><body>"
      "<svg:svg width='10' height='10'><svg:rect width='1' height='1'/></svg:svg>"
      "<svg:svg><svg:circle cx='1' cy='1' r='1'/></svg:svg></body></html>");
  ASSERT_EQ(records->size(), 2u);
  const platform::ArrayRef first = records->at(0).dictionary()->array("items");
  ASSERT_EQ(first->size(), 1u);
  EXPECT_EQ(first->at(0).dictionary()->get("name").string(), "Rectangle");
  EXPECT_EQ(records->at(1).dictionary()->array("items")->at(0).dictionary()->get("name").string(), "Oval");
}

TEST_F(SVGReader, GroupsNestAtMostAHundredDeepAndTheDocumentReopens) {
  std::string svg = "<svg>";
  for (int i = 0; i < 300; ++i) svg += "<g transform='translate(1)'>";
  svg += "<rect width='1' height='1'/>";
  for (int i = 0; i < 300; ++i) svg += "</g>";
  svg += "<circle cx='1' cy='1' r='1'/></svg>";
  const CMSVGImport imported = importSVGData(document_, svg_testing::bytesOf(svg));
  ASSERT_EQ(imported.records->size(), 1u);
  const DictRef root = imported.records->at(0).dictionary();
  EXPECT_EQ(depthOf(root), VDSVGParser::kDeepestGroup);
  // The deepest group holds the rectangle with the 300 translations composed; the circle is back in the root group.
  DictRef deepest = root;
  while (deepest->array("items")->at(0).dictionary()->get("type").intValue() == 3) {
    deepest = deepest->array("items")->at(0).dictionary();
  }
  EXPECT_TRUE(deepest->array("items")->at(0).dictionary()->array("transforms")->isEqual(
      *platform::Array::make({"matrix(1 0 0 1 300 0)"})));
  EXPECT_EQ(root->array("items")->last().dictionary()->get("name").string(), "Oval");
  const platform::Expected<platform::Bytes> saved = document_.dataOfType(CMDocument::kFileType);
  ASSERT_TRUE(saved.ok());
  CMDocument reopened;
  ASSERT_TRUE(reopened.readFromData(saved.value(), CMDocument::kFileType).ok());
  EXPECT_TRUE(reopened.data()->array("layers")->isEqual(*document_.data()->array("layers")));
}

TEST_F(SVGReader, BrokenXmlKeepsWhatCameBeforeAndNamesTheLine) {
  VDSVGParser reader;
  const platform::ArrayRef records = parse(document_, "<svg>\n<rect width='1' height='1'/>\n<rect width='1' height='1'>\n</svg>", &reader);
  EXPECT_EQ(shapesOf(records)->size(), 2u);
  ASSERT_TRUE(reader.failure().has_value());
  EXPECT_EQ(reader.failure()->line, 4);
  EXPECT_FALSE(reader.failure()->message.empty());
  VDSVGParser garbage;
  EXPECT_TRUE(parse(document_, "\x89PNG not xml", &garbage)->empty());
  EXPECT_TRUE(garbage.failure().has_value());
  const CMSVGImport nothing = importSVGData(document_, svg_testing::bytesOf("<html/>"));
  EXPECT_TRUE(nothing.records->empty());
  EXPECT_FALSE(nothing.failure.has_value());
  EXPECT_FALSE(document_.undoManager().canUndo()) << "nothing imported, nothing to undo";
}

TEST_F(SVGReader, ExternalEntitiesAreNeverRead) {
  platform::testing::ScratchFolder scratch;
  const std::filesystem::path secret = scratch / "secret.txt";
  std::ofstream(secret) << "MARKER-7f3a";
  const std::string declarations = "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY x SYSTEM 'file://" +
                                   secret.string() + "'><!ENTITY y 'inner'><!ENTITY s 'fill:#00f'>]>";
  // The file's own entities expand, in content and attributes.
  const platform::ArrayRef shapes =
      shapesOf(parse(document_, declarations + "<svg><text font-family='&y;'>&y;</text><rect width='1' height='1' style='&s;'/></svg>"));
  ASSERT_EQ(shapes->size(), 2u);
  EXPECT_EQ(shapes->at(0).dictionary()->get("text").string(), "inner");
  EXPECT_EQ(shapes->at(0).dictionary()->dictionary("style")->get("fontName").string(), "inner");
  const DictRef fill = shapes->at(1).dictionary()->dictionary("shape")->dictionary("fill");
  EXPECT_EQ(fill->dictionary("color")->get("b").intValue(), 255);
  // One that names a file ends the reading there, in content or in an attribute.
  for (const char* body : {"<svg><rect/><text>&x;</text></svg>", "<svg><rect/><text font-family='&x;'/></svg>"}) {
    VDSVGParser reader;
    const platform::ArrayRef records = parse(document_, declarations + body, &reader);
    EXPECT_TRUE(reader.failure().has_value()) << body;
    EXPECT_EQ(platform::Value(records).description().find("MARKER"), std::string::npos) << body;
  }
}

TEST_F(SVGReader, NoDtdIsFetched) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  socklen_t length = sizeof address;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/svg.dtd";
  parse(document_, "<?xml version='1.0'?><!DOCTYPE svg SYSTEM '" + url + "'><svg><rect/></svg>");
  parse(document_, "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY % p SYSTEM '" + url + "'> %p;]><svg/>");
  parse(document_, "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY e SYSTEM '" + url + "'>]><svg><text>&e;</text></svg>");
  pollfd waiting{listener, POLLIN, 0};
  EXPECT_EQ(::poll(&waiting, 1, 200), 0) << "the reader connected to " << url;
  ::close(listener);
}

TEST_F(SVGReader, EntityExpansionStopsAtLibxmlsLimits) {
  std::string svg = "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY l0 'lol'>";
  for (int i = 1; i < 10; ++i) {
    svg += "<!ENTITY l" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j) svg += "&l" + std::to_string(i - 1) + ";";
    svg += "'>";
  }
  svg += "]><svg><text>&l9;</text></svg>";
  VDSVGParser reader;
  parse(document_, svg, &reader);
  ASSERT_TRUE(reader.failure().has_value());
}

}  // namespace
