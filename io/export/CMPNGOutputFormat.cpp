#include "io/export/CMPNGOutputFormat.h"

platform::Expected<platform::Bytes> CMPNGOutputFormat::generate(CMDocument& document) {
  return CMBaseOutputFormat::generate(document);
}

platform::Expected<platform::Bytes> CMPNGOutputFormat::convertImageToData(platform::Image image) {
  // Lossless: the compression factor only matters to JPEG.
  return image.representation(platform::ImageFileType::Png, 1.0);
}
