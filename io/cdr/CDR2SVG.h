#pragma once

// A CorelDRAW drawing converted to SVG: libcdr reads the file into the drawing generator, which writes one SVG
// page per drawing page, and the pages are joined into one XHTML drawing page (UTF-8) that the SVG reader reads.
// Failures are errors in the Cocoa domain: 10 "Unsupported file format!" for anything the conversion cannot read.

#include <librevenge-stream/librevenge-stream.h>
#include <librevenge/librevenge.h>

#include <filesystem>

#include "platform/core/error.h"
#include "platform/core/value.h"

class CDR2SVG {
 public:
  static constexpr int kUnsupportedFormat = 10;
  static constexpr int kGenerationFailed = 11;

  explicit CDR2SVG(std::filesystem::path filePath) : filePath_(std::move(filePath)) {}

  // The whole conversion; on success svgData() holds the page. Any failure is code 10.
  platform::Status convertToSVG();
  // Parses the open stream into the generator and joins its pages: code 11 when libcdr fails or no page came.
  platform::Status parseSvg(librevenge::RVNGInputStream& input);

  const platform::Bytes& svgData() const { return svgData_; }

 private:
  std::filesystem::path filePath_;
  platform::Bytes svgData_;
};

// The XHTML page holding the SVG pages, each after its own declarations (kept in a comment), separated by "<hr/>".
std::string xhtmlDrawingPage(const librevenge::RVNGStringVector& pages);
