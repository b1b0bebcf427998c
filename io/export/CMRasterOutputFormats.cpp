#include "io/export/CMRasterOutputFormats.h"

#include <cairo.h>

#include <memory>

#include "platform/graphics/image_codecs.h"

namespace {

// The encoders write the colours of formats without alpha as if laid over black; the page goes onto white first.
platform::Expected<platform::Bytes> encodedOnWhite(const platform::Image& image, platform::ImageFileType type,
                                                   double compressionFactor) {
  cairo_surface_t* pixels = image.surface().get();
  const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> flat(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, cairo_image_surface_get_width(pixels),
                                 cairo_image_surface_get_height(pixels)),
      cairo_surface_destroy);
  cairo_t* cr = cairo_create(flat.get());
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_surface(cr, pixels, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return platform::encodeImage(flat.get(), type, compressionFactor);
}

}  // namespace

platform::Expected<platform::Bytes> CMJPEGOutputFormat::convertImageToData(platform::Image image) {
  return encodedOnWhite(image, platform::ImageFileType::Jpeg, quality_);
}

platform::Expected<platform::Bytes> CMTIFFOutputFormat::convertImageToData(platform::Image image) {
  return platform::encodeImage(image.surface().get(), platform::ImageFileType::Tiff, 1.0);
}

platform::Expected<platform::Bytes> CMGIFOutputFormat::convertImageToData(platform::Image image) {
  return platform::encodeImage(image.surface().get(), platform::ImageFileType::Gif, 1.0);
}

platform::Expected<platform::Bytes> CMBMPOutputFormat::convertImageToData(platform::Image image) {
  return encodedOnWhite(image, platform::ImageFileType::Bmp, 1.0);
}
