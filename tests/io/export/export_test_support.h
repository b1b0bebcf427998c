#pragma once

// Pages made by hand for the output format tests, and PNG data read back through Cairo's own PNG reader (libpng),
// not through the image codecs that wrote it.

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "document/CMDocument.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "shape_layer_support.h"

namespace export_testing {

// Premultiplied components, 0…255.
struct Pixel {
  int r = 0;
  int g = 0;
  int b = 0;
  int a = 0;
};

inline bool isOpaque(const Pixel& p, int r, int g, int b) {
  return p.a == 255 && p.r == r && p.g == g && p.b == b;
}

class DecodedPng {
 public:
  // Nothing when the data is not a PNG that libpng reads.
  static std::optional<DecodedPng> read(const platform::Bytes& bytes) {
    Reader reader{&bytes};
    std::shared_ptr<cairo_surface_t> surface(cairo_image_surface_create_from_png_stream(readChunk, &reader),
                                             cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    return DecodedPng(std::move(surface));
  }

  int width() const { return cairo_image_surface_get_width(surface_.get()); }
  int height() const { return cairo_image_surface_get_height(surface_.get()); }

  // Pixel (x, y), row 0 at the top of the image.
  Pixel at(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    std::uint32_t v = 0;
    std::memcpy(&v, data + y * cairo_image_surface_get_stride(surface_.get()) + x * 4, sizeof v);
    // An opaque PNG comes back without alpha, its top byte unused.
    const bool opaque = cairo_image_surface_get_format(surface_.get()) == CAIRO_FORMAT_RGB24;
    return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF),
            opaque ? 255 : static_cast<int>(v >> 24)};
  }

 private:
  struct Reader {
    const platform::Bytes* bytes;
    std::size_t offset = 0;
  };
  static cairo_status_t readChunk(void* closure, unsigned char* data, unsigned int length) {
    auto* reader = static_cast<Reader*>(closure);
    if (reader->bytes->size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes->data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
  }

  explicit DecodedPng(std::shared_ptr<cairo_surface_t> surface) : surface_(std::move(surface)) {}

  std::shared_ptr<cairo_surface_t> surface_;
};

// A filled rectangle layer record of the given colour, no stroke, at its frame in page units (y down from the top).
inline platform::DictRef rectangleRecord(int id, const platform::Rect& frame, int r, int g, int b) {
  platform::DictRef shape = document_testing::frameShape({0, 0, frame.size.width, frame.size.height});
  shape->set("fill", platform::Dictionary::make(
                         {{"use", true},
                          {"type", 1},
                          {"alpha", 1.0},
                          {"color", platform::Dictionary::make({{"r", r}, {"g", g}, {"b", b}, {"a", 255}})}}));
  platform::DictRef record = document_testing::shapeLayerRecord(0, shape, frame.origin.x, frame.origin.y);
  record->set("id", id);
  record->set("alpha", 1.0);
  return record;
}

// The document's page: its size, its colour (components 0…255) and nothing on it.
inline void setPage(CMDocument& document, platform::Value width, platform::Value height, int r, int g, int b, int a) {
  const platform::DictRef root = document.data();
  root->set("width", std::move(width));
  root->set("height", std::move(height));
  root->set("background",
            platform::Dictionary::make(
                {{"bg_color", platform::Dictionary::make({{"r", r}, {"g", g}, {"b", b}, {"a", a}})}}));
  root->set("layers", platform::Array::make());
}

inline void addLayer(CMDocument& document, platform::DictRef record) { document.data()->array("layers")->add(record); }

}  // namespace export_testing
