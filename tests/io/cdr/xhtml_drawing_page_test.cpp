// The XHTML drawing page the pages are joined into: its exact header, the declarations of each page, the rules
// between pages, and two outside readers: xmllint for the whole page, rsvg-convert for each page cut out of it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "../../platform/core/scratch_folder.h"
#include "cdr_test_support.h"
#include "io/cdr/CDR2SVG.h"
#include "io/cdr/CMSVGDrawingGenerator.h"

namespace {

using cdr_testing::lengths;
using cdr_testing::pathOf;

TEST(XhtmlDrawingPageTest, ThreePagesAreJoinedUnderTheHeaderWithRulesBetweenThem) {
  librevenge::RVNGStringVector pages;
  CMSVGDrawingGenerator generator(pages, "");
  for (int i = 1; i <= 3; ++i) {
    generator.startPage(lengths({{"svg:width", {1.0 * i}}, {"svg:height", {1}}}));
    librevenge::RVNGPropertyList style;
    style.insert("draw:fill", "solid");
    style.insert("draw:fill-color", "#ff0000");
    generator.setStyle(style);
    generator.openGroup({});
    generator.drawPath(pathOf({{"M", {{"svg:x", {0}}, {"svg:y", {0}}}},
                               {"L", {{"svg:x", {0.5 * i}}, {"svg:y", {0}}}},
                               {"L", {{"svg:x", {0.5 * i}}, {"svg:y", {0.5}}}},
                               {"Z", {}}}));
    generator.closeGroup();
    generator.endPage();
  }
  ASSERT_EQ(pages.size(), 3u);
  const std::string page = xhtmlDrawingPage(pages);

  const std::string svgNamespace = "\"http://www.w3.org/2000/svg\"";
  const std::string header = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") +
                             "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" " +
                             "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\"" + ">\n" + "<html" +
                             " xmlns=\"http://www.w3.org/1999/xhtml\"" + " xmlns:svg=" + svgNamespace +
                             " xmlns:xlink=\"http://www.w3.org/1999/xlink\"" + ">\n" + "<body>\n" +
                             "<?import namespace=\"svg\" urn=" + svgNamespace + "?>\n";
  ASSERT_EQ(page.substr(0, header.size()), header);
  const std::string declarations = std::string("<!-- \n") +
                                   "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n" +
                                   "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" " +
                                   "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n" + " -->\n";
  const std::string expected = header + declarations + pages[0].cstr() + "\n" + "<hr/>\n" + declarations +
                               pages[1].cstr() + "\n" + "<hr/>\n" + declarations + pages[2].cstr() + "\n" +
                               "</body>\n</html>\n";
  EXPECT_EQ(page, expected);
  EXPECT_EQ(cdr_testing::occurrences(page, "<hr/>"), 2u);

  platform::testing::ScratchFolder folder;
  const std::filesystem::path file = folder / "page.xhtml";
  std::ofstream(file, std::ios::binary) << page;
  EXPECT_EQ(std::system(("xmllint --noout --nonet " + file.string()).c_str()), 0);

  // Each page's root element, with the svg prefix its wrapper group uses bound, is an SVG file rsvg-convert draws.
  for (unsigned i = 0; i < 3; ++i) {
    std::string svg = pages[i].cstr();
    svg = svg.substr(0, svg.find("</svg>\n") + 7);
    svg.insert(svg.find(" version="), " xmlns:svg=" + svgNamespace);
    const std::filesystem::path cut = folder / ("page" + std::to_string(i) + ".svg");
    const std::filesystem::path png = folder / ("page" + std::to_string(i) + ".png");
    std::ofstream(cut, std::ios::binary) << svg;
    ASSERT_EQ(std::system(("rsvg-convert -o " + png.string() + " " + cut.string()).c_str()), 0) << svg;
    EXPECT_GT(std::filesystem::file_size(png), 0u);
  }
}

}  // namespace
