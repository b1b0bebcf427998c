// Every output format read back by an outside reader (poppler, ghostscript, rsvg-convert, ImageMagick, libxml2's
// xmllint), and the canvas, compared with our own PNG render of the page or with hand-computed text; no export changes
// the document.

#include <clocale>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "canvas_page.h"
#include "document/CMCaches.h"
#include "export_tools.h"
#include "io/export/CMExportManager.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/export/CMSVGOutputFormat.h"
#include "platform/core/keyed_archive.h"
#include "platform/ui/pop_up_button.h"

namespace {

using namespace export_testing;

struct Format {
  int tag;
  std::string extension, magic;
  // Turns the export (%1) into a picture file (%2); empty when ImageMagick reads the export itself.
  std::string render;
  bool keepsAlpha;
};
const std::vector<Format> kFormats{
    {1, "pdf", "%PDF-", "pdftoppm -r 72 -png -singlefile %1 %2 && mv %2.png %2", false},
    {2, "eps", "%!PS-Adobe-3.0 EPSF-3.0",
     "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pngalpha -r72 -sOutputFile=%2 %1", false},
    {3, "tiff", "", "", true}, {4, "png", "\x89PNG\r\n\x1a\n", "", true}, {5, "jpeg", "\xff\xd8\xff", "", false},
    {8, "svg", "<?xml", "rsvg-convert -w 400 -h 300 -o %2 %1", true}, {9, "gif", "GIF8", "", true},
    {10, "bmp", "BM", "", false}};

class ExportOutputTest : public ::testing::Test {
 protected:
  ~ExportOutputTest() override {
    CMCaches::sharedCaches().clean();
    std::setlocale(LC_ALL, "C");
  }
  // The page exported through the export manager's pop-up choice, read back as a picture.
  Picture exported(const Format& format) {
    auto manager = std::make_shared<CMExportManager>();
    EXPECT_TRUE(manager->formatPopUp().selectItemWithTag(format.tag));
    const platform::Expected<platform::Bytes> data = manager->generate(document_);
    if (!data) return ADD_FAILURE() << format.extension << ": " << data.error().description, Picture{};
    const std::string file = (scratch_ / ("page." + format.extension)).string(), picture = file + ".png";
    writeBytes(file, data.value());
    EXPECT_EQ(readText(file).rfind(format.magic, 0), 0u) << format.extension;
    std::string command = format.render;
    for (auto at = command.find('%'); at != std::string::npos; at = command.find('%'))
      command.replace(at, 2, command[at + 1] == '1' ? file : picture);
    EXPECT_TRUE(command.empty() || run(command)) << command;
    return readPicture(command.empty() ? file : picture);
  }
  Picture ours() {
    writeBytes(scratch_ / "ours.png", CMPNGOutputFormat().generate(document_).value());
    return readPicture(scratch_ / "ours.png");
  }
  // The SVG text of the document, once xmllint has found it valid against our SVG subset schema.
  std::string svg() {
    writeBytes(scratch_ / "page.svg", CMSVGOutputFormat().generate(document_).value());
    EXPECT_TRUE(run("xmllint --noout --relaxng " DRAFTWORK_SOURCE_DIR "/tests/io/export/svg_subset.rng " +
                    (scratch_ / "page.svg").string()));
    return readText(scratch_ / "page.svg");
  }
  // What libxml2's reader makes of the SVG file.
  std::string xpath(const std::string& expression) {
    return outputOf("xmllint --xpath \"" + expression + "\" " + (scratch_ / "page.svg").string());
  }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder scratch_;
  CMDocument document_;
};

TEST_F(ExportOutputTest, EveryFormatShowsOurPageAndLeavesTheDocumentAlone) {
  sceneA(document_);
  // Shadows down and right of the oval and of a text, blurred: where the page draws them, the canvas and every format
  // draw them too, rsvg-convert through the SVG's filters.
  const DictRef shadow = Dictionary::make({{"use", true}, {"alpha", 0.8}, {"blurRadius", 8.0}, {"offset_x", 10.0},
                                           {"offset_y", 10.0}, {"color", Dictionary::make({{"b", 255}})}});
  DictRef text = document_.createObject("text", {150, 100});
  text->set("text", "Hg");
  text->dictionary("style")->set("shadow", shadow);
  document_.data()->array("layers")->at(1).dictionary()->dictionary("shape")->set("shadow", shadow);
  addLayer(document_, text);
  svg();  // the filters valid as written
  document_.undoManager().regUndoDictionary(1, document_.data()->array("layers")->at(0).dictionary());
  const bool edited = document_.isDocumentEdited();
  const platform::Bytes before = platform::archivedDataWithRootObject(platform::Value(document_.data()));
  const Picture reference = ours();
  for (const Format& format : kFormats) {
    const Picture theirs = exported(format);
    ASSERT_FALSE(theirs.rgba.empty()) << format.extension;
    // GIF keeps 256 colours and JPEG blurs edges: they get looser bounds; lossless rasters must match.
    const bool lossy = format.tag == 5 || format.tag == 9;
    const auto [over32, over128, meanError, worst] = differingShares(reference, theirs);
    EXPECT_LE(over32, lossy ? 0.06 : 0.02) << format.extension;
    EXPECT_LE(over128, lossy ? 0.01 : 0.002) << format.extension;
    EXPECT_LE(format.tag == 9 ? 0 : meanError, 4) << format.extension;  // JPEG at its starting quality, 0.9
    EXPECT_LE(format.render.empty() && !lossy ? worst : 0, 1) << format.extension;
    EXPECT_EQ(platform::archivedDataWithRootObject(platform::Value(document_.data())), before) << format.extension;
    EXPECT_TRUE(document_.undoManager().undoCount() == 1 && document_.isDocumentEdited() == edited);
  }
  const auto [over32, over128, meanError, worst] = differingShares(reference, canvasPage(document_, scratch_));
  EXPECT_TRUE(over32 <= 0.02 && over128 <= 0.002 && meanError <= 4) << over32 << " " << over128 << " " << meanError;
  const Picture gif = readPicture(scratch_ / "page.gif");
  const std::string tiff = readText(scratch_ / "page.tiff").substr(0, 4);
  for (auto [x, y] : {std::pair{190, 70}, {310, 75}, {270, 185}})
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(gif.onWhite(x, y, c), reference.onWhite(x, y, c), 8);
  EXPECT_TRUE(tiff == std::string("II*\0", 4) || tiff == std::string("MM\0*", 4));
  EXPECT_NE(readText(scratch_ / "page.eps").find("%%BoundingBox: 0 0 400 300"), std::string::npos);
  EXPECT_TRUE(run("pdfinfo " + (scratch_ / "page.pdf").string() + " | grep -q 'Page size: *400 x 300 pts'"));
  // A transparent page: kept where the file has alpha, white where it has none.
  setPage(document_, 400, 300, 255, 255, 255, 0);
  for (const Format& format : kFormats) {
    const Picture page = exported(format);
    EXPECT_EQ(page.at(5, 5, 3), format.keepsAlpha ? 0 : 255) << format.extension;
    EXPECT_EQ(page.at(5, 5, 0), format.keepsAlpha ? page.at(5, 5, 0) : 255) << format.extension;
  }
}

TEST_F(ExportOutputTest, AnOutlinedTextIsDrawnAsOnOurPageInEveryFormat) {
  setPage(document_, 400, 300, 255, 255, 255, 255);
  const DictRef text = document_.createObject("text", {30, 60});
  text->set("text", "HIT");
  const DictRef style = text->dictionary("style");
  style->set("fontName", "DejaVuSans-Bold");
  style->set("fontSize", 120.0f);
  style->set("foregroundColor", Dictionary::make({{"r", 0}, {"g", 0}, {"b", 255}, {"a", 255}}));
  // A red line 6 units wide over the blue fill.
  style->set("strokeWidth", -5.0f);
  style->set("strokeColor", Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}, {"a", 255}}));
  addLayer(document_, text);
  const auto redPixels = [](const Picture& picture) {
    int count = 0;
    for (int p = 0; p < 400 * 300; ++p)
      count += picture.onWhite(p % 400, p / 400, 0) > 200 && std::max(picture.onWhite(p % 400, p / 400, 1),
                                                                      picture.onWhite(p % 400, p / 400, 2)) < 80;
    return count;
  };
  const Picture reference = ours();
  const int red = redPixels(reference);
  ASSERT_GT(red, 1000);
  for (const Format& format : kFormats) {
    const Picture theirs = exported(format);
    ASSERT_FALSE(theirs.rgba.empty()) << format.extension;
    EXPECT_NEAR(redPixels(theirs), red, red * 0.2) << format.extension;
    EXPECT_LE(differingShares(reference, theirs)[1], 0.01) << format.extension;
  }
  // 5 % of 120 units.
  svg();
  EXPECT_EQ(xpath("string(//*[local-name()='text']/@stroke-width)"), "6\n");
}

// Gradients moved with the canvas's handles: a linear one shifted and narrowed, at half opacity, its stops stored out
// of order and the first one's midpoint moved; one at 30° on a turned layer; radial ones with their centres and radii
// moved in boxes wide, tall, square and turned, and on a wide stroke, whose box takes in the stroke's width.
TEST_F(ExportOutputTest, GradientsRunAsOnOurPageInEveryVectorFormat) {
  setPage(document_, 400, 300, 255, 255, 255, 255);
  const auto stop = [](double pos) { return Dictionary::make({{"pos", pos}, {"red", 1 - pos}, {"blue", pos}}); };
  const struct {
    platform::Rect frame;
    int type;
    double fx, fy, factor, rotate, alpha, lineWidth;
  } shapes[] = {{{20, 20, 100, 80}, 0, 0.15, 0, 0.5, 0, 0.5, 0},    {{140, 20, 100, 80}, 2, 0.15, 0, 0.5, 30, 1, 0},
                {{260, 20, 120, 80}, 1, 0.2, -0.15, 0.6, 0, 1, 0},  {{20, 130, 60, 140}, 1, -0.1, 0.25, 1.7, 0, 1, 0},
                {{110, 140, 140, 100}, 1, -0.2, 0.1, 0.8, 30, 1, 0}, {{280, 140, 90, 90}, 1, 0.1, 0.1, 0.4, 0, 1, 0},
                {{285, 250, 90, 35}, 1, 0.2, 0, 0.5, 0, 1, 10}};
  for (const auto& shape : shapes) {
    const DictRef first = stop(0);
    if (shape.type == 0) first->set("mix", 0.2);
    const DictRef paint = Dictionary::make(
        {{"use", true}, {"type", 3}, {"alpha", shape.alpha}, {"lineWidth", shape.lineWidth},
         {"gradient", Dictionary::make({{"type", shape.type}, {"angle", 30.0}, {"fx", shape.fx}, {"fy", shape.fy},
                                        {"radius_factor", shape.factor},
                                        {"markers", platform::Array::make({stop(1), first})}})}});
    const DictRef record = rectangleRecord(1, shape.frame, 0, 0, 0);
    record->set("rotate", shape.rotate);
    addLayer(document_, shape.lineWidth > 0 ? styled(record, nullptr, paint) : styled(record, paint, nullptr));
  }
  const Picture reference = ours();
  for (const Format& format : kFormats) {
    if (format.tag > 2 && format.tag != 8) continue;
    const Picture theirs = exported(format);
    ASSERT_FALSE(theirs.rgba.empty()) << format.extension;
    const auto [over32, over128, meanError, worst] = differingShares(reference, theirs);
    // Ghostscript smooths the turned shapes' edges its own way.
    EXPECT_LE(over32, 0.01) << format.extension;
    EXPECT_LE(meanError, 1.5) << format.extension;
  }
}

TEST_F(ExportOutputTest, UnusablePagesAndFormatsWithoutOutputAreErrors) {
  auto manager = std::make_shared<CMExportManager>();
  manager->formatPopUp().addItemWithTitle("PSD");
  manager->formatPopUp().setTagOfItemAtIndex(8, 6);
  ASSERT_TRUE(manager->formatPopUp().selectItemWithTag(6));
  EXPECT_FALSE(manager->generate(document_).ok());
  // Pictures stop at 32767 pixels a side, PDF and EPS at 14400 points (what their readers take), SVG takes any
  // finite positive page.
  struct Limits {
    double side;
    bool raster, page, svg;
  };
  for (const Limits& limits : {Limits{0, false, false, false}, {-5, false, false, false},
                               {std::nan(""), false, false, false}, {INFINITY, false, false, false},
                               {1e9, false, false, true}, {14401, true, false, true}, {14400, true, true, true}}) {
    setPage(document_, limits.side, 30, 255, 255, 255, 255);
    for (const Format& format : kFormats) {
      ASSERT_TRUE(manager->formatPopUp().selectItemWithTag(format.tag));
      const platform::Expected<platform::Bytes> data = manager->generate(document_);
      EXPECT_EQ(data.ok(), format.tag == 8 ? limits.svg : format.tag <= 2 ? limits.page : limits.raster)
          << format.extension << " " << limits.side;
      if (data && format.tag == 2) {
        const std::string eps(data.value().begin(), data.value().end());
        EXPECT_NE(eps.find("%%BoundingBox: 0 0 14400 30\n"), std::string::npos);
      }
    }
  }
}

// Page colours opaque, translucent and transparent under paints that carry no "alpha" of their own: rsvg-convert's
// picture of the SVG file and our own render agree, alpha included.
TEST_F(ExportOutputTest, SVGShowsThePageColourAndPaintsWithoutAlphaAsOurPageDoes) {
  const Format& svgFormat = kFormats[5];
  for (const int pageAlpha : {255, 128, 0}) {
    setPage(document_, 400, 300, 250, 230, 120, pageAlpha);
    DictRef fill = paint(30, 160, 60, 1), line = paint(20, 20, 120, 1, 10);
    fill->remove("alpha");
    line->remove("alpha");
    addLayer(document_, styled(document_.createObject("rect", {100, 100}), fill, line));
    const Picture reference = ours(), theirs = exported(svgFormat);
    ASSERT_FALSE(theirs.rgba.empty());
    // A page corner, the fill and the stroke.
    for (auto [x, y] : {std::pair{5, 5}, {150, 150}, {100, 150}})
      for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(theirs.at(x, y, c), reference.at(x, y, c), 3) << pageAlpha << " " << x << "," << y << " " << c;
  }
}

TEST_F(ExportOutputTest, SVGShapesStylesAndGradientsInAnyLocale) {
  setPage(document_, 800, 600, 255, 255, 255, 255);
  DictRef bezier = styled(polyline({{{0, 0}, {0, 50}, {100, 50}}}, true), paint(255, 0, 16, 1),
                          Dictionary::make({{"type", 0}}));
  bezier->set("x", 10);
  bezier->set("y", 20);
  bezier->set("shape_type", 0);
  bezier->dictionary("shape")->set("isbezier", true);
  const auto gradient = [](int type) {
    DictRef stop = Dictionary::make({{"pos", 0.25}, {"red", 2.0}});
    DictRef gradient =
        Dictionary::make({{"type", type}, {"radius_factor", 0.5}, {"markers", platform::Array::make({stop})}});
    return Dictionary::make({{"type", 3}, {"lineWidth", 2}, {"gradient", gradient}});
  };
  DictRef hidden = document_.createObject("rect", {0, 0}), hiddenGroup = document_.createGroup();
  hidden->set("visible", false);
  hiddenGroup->set("visible", false);
  hiddenGroup->array("items")->add(document_.createObject("rect", {0, 0}));
  const DictRef painted = styled(document_.createObject("oval", {5, 5}), gradient(0), gradient(1));
  for (const DictRef& record : {bezier, painted, hidden, hiddenGroup, document_.createObject("image", {1, 1})})
    addLayer(document_, record);
  for (const char* locale : {"C", "de_DE.UTF-8"}) {
    ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << "locales-all is needed";
    const std::string text = svg();
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg \n \t width = "
                         "\"800.000000\" \n \t height = \"600.000000\" \n", 0), 0u);
    for (const char* part : {"<path  style=\"fill:#ff0010;fill-opacity:1.00;fill-rule:evenodd;\" \n d=\"M10.000000,"
                             "20.000000 L10.000000,70.000000 L110.000000,70.000000 z \"  />\n<defs>",
                             "<linearGradient id=\"grad1\" >", "xlink:href=\"#grad1\" id=\"grad2\"",
                             "fill: url(#grad2); stroke:url(#grad3);", // The stroke's gradient about the middle of the 100 × 100 oval at (5, 5), its radius half of half the
                             // diagonal of the stroke's box, 102 wide.
                             "<radialGradient id=\"grad3\" cx=\"55.000000\" cy=\"55.000000\" r=\"36.06",
                             "gradientTransform=\"matrix(1.000000 0 0 1.000000 0 0)\" gradientUnits=\"userSpaceOnUse\">",
                             "<stop offset=\"25.0000%\" stop-color=\"#ff0000\" stop-opacity=\"1.0000\"/>",
                             "  />\n</svg>\n"})
      EXPECT_NE(text.find(part), std::string::npos) << part;
    EXPECT_EQ(text.find("<path", text.find("grad3")), text.rfind("<path"));  // nothing hidden, no image
    EXPECT_EQ(text.find("<g>"), std::string::npos);
  }
}

TEST_F(ExportOutputTest, SVGTextAndFontNamesReadBackAsWritten) {
  DictRef text = document_.createObject("text", {12, 40});
  text->set("text", "Tom & Jerry <3 \x01\"quoted\"");
  text->dictionary("style")->set("fontName", "A&B <Sans>");
  text->dictionary("style")->set("underlilneStyle", 1);
  text->set("rotate", 90.0);
  text->set("alpha", 0.25);
  addLayer(document_, text);
  EXPECT_NE(svg().find("opacity=\"0.2500\"  >\n<tspan style=\"text-decoration: underline;\">"), std::string::npos);
  EXPECT_EQ(xpath("string(//*[local-name()='text'])"), "\nTom & Jerry <3 \"quoted\"\n");
  EXPECT_EQ(xpath("string(//*[local-name()='text']/@style)"), "font-family: A&B <Sans>\n");
}

}  // namespace
