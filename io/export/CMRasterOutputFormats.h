#pragma once

// The raster file types beside PNG: the page rendered on the raster road, then written as JPEG (at a quality),
// TIFF, GIF or BMP. TIFF keeps alpha and GIF one transparent colour; JPEG and BMP have no alpha and are laid onto
// white, as a page printed on paper would be.

#include "io/export/CMBaseOutputFormat.h"

class CMJPEGOutputFormat final : public CMBaseOutputFormat {
 public:
  // `quality`: the compression factor, 0 (smallest file) to 1 (best picture).
  explicit CMJPEGOutputFormat(float quality) : quality_(quality) {}
  platform::Expected<platform::Bytes> convertImageToData(platform::Image image) override;

 private:
  float quality_;
};

class CMTIFFOutputFormat final : public CMBaseOutputFormat {
 public:
  platform::Expected<platform::Bytes> convertImageToData(platform::Image image) override;
};

class CMGIFOutputFormat final : public CMBaseOutputFormat {
 public:
  platform::Expected<platform::Bytes> convertImageToData(platform::Image image) override;
};

class CMBMPOutputFormat final : public CMBaseOutputFormat {
 public:
  platform::Expected<platform::Bytes> convertImageToData(platform::Image image) override;
};
