// The CorelDRAW converter: draftwork-cdr2svg DRAWING IMAGE-FOLDER writes the drawing's XHTML drawing page to its
// standard output and its pictures into the folder. It exits with 0, or with the error's code after saying why.

#include <cstdio>

#include "io/cdr/CDR2SVG.h"
#include "io/cdr/TMPManager.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: draftwork-cdr2svg DRAWING IMAGE-FOLDER\n");
    return 2;
  }
  TMPManager::instance().setFolder(argv[2]);
  CDR2SVG converter(argv[1]);
  const platform::Status converted = converter.convertToSVG();
  if (!converted) {
    std::fprintf(stderr, "draftwork-cdr2svg: %s\n", converted.error().description.c_str());
    return static_cast<int>(converted.error().code);
  }
  const platform::Bytes& page = converter.svgData();
  if (std::fwrite(page.data(), 1, page.size(), stdout) != page.size() || std::fflush(stdout) != 0) return 1;
  return 0;
}
