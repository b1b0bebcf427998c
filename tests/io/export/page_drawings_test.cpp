// PDF and EPS pages hold drawings, not pictures: no image for a layer without blur, text kept as text, lines sharp at
// a printer's resolution; a blurred layer is a picture at print resolution; printing draws the page image at 300 ppi,
// at the page's size.
// Read back with poppler (pdfimages, pdftotext, pdffonts, pdftoppm) and Ghostscript.

#include <gtkmm/window.h>

#include <sstream>
#include <string>
#include <vector>

#include "document/CMCaches.h"
#include "export_tools.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/export/CMVectorOutputFormats.h"
#include "ui/CMDocumentPrinting.h"

namespace {

using namespace export_testing;

struct ListedImage {
  int width, height, xPpi;
};

// The images `pdfimages -list` finds in the PDF, soft masks among them.
std::vector<ListedImage> imagesIn(const std::filesystem::path& pdf) {
  std::istringstream lines(outputOf("pdfimages -list '" + pdf.string() + "'"));
  std::vector<ListedImage> images;
  std::string line;
  for (int row = 0; std::getline(lines, line); ++row) {
    if (row < 2) continue;  // the heading and its rule
    std::istringstream fields(line);
    std::string page, number, type, colour, components, bits, encoding, interpolate, object, generation;
    ListedImage image{};
    fields >> page >> number >> type >> image.width >> image.height >> colour >> components >> bits >> encoding >>
        interpolate >> object >> generation >> image.xPpi;
    images.push_back(image);
  }
  return images;
}

class PageDrawingsTest : public ::testing::Test {
 protected:
  PageDrawingsTest() { setPage(document_, 400, 300, 255, 255, 255, 255); }
  ~PageDrawingsTest() override { CMCaches::sharedCaches().clean(); }

  std::filesystem::path pdf() {
    writeBytes(scratch_ / "page.pdf", CMPDFOutputFormat().generate(document_).value());
    return scratch_ / "page.pdf";
  }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder scratch_;
  CMDocument document_;
};

TEST_F(PageDrawingsTest, LayersWithoutBlurStayDrawingsAndTextStaysText) {
  sceneA(document_);
  DictRef text = document_.createObject("text", {150, 120});
  text->set("text", "Draftwork 42");
  addLayer(document_, text);
  const std::filesystem::path file = pdf();
  EXPECT_TRUE(imagesIn(file).empty()) << outputOf("pdfimages -list '" + file.string() + "'");
  EXPECT_NE(outputOf("pdftotext '" + file.string() + "' -").find("Draftwork 42"), std::string::npos);
  const std::string fonts = outputOf("pdffonts '" + file.string() + "'");
  EXPECT_GE(std::count(fonts.begin(), fonts.end(), '\n'), 3) << fonts;  // the heading, its rule and a font
}

TEST_F(PageDrawingsTest, ALineOfOnePointHasSharpEdgesAtPrinterResolution) {
  addLayer(document_, styled(polyline({{{50, 150}, {350, 150}}}, false), nullptr, paint(0, 0, 0, 1, 1)));
  writeBytes(scratch_ / "page.eps", CMEPSOutputFormat().generate(document_).value());
  EXPECT_EQ(readText(scratch_ / "page.eps").find("/ImageType"), std::string::npos);  // no picture in the EPS
  const std::string out = (scratch_ / "600").string();
  for (const std::string& command :
       {"pdftoppm -r 600 -gray -singlefile '" + pdf().string() + "' " + out + " && mv " + out + ".pgm " + out,
        "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pgmraw -r600 -sOutputFile=" + out + " '" +
            (scratch_ / "page.eps").string() + "'"}) {
    ASSERT_TRUE(run(command)) << command;
    // A binary grey map: "P5", width, height, 255 (comment lines between them), then one byte a pixel.
    std::istringstream pgm(readText(out));
    std::vector<int> header;
    for (std::string token; header.size() < 4 && pgm >> token;) {
      if (token[0] == '#') {
        pgm.ignore(1 << 20, '\n');
      } else {
        header.push_back(token == "P5" ? 5 : std::atoi(token.c_str()));
      }
    }
    pgm.get();
    ASSERT_EQ(header.size(), 4u) << command;
    const int width = header[1], height = header[2];
    const std::string pixels((std::istreambuf_iterator<char>(pgm)), {});
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width) * height) << command;
    // Down the middle of the line: 600/72 = 8.3 pixels of ink, and only the edge pixels partly inked.
    int inked = 0, grey = 0;
    for (int y = 0; y < height; ++y) {
      const int value = static_cast<unsigned char>(pixels[static_cast<std::size_t>(y) * width + width / 2]);
      inked += value < 128;
      grey += value >= 32 && value < 224;
    }
    EXPECT_NEAR(inked, 9, 2) << command;  // Ghostscript widens fills by up to a pixel
    EXPECT_LE(grey, 3) << command;
  }
}

TEST_F(PageDrawingsTest, ABlurredLayerIsAPictureAtPrintResolution) {
  DictRef blurred = styled(document_.createObject("rect", {100, 100}), paint(0, 0, 200, 1), nullptr);
  blurred->dictionary("shape")->set("blur", Dictionary::make({{"amount", 0.1}}));
  addLayer(document_, blurred);
  const std::vector<ListedImage> images = imagesIn(pdf());
  ASSERT_FALSE(images.empty());
  for (const ListedImage& image : images) EXPECT_NEAR(image.xPpi, 300, 1);
}

// On paper at 300 ppi, the page's size at 100 %, with its blurred shadow as our page draws it at 72 ppi, not offset
// and blurred by as many pixels of the finer picture.
TEST_F(PageDrawingsTest, PrintingDrawsThePageImageAt300PpiAtItsSize) {
  const CMPageImageServiceFactory::Factory previous =
      CMPageImageServiceFactory::install([] { return std::make_unique<CMPNGOutputFormat>(); });
  sceneA(document_);
  for (int layer : {0, 1, 2})
    document_.data()->array("layers")->at(layer).dictionary()->dictionary("shape")->set(
        "shadow", Dictionary::make({{"use", true}, {"blurRadius", 8.0}, {"offset_x", 10.0}, {"offset_y", 10.0}}));
  Gtk::Window parent;
  const std::filesystem::path printed = scratch_ / "printed.pdf";
  const std::filesystem::path large = scratch_ / "large.pdf";
  ASSERT_TRUE(printDocument(document_, parent, Gtk::PRINT_OPERATION_ACTION_EXPORT, printed.string()).ok());
  // A page too large for a picture of 300 ppi is printed at its size all the same, from a coarser one.
  CMDocument poster;
  setPage(poster, 3000, 2000, 255, 255, 255, 255);
  const bool printedLarge = printDocument(poster, parent, Gtk::PRINT_OPERATION_ACTION_EXPORT, large.string()).ok();
  CMPageImageServiceFactory::install(previous);
  ASSERT_TRUE(printedLarge);
  ASSERT_EQ(imagesIn(large).size(), 1u);
  EXPECT_LT(imagesIn(large)[0].xPpi, 299);
  EXPECT_NEAR(imagesIn(large)[0].xPpi, imagesIn(large)[0].width / (3000 / 72.0), 1);
  const std::vector<ListedImage> images = imagesIn(printed);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].width, 1667);
  EXPECT_EQ(images[0].height, 1250);
  EXPECT_EQ(images[0].xPpi, 300);
  writeBytes(scratch_ / "ours.png", CMPNGOutputFormat().generate(document_).value());
  ASSERT_TRUE(run("cd '" + scratch_.path().string() + "' && pdfimages -png printed.pdf print && convert print-000.png "
                  "-resize 400x300! print.png"));
  const auto [over32, over128, meanError, worst] =
      differingShares(readPicture(scratch_ / "ours.png"), readPicture(scratch_ / "print.png"));
  EXPECT_TRUE(over32 <= 0.02 && over128 <= 0.002 && meanError <= 4) << over32 << " " << over128 << " " << meanError;
}

}  // namespace
