#pragma once

// Shared pieces of the SVG import tests: SVG text read into a fresh document, and pages drawn by the PNG output
// format read back through Cairo's own PNG reader and laid onto white.

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "document/CMDocument.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/svg/VDSVGParser.h"
#include "platform/core/value.h"

namespace svg_testing {

inline platform::Bytes bytesOf(std::string_view text) { return platform::Bytes(text.begin(), text.end()); }

// The top-level records the reader makes of the text in the document.
inline platform::ArrayRef parse(CMDocument& document, std::string_view text, VDSVGParser* reader = nullptr) {
  VDSVGParser own;
  return (reader ? *reader : own).parseSVG(bytesOf(text), document);
}

// The records inside the first top-level group (the root "svg" element's).
inline platform::ArrayRef shapesOf(const platform::ArrayRef& records) {
  const platform::DictRef root = records && !records->empty() ? records->at(0).dictionary() : nullptr;
  return root ? root->array("items") : platform::Array::make();
}

// A picture laid onto white, 8 bits a channel, row 0 at the top.
class WhitePicture {
 public:
  static std::optional<WhitePicture> fromSurface(cairo_surface_t* surface) {
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    WhitePicture picture;
    picture.width_ = cairo_image_surface_get_width(surface);
    picture.height_ = cairo_image_surface_get_height(surface);
    picture.rgb_.resize(static_cast<std::size_t>(picture.width_ * picture.height_ * 3));
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const bool opaque = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24;
    for (int y = 0; y < picture.height_; ++y) {
      for (int x = 0; x < picture.width_; ++x) {
        std::uint32_t v = 0;
        std::memcpy(&v, data + y * stride + x * 4, sizeof v);
        const int alpha = opaque ? 255 : static_cast<int>(v >> 24);
        for (int c = 0; c < 3; ++c) {
          // Premultiplied: white shows through by what the alpha leaves.
          const int premultiplied = static_cast<int>((v >> (16 - 8 * c)) & 0xFF);
          picture.rgb_[static_cast<std::size_t>((y * picture.width_ + x) * 3 + c)] =
              static_cast<unsigned char>(std::min(255, premultiplied + 255 - alpha));
        }
      }
    }
    return picture;
  }
  static std::optional<WhitePicture> fromPng(const std::filesystem::path& file) {
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_from_png(file.c_str()), cairo_surface_destroy);
    return fromSurface(surface.get());
  }
  static std::optional<WhitePicture> fromPngData(const platform::Bytes& bytes) {
    struct Reader {
      const platform::Bytes* bytes;
      std::size_t offset = 0;
    } reader{&bytes};
    const auto read = [](void* closure, unsigned char* data, unsigned int length) {
      auto* r = static_cast<Reader*>(closure);
      if (r->bytes->size() - r->offset < length) return CAIRO_STATUS_READ_ERROR;
      std::memcpy(data, r->bytes->data() + r->offset, length);
      r->offset += length;
      return CAIRO_STATUS_SUCCESS;
    };
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_from_png_stream(read, &reader), cairo_surface_destroy);
    return fromSurface(surface.get());
  }

  int width() const { return width_; }
  int height() const { return height_; }
  int at(int x, int y, int channel) const { return rgb_[static_cast<std::size_t>((y * width_ + x) * 3 + channel)]; }

  // The picture at 1/`factor` of its size, each pixel the mean of a square of `factor` × `factor`: where two
  // renderers place glyph edges a little apart, their pictures still agree at this scale.
  WhitePicture shrunk(int factor) const {
    WhitePicture small;
    small.width_ = width_ / factor;
    small.height_ = height_ / factor;
    small.rgb_.resize(static_cast<std::size_t>(small.width_ * small.height_ * 3));
    for (int y = 0; y < small.height_; ++y) {
      for (int x = 0; x < small.width_; ++x) {
        for (int c = 0; c < 3; ++c) {
          int sum = 0;
          for (int dy = 0; dy < factor; ++dy) {
            for (int dx = 0; dx < factor; ++dx) sum += at(x * factor + dx, y * factor + dy, c);
          }
          small.rgb_[static_cast<std::size_t>((y * small.width_ + x) * 3 + c)] =
              static_cast<unsigned char>(sum / (factor * factor));
        }
      }
    }
    return small;
  }
  bool isBlank() const {
    return std::all_of(rgb_.begin(), rgb_.end(), [](unsigned char v) { return v == 255; });
  }

  // The share of pixels where some channel differs by more than `threshold`; 1 for pictures of other sizes.
  double differingShare(const WhitePicture& other, int threshold) const {
    if (other.width_ != width_ || other.height_ != height_ || width_ == 0) return 1;
    long differing = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(at(x, y, c) - other.at(x, y, c)));
        differing += worst > threshold;
      }
    }
    return static_cast<double>(differing) / (width_ * height_);
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::basic_string<unsigned char> rgb_;
};

// The document's page as the PNG output format draws it, `scale` pixels a point, laid onto white.
inline std::optional<WhitePicture> drawnPage(CMDocument& document, double scale) {
  CMPNGOutputFormat format;
  format.setPixelsPerPoint(scale);
  const platform::Expected<platform::Bytes> png = format.generate(document);
  if (!png) return std::nullopt;
  return WhitePicture::fromPngData(png.value());
}

// The lines of a list of corpus files kept beside the tests ("tests/io/svg/<name>").
inline std::set<std::string> listedFiles(const char* name) {
  std::set<std::string> listed;
  std::ifstream in(std::filesystem::path(DRAFTWORK_SOURCE_DIR) / "tests/io/svg" / name);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) listed.insert(line);
  }
  return listed;
}

// A document whose page is transparent and of the given size, with nothing on it.
inline void clearPage(CMDocument& document, double width, double height) {
  const platform::DictRef root = document.data();
  root->set("width", width);
  root->set("height", height);
  root->set("background", platform::Dictionary::make(
                              {{"bg_color", platform::Dictionary::make({{"r", 0}, {"g", 0}, {"b", 0}, {"a", 0}})}}));
  root->set("layers", platform::Array::make());
}

}  // namespace svg_testing
