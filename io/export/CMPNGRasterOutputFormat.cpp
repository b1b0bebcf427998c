#include "io/export/CMPNGRasterOutputFormat.h"

platform::Expected<platform::Bytes> CMPNGRasterOutputFormat::generate(CMDocument& document) {
  return CMBaseOutputFormat::generate(document);
}

platform::Expected<platform::Bytes> CMPNGRasterOutputFormat::convertImageToData(platform::Image image) {
  // Lossless: the compression factor only matters to JPEG.
  return image.representation(platform::ImageFileType::Png, 1.0);
}
