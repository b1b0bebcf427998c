#pragma once

// The common part of every output format: its own drawer, and the raster road shared by the image formats (the
// page drawn into an image at one point a pixel, then handed to the format for its file type). Each format object
// is made for one export and used once.

#include <cstdint>
#include <memory>
#include <string_view>

#include "document/CMDrawer.h"
#include "platform/core/error.h"
#include "platform/core/value.h"
#include "platform/graphics/image.h"

class CMDocument;

class CMBaseOutputFormat {
 public:
  CMBaseOutputFormat() = default;
  virtual ~CMBaseOutputFormat() = default;
  CMBaseOutputFormat(const CMBaseOutputFormat&) = delete;
  CMBaseOutputFormat& operator=(const CMBaseOutputFormat&) = delete;

  // The file data of the document's page ("width" by "height" of its root record), background and layers without
  // editing marks; where the page colour is transparent the image is too. A page side that is not positive or
  // past the image limits is an error, found before any pixel is allocated.
  virtual platform::Expected<platform::Bytes> generate(CMDocument& document);

  // The file data of a rendered page; the base format has no file type of its own and makes none.
  virtual platform::Expected<platform::Bytes> convertImageToData(platform::Image image);

  // The raster road's resolution, one pixel a point unless set; lowered (to one at the least) where the page would
  // pass the image limits.
  void setPixelsPerPoint(double pixelsPerPoint) { pixelsPerPoint_ = pixelsPerPoint; }

  // The code of the errors that say which page size or limit stops a format from writing the page; the export's
  // alert shows their description.
  static constexpr std::int64_t kPageSizeError = 2;

  // The page's "width" and "height"; an error when a side is not a positive number of at most `largestSide`, the
  // limit of the format named `formats`.
  static platform::Expected<platform::Size> pageSize(const CMDocument& document, double largestSide,
                                                     std::string_view formats);

  // A document of its own holding a deep copy of the page, for the drawer and views to work on: building and
  // drawing layer objects writes flags and options into records, and an export must leave the user's alone.
  static std::shared_ptr<CMDocument> detachedCopy(const CMDocument& document);

 private:
  CMDrawer drawer_;
  double pixelsPerPoint_ = 1;
};
