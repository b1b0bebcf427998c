// What a PDF or EPS page holds as pictures, counted and measured by poppler's pdfimages (the EPS through
// ghostscript's PDF writer): gradients stay vectors, and a shadow's blur, which needs pixels, is a picture at print
// resolution; the page still looks like our own render.

#include <sstream>

#include "document/CMCaches.h"
#include "export_tools.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/export/CMVectorOutputFormats.h"

namespace {

using namespace export_testing;

struct PageImage {
  int width = 0, height = 0, ppi = 0;
};

// The images pdfimages lists (their soft masks left out), each with its size and horizontal resolution.
std::vector<PageImage> imagesIn(const std::filesystem::path& pdf) {
  std::istringstream list(
      outputOf("pdfimages -list '" + pdf.string() + "' | awk '$3 == \"image\" {print $4, $5, $13}'"));
  std::vector<PageImage> images;
  for (PageImage image; list >> image.width >> image.height >> image.ppi;) images.push_back(image);
  return images;
}

struct Case {
  const char* name;
  bool shadow;
  std::size_t pictures;  // in the PDF, each at 300 ppi
  // Listed by name: the default printer's bytes hold a pointer, which changes from run to run.
  friend void PrintTo(const Case& shown, std::ostream* out) { *out << shown.name; }
};

class PagePicturesTest : public ::testing::TestWithParam<Case> {
 protected:
  ~PagePicturesTest() override { CMCaches::sharedCaches().clean(); }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder scratch_;
  CMDocument document_;
};

TEST_P(PagePicturesTest, GradientsStayVectorsAndShadowsArePrintResolutionPictures) {
  setPage(document_, 400, 300, 255, 255, 255, 255);
  const auto stop = [](double pos) { return Dictionary::make({{"pos", pos}, {"red", 1 - pos}, {"blue", pos}}); };
  // 100-pt squares: at 30°, at 30° turned and translucent with a gradient stroke, and a flat green one.
  const DictRef angled =
      Dictionary::make({{"type", 2}, {"angle", 30.0}, {"markers", platform::Array::make({stop(0), stop(1)})}});
  const auto gradientPaint = [&](double alpha, double width) {
    return Dictionary::make({{"use", true}, {"type", 3}, {"alpha", alpha}, {"lineWidth", width}, {"gradient", angled}});
  };
  const DictRef squares[] = {
      styled(document_.createObject("rect", {30, 30}), gradientPaint(1, 0), nullptr),
      styled(document_.createObject("rect", {160, 160}), gradientPaint(1, 0), gradientPaint(1, 6)),
      styled(document_.createObject("rect", {250, 30}), paint(30, 160, 60, 1), nullptr)};
  squares[1]->set("rotate", 20.0);
  squares[1]->set("alpha", 0.6);
  for (const DictRef& square : squares) {
    if (GetParam().shadow) {
      square->dictionary("shape")->set(
          "shadow", Dictionary::make({{"use", true}, {"blurRadius", 4.0}, {"offset_x", 6.0}, {"offset_y", 6.0},
                                      {"color", Dictionary::make({{"r", 0}, {"g", 0}, {"b", 0}, {"a", 255}})}}));
    }
    addLayer(document_, square);
  }
  writeBytes(scratch_ / "page.pdf", CMPDFOutputFormat().generate(document_).value());
  writeBytes(scratch_ / "page.eps", CMEPSOutputFormat().generate(document_).value());
  ASSERT_TRUE(run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pdfwrite -sOutputFile='" +
                  (scratch_ / "eps.pdf").string() + "' '" + (scratch_ / "page.eps").string() + "'"));
  const std::vector<PageImage> pdf = imagesIn(scratch_ / "page.pdf");
  EXPECT_EQ(pdf.size(), GetParam().pictures);
  for (const std::filesystem::path& file : {scratch_ / "page.pdf", scratch_ / "eps.pdf"}) {
    for (const PageImage& image : imagesIn(file)) EXPECT_GE(image.ppi, 299) << file << " " << image.width;
  }
  writeBytes(scratch_ / "ours.png", CMPNGOutputFormat().generate(document_).value());
  ASSERT_TRUE(run("pdftoppm -r 72 -png -singlefile '" + (scratch_ / "page.pdf").string() + "' '" +
                  (scratch_ / "pdf").string() + "'"));
  const Picture ours = readPicture(scratch_ / "ours.png"), theirs = readPicture(scratch_ / "pdf.png");
  ASSERT_FALSE(ours.rgba.empty() || theirs.rgba.empty());
  // The gradient's thirds, the turned square's middle, the green square and, with a shadow, its right-hand shadow.
  for (auto [x, y] : {std::pair{47, 80}, {80, 80}, {113, 80}, {210, 210}, {300, 80}, {353, 80}})
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(theirs.onWhite(x, y, c), ours.onWhite(x, y, c), 40) << x << "," << y;
}

// Without a shadow nothing is a picture; with one, each square's shadow is (its content stays a drawing).
INSTANTIATE_TEST_SUITE_P(Shadows, PagePicturesTest,
                         ::testing::Values(Case{"none", false, 0}, Case{"shadowed", true, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
