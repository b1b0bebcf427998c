// The drawing generator driven by scripted calls, as libcdr would make them: the page frame, the group numbering,
// master pages, pictures as temporary files, paint, and what the SVG reader makes of the result.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include "cdr_test_support.h"
#include "document/CMDocument.h"
#include "io/cdr/CDR2SVG.h"
#include "io/cdr/CMConversionFolder.h"
#include "io/cdr/CMSVGDrawingGenerator.h"
#include "io/cdr/TMPManager.h"
#include "io/svg/VDSVGParser.h"
#include "platform/core/files.h"
#include "platform/core/notification_center.h"

namespace {

using cdr_testing::lengths;
using cdr_testing::pathOf;
using librevenge::RVNG_POINT;
using librevenge::RVNG_TWIP;
using ::testing::HasSubstr;
using ::testing::Not;

// The eight script lines, each built from its text and the blanks that pad it.
std::string fitScript() {
  const std::pair<std::string, int> lines[] = {
      {"<svg:script><![CDATA[", 34},
      {"var svgElement = document.getElementById(\"svgRoot\"); ", 0},
      {"var gElement = document.getElementById(\"rootGroup\"); ", 0},
      {"var b = gElement.getBBox();", 28},
      {"svgElement.setAttribute(\"width\", b.width);", 11},
      {"svgElement.setAttribute(\"height\", b.height);", 9},
      {"svgElement.setAttribute(\"viewBox\", [b.x,b.y,b.width,b.height]); ", 0},
      {"]]></svg:script>", 39},
  };
  const std::size_t expectedLengths[] = {56, 54, 54, 56, 54, 54, 65, 56};
  std::string script;
  for (std::size_t i = 0; i < 8; ++i) {
    const std::string line = lines[i].first + std::string(static_cast<std::size_t>(lines[i].second), ' ') + "\n";
    EXPECT_EQ(line.size(), expectedLengths[i]) << "line " << i + 1;
    script += line;
  }
  return script;
}

const std::string kRootStart =
    "<svg id=\"svgRoot\" version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" "
    "xmlns:xlink=\"http://www.w3.org/1999/xlink\" ";

librevenge::RVNGPropertyList style(std::initializer_list<std::pair<const char*, const char*>> entries) {
  librevenge::RVNGPropertyList list;
  for (const auto& [key, value] : entries) list.insert(key, value);
  return list;
}

librevenge::RVNGPropertyList square() {
  return pathOf({{"M", {{"svg:x", {1}}, {"svg:y", {1}}}},
                 {"L", {{"svg:x", {2}}, {"svg:y", {1}}}},
                 {"L", {{"svg:x", {2}}, {"svg:y", {2}}}},
                 {"Z", {}}});
}

class GeneratorTest : public ::testing::Test {
 protected:
  std::string page(unsigned i) const { return i < pages_.size() ? pages_[i].cstr() : std::string(); }

  librevenge::RVNGStringVector pages_;
  CMSVGDrawingGenerator generator_{pages_, ""};
};

TEST_F(GeneratorTest, PagesHaveTheirRootWrapperScriptAndGroupsNumberedAcrossPages) {
  generator_.startDocument({});
  generator_.startPage(lengths({{"svg:width", {8.5}}, {"svg:height", {11}}}));
  generator_.openGroup({});
  generator_.openGroup({});
  generator_.setStyle(style({{"draw:fill", "solid"}, {"draw:fill-color", "#ff0000"}, {"draw:stroke", "none"}}));
  generator_.drawPath(square());
  generator_.closeGroup();
  generator_.closeGroup();
  generator_.endPage();
  generator_.startPage({});
  generator_.openGroup({});
  generator_.closeGroup();
  generator_.endPage();
  generator_.endDocument();

  ASSERT_EQ(pages_.size(), 2u);
  EXPECT_EQ(page(0),
            kRootStart + "width=\"612\" height=\"792\" >\n<svg:g id=\"rootGroup\">\n<g id=\"Group1000\" >\n"
                         "<g id=\"Group1001\" >\n<path d=\"M 72 72 L 144 72 L 144 144 Z\" fill=\"#ff0000\" "
                         "stroke=\"none\"/>\n</g>\n</g>\n</svg:g>\n</svg>\n" +
                fitScript());
  EXPECT_EQ(page(1), kRootStart + " >\n<svg:g id=\"rootGroup\">\n<g id=\"Group1002\" >\n</g>\n</svg:g>\n</svg>\n" +
                         fitScript());
}

TEST_F(GeneratorTest, PageSizesInEveryUnitAreWrittenInPoints) {
  const struct {
    cdr_testing::Length width;
    const char* written;
  } cases[] = {{{8.5}, "width=\"612\" "},
               {{612, RVNG_POINT}, "width=\"612\" "},
               {{12240, RVNG_TWIP}, "width=\"612\" "},
               {{0.5}, "width=\"36\" "},
               {{1e40}, "height=\"792\" >"}};
  for (const auto& c : cases) {
    librevenge::RVNGStringVector pages;
    CMSVGDrawingGenerator generator(pages, "");
    generator.startPage(lengths({{"svg:width", c.width}, {"svg:height", {11}}}));
    generator.endPage();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_THAT(pages[0].cstr(), HasSubstr(kRootStart + c.written)) << c.width.value;
    EXPECT_THAT(pages[0].cstr(), HasSubstr("height=\"792\" >\n")) << c.width.value;
  }
}

TEST_F(GeneratorTest, APageNamingAMasterPageStartsWithTheMastersOutput) {
  librevenge::RVNGPropertyList master = lengths({{"svg:width", {2}}});
  master.insert("librevenge:master-page-name", "Frame");
  generator_.startMasterPage(master);
  generator_.setStyle(style({{"draw:fill", "none"}, {"draw:stroke", "solid"}, {"svg:stroke-color", "#0000ff"}}));
  generator_.drawPath(square());
  generator_.endMasterPage();
  EXPECT_EQ(pages_.size(), 0u) << "a master page is no page of its own";

  librevenge::RVNGPropertyList named;
  named.insert("librevenge:master-page-name", "Frame");
  generator_.startPage(named);
  generator_.setStyle(style({{"draw:fill", "solid"}, {"draw:fill-color", "#00ff00"}}));
  generator_.drawRectangle(lengths({{"svg:x", {0}}, {"svg:y", {0}}, {"svg:width", {1}}, {"svg:height", {1}}}));
  generator_.endPage();
  librevenge::RVNGPropertyList unknown;
  unknown.insert("librevenge:master-page-name", "Nothing");
  generator_.startPage(unknown);
  generator_.endPage();

  // A page begun while a master page is recorded ends the recording first, and may name it.
  librevenge::RVNGPropertyList unfinished;
  unfinished.insert("librevenge:master-page-name", "Open");
  generator_.startMasterPage(unfinished);
  generator_.openGroup({});
  librevenge::RVNGPropertyList naming;
  naming.insert("librevenge:master-page-name", "Open");
  generator_.startPage(naming);
  generator_.endPage();

  ASSERT_EQ(pages_.size(), 3u);
  EXPECT_EQ(page(2), kRootStart + " >\n<svg:g id=\"rootGroup\">\n<g id=\"Group1000\" >\n</g>\n</svg:g>\n</svg>\n" +
                         fitScript());
  const std::string expectedStart = kRootStart + "width=\"144\"  >\n<svg:g id=\"rootGroup\">\n<path d=\"M 72 72 L 144 "
                                                 "72 L 144 144 Z\" fill=\"none\" stroke=\"#0000ff\" stroke-width=\"1\"/>\n"
                                                 "<rect x=\"0\" y=\"0\" width=\"72\" height=\"72\" fill=\"#00ff00\"";
  EXPECT_EQ(page(0).substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(page(1), kRootStart + " >\n<svg:g id=\"rootGroup\">\n</svg:g>\n</svg>\n" + fitScript());
}

class TemporaryPictureTest : public GeneratorTest {
 protected:
  void SetUp() override {
    previousFolder_ = TMPManager::instance().folder();
    TMPManager::instance().setFolder(folder_.value().path());
  }
  void TearDown() override {
    TMPManager::instance().removeAllFiles();
    TMPManager::instance().setFolder(previousFolder_);
  }
  static librevenge::RVNGPropertyList picture(const std::vector<unsigned char>& bytes) {
    librevenge::RVNGPropertyList list = lengths({{"svg:x", {1}}, {"svg:y", {2}}, {"svg:width", {0.5}},
                                                 {"svg:height", {0.25}}});
    list.insert("librevenge:mime-type", "image/bmp");
    list.insert("office:binary-data", librevenge::RVNGBinaryData(bytes.data(), bytes.size()));
    return list;
  }

  cdr_testing::OwnTemporaryFolder temporary_;
  platform::Expected<CMConversionFolder> folder_ = CMConversionFolder::make();
  std::filesystem::path previousFolder_;
};

TEST_F(TemporaryPictureTest, PicturesBecomeImageElementsReferringToTheirOwnFiles) {
  ASSERT_TRUE(folder_.ok());
  std::vector<std::string> posted;
  const platform::ObserverToken observer = platform::NotificationCenter::defaultCenter().addObserver(
      kTMPManagerDidSavedFileNotification,
      [&](const platform::Notification& n) { posted.push_back(n.userInfo->get("FilePath").string()); });
  const std::vector<unsigned char> first = {'B', 'M', 0, 1, 2, '<', '&', 255};
  const std::vector<unsigned char> second = {'G', 'I', 'F', '8', '9', 'a'};
  generator_.startPage({});
  generator_.drawGraphicObject(picture(first));
  generator_.drawGraphicObject(picture(second));
  // Without a type or without data there is nothing to draw.
  librevenge::RVNGPropertyList untyped = picture(first);
  untyped.insert("librevenge:mime-type", "");
  generator_.drawGraphicObject(untyped);
  librevenge::RVNGPropertyList empty = picture(first);
  empty.remove("office:binary-data");
  generator_.drawGraphicObject(empty);
  generator_.endPage();

  ASSERT_EQ(pages_.size(), 1u);
  const std::regex image("<image x=\"72\" y=\"144\" width=\"36\" height=\"18\" xlink:href=\"(file://" +
                         folder_.value().path().string() + "/[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-"
                         "[0-9A-F]{12}\\.bmp)\" />\n");
  std::vector<std::string> urls;
  const std::string text = page(0);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), image); it != std::sregex_iterator(); ++it) {
    urls.push_back((*it)[1]);
  }
  ASSERT_EQ(urls.size(), 2u) << text;
  EXPECT_NE(urls[0], urls[1]);
  EXPECT_EQ(posted, urls);
  EXPECT_THAT(text, Not(HasSubstr("image/bmp")));
  EXPECT_THAT(text, Not(HasSubstr("base64")));
  const std::vector<unsigned char>* expected[] = {&first, &second};
  for (std::size_t i = 0; i < 2; ++i) {
    const std::filesystem::path file = urls[i].substr(std::string("file://").size());
    const platform::Expected<platform::Bytes> written = platform::readFile(file);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.value(), platform::Bytes(expected[i]->begin(), expected[i]->end()));
  }
  struct stat info {};
  ASSERT_EQ(::stat(folder_.value().path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(TMPManager::instance().files().size(), 2u);
}

TEST_F(TemporaryPictureTest, APictureThatCannotBeWrittenIsLeftOutAndThePageStillMade) {
  TMPManager::instance().setFolder(folder_.value().path() / "missing");
  generator_.startPage({});
  generator_.drawGraphicObject(picture({1, 2, 3}));
  generator_.setStyle(style({{"draw:fill", "solid"}}));
  generator_.drawPath(square());
  generator_.endPage();
  ASSERT_EQ(pages_.size(), 1u);
  EXPECT_THAT(page(0), Not(HasSubstr("<image")));
  EXPECT_THAT(page(0), HasSubstr("<path d="));
}

TEST_F(GeneratorTest, PaintStrokesAndTextAreWrittenAsTheReaderReadsThem) {
  generator_.startPage(lengths({{"svg:width", {4}}, {"svg:height", {4}}}));
  librevenge::RVNGPropertyList gradient = style({{"draw:fill", "gradient"}, {"draw:style", "linear"}});
  librevenge::RVNGPropertyListVector stops;
  for (const auto& [offset, color] : {std::pair{0.0, "#ff0000"}, std::pair{1.0, "#0000ff"}}) {
    librevenge::RVNGPropertyList stop;
    stop.insert("svg:offset", offset, librevenge::RVNG_PERCENT);
    stop.insert("svg:stop-color", color);
    stops.append(stop);
  }
  gradient.insert("svg:linearGradient", stops);
  gradient.insert("draw:stroke", "dash");
  gradient.insert("svg:stroke-color", "#00ff00");
  gradient.insert("svg:stroke-width", 2.0, RVNG_POINT);
  gradient.insert("draw:dots1", 1);
  gradient.insert("draw:dots1-length", 3.0, RVNG_POINT);
  gradient.insert("draw:distance", 1.0, RVNG_POINT);
  generator_.setStyle(gradient);
  generator_.drawPath(square());
  // A shape with a number that is not finite is left out, and its gradient with it.
  generator_.drawPath(pathOf({{"M", {{"svg:x", {std::numeric_limits<double>::quiet_NaN()}}, {"svg:y", {1}}}},
                              {"L", {{"svg:x", {2}}, {"svg:y", {1}}}}}));
  generator_.setStyle(style({{"draw:fill", "solid"}, {"draw:fill-color", "#123456"}}));
  generator_.drawEllipse(lengths({{"svg:cx", {1}}, {"svg:cy", {1}}, {"svg:rx", {0.5}}, {"svg:ry", {0.5}}}));
  generator_.drawEllipse(lengths({{"svg:cx", {2}}, {"svg:cy", {1}}, {"svg:rx", {1}}, {"svg:ry", {0.5}}}));
  librevenge::RVNGPropertyListVector points;
  for (const double x : {0.0, 1.0, 0.5}) points.append(lengths({{"svg:x", {x}}, {"svg:y", {x}}}));
  librevenge::RVNGPropertyList polygon;
  polygon.insert("svg:points", points);
  generator_.drawPolygon(polygon);
  generator_.startTextObject(lengths({{"svg:x", {1}}, {"svg:y", {2}}}));
  librevenge::RVNGPropertyList span = lengths({{"fo:font-size", {12, RVNG_POINT}}});
  span.insert("style:font-name", "A \"Sans\" & <Serif>");
  generator_.openSpan(span);
  generator_.insertText("x < y & \"z\"\x01\x7f");
  generator_.closeSpan();
  generator_.endTextObject();
  generator_.endPage();
  ASSERT_EQ(pages_.size(), 1u);
  const std::string text = page(0);
  EXPECT_THAT(text, HasSubstr("<defs>\n<linearGradient id=\"Gradient0\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
                              "<stop offset=\"0\" stop-color=\"#ff0000\"/>\n<stop offset=\"1\" "
                              "stop-color=\"#0000ff\"/>\n</linearGradient>\n</defs>\n<path d=\"M 72 72 L 144 72 L "
                              "144 144 Z\" fill=\"url(#Gradient0)\" stroke=\"#00ff00\" stroke-width=\"2\" "
                              "stroke-dasharray=\"3,1\"/>\n"));
  EXPECT_THAT(text, Not(HasSubstr("Gradient1")));
  EXPECT_THAT(text, HasSubstr("<circle cx=\"72\" cy=\"72\" r=\"36\" fill=\"#123456\""));
  EXPECT_THAT(text, HasSubstr("<path d=\"M 216 72 A 72 36 0 0 1 72 72 A 72 36 0 0 1 216 72 Z\""));
  EXPECT_THAT(text, HasSubstr("<polygon points=\"0,0 72,72 36,36\""));
  EXPECT_THAT(text, HasSubstr("<text x=\"72\" y=\"144\"><tspan font-family=\"A &quot;Sans&quot; &amp; "
                              "&lt;Serif&gt;\" font-size=\"12\">x &lt; y &amp; &quot;z&quot;\x7f</tspan></text>\n"));

  // The reader takes every shape and the gradient.
  CMDocument document;
  VDSVGParser reader;
  const std::string xhtml = xhtmlDrawingPage(pages_);
  const platform::ArrayRef records = reader.parseSVG(platform::Bytes(xhtml.begin(), xhtml.end()), document);
  EXPECT_FALSE(reader.failure());
  ASSERT_EQ(records->size(), 1u);
  const platform::ArrayRef wrapper = records->at(0).dictionary()->array("items");
  ASSERT_EQ(wrapper->size(), 1u);
  const platform::ArrayRef shapes = wrapper->at(0).dictionary()->array("items");
  ASSERT_EQ(shapes->size(), 5u);
  EXPECT_EQ(shapes->at(4).dictionary()->get("text").string(), "x < y & \"z\"\x7f");
  EXPECT_EQ(reader.gradients()->size(), 1u);
}

// Each page is a group of its own, closed at the page's end: a thousand pages, each with deep groups, stay within the
// reader's cap on nesting, not one inside the other in a tree too deep to save.
TEST_F(GeneratorTest, AThousandPagesOfDeepGroupsStayWithinTheReadersNesting) {
  for (int page = 0; page < 1000; ++page) {
    generator_.startPage({});
    for (int depth = 0; depth < 3; ++depth) generator_.openGroup({});
    generator_.setStyle(style({{"draw:fill", "solid"}}));
    generator_.drawPath(square());
    generator_.endPage();
  }
  ASSERT_EQ(pages_.size(), 1000u);
  EXPECT_THAT(page(999), HasSubstr("id=\"Group3999\""));
  CMDocument document;
  VDSVGParser reader;
  const std::string xhtml = xhtmlDrawingPage(pages_);
  const platform::ArrayRef records = reader.parseSVG(platform::Bytes(xhtml.begin(), xhtml.end()), document);
  EXPECT_FALSE(reader.failure());
  ASSERT_EQ(records->size(), 1000u);
  int depth = 0;
  long shapes = 0;
  const std::function<void(const platform::DictRef&, int)> walk = [&](const platform::DictRef& group, int level) {
    depth = std::max(depth, level);
    for (const platform::Value& item : *group->array("items")) {
      const platform::DictRef record = item.dictionary();
      if (record->get("type").intValue() == 3) {
        walk(record, level + 1);
      } else {
        ++shapes;
      }
    }
  };
  for (const platform::Value& record : *records) walk(record.dictionary(), 1);
  EXPECT_LE(depth, VDSVGParser::kDeepestGroup);
  EXPECT_EQ(shapes, 1000);
}

}  // namespace
