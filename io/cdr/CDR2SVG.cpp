#include "io/cdr/CDR2SVG.h"

#include <libcdr/libcdr.h>

#include "io/cdr/CMSVGDrawingGenerator.h"

namespace {

platform::Error conversionError(int code, const char* description) {
  return platform::Error::make(platform::Error::cocoaDomain, code, description);
}

}  // namespace

platform::Status CDR2SVG::convertToSVG() {
  // libcdr would wait forever on a pipe and fail on a folder; only a regular file is opened.
  std::error_code failed;
  if (std::filesystem::is_regular_file(filePath_, failed)) {
    librevenge::RVNGFileStream input(filePath_.c_str());
    if (libcdr::CDRDocument::isSupported(&input) && parseSvg(input)) return platform::success();
  }
  return conversionError(kUnsupportedFormat, "Unsupported file format!");
}

platform::Status CDR2SVG::parseSvg(librevenge::RVNGInputStream& input) {
  librevenge::RVNGStringVector pages;
  CMSVGDrawingGenerator generator(pages, "");
  if (!libcdr::CDRDocument::parse(&input, &generator)) {
    return conversionError(kGenerationFailed, "SVG Generation failed!");
  }
  if (pages.empty()) return conversionError(kGenerationFailed, "No SVG document generated!");
  const std::string page = xhtmlDrawingPage(pages);
  svgData_.assign(page.begin(), page.end());
  return platform::success();
}

std::string xhtmlDrawingPage(const librevenge::RVNGStringVector& pages) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
      "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:svg=\"http://www.w3.org/2000/svg\" "
      "xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"
      "<body>\n"
      "<?import namespace=\"svg\" urn=\"http://www.w3.org/2000/svg\"?>\n";
  for (unsigned i = 0; i < pages.size(); ++i) {
    if (i > 0) out += "<hr/>\n";
    out +=
        "<!-- \n"
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n"
        " -->\n";
    out += pages[i].cstr();
    out += '\n';
  }
  out += "</body>\n</html>\n";
  return out;
}
