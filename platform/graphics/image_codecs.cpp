#include "platform/graphics/image_codecs.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "platform/core/numeric.h"
#include "platform/graphics/gif_encoder.h"
#include "platform/graphics/image_limits.h"
#include "platform/graphics/pixel_conversion.h"

namespace platform {

namespace {

// gdk-pixbuf's name of the format that would render SVG.
constexpr std::string_view kDrawingFormat = "svg";

// SVG text begins with markup (after a byte order mark or blanks); compressed SVG with gzip's magic number, which
// begins no picture format.
bool isDrawingText(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B) return true;
  std::size_t i = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
  while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) ++i;
  return i < bytes.size() && bytes[i] == '<';
}

struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, GObjectUnref>;
using LoaderPtr = std::unique_ptr<GdkPixbufLoader, GObjectUnref>;

struct GErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};

std::string takeMessage(GError*& error) {
  const std::unique_ptr<GError, GErrorFree> owned(error);
  error = nullptr;
  return owned ? owned->message : "unknown error";
}

Error decodeError(const std::string& why) {
  return Error::make(Error::cocoaDomain, 259, "Could not read the image: " + why);
}
Error encodeError(const std::string& why) {
  return Error::make(Error::cocoaDomain, 512, "Could not write the image: " + why);
}

// Where the loader first learns the size, before it allocates: an oversized image is refused by asking for a
// zero size, which decoders take as "stop here".
struct SizeGuard {
  Status verdict = success();
};

void onSizePrepared(GdkPixbufLoader* loader, int width, int height, gpointer data) {
  auto* guard = static_cast<SizeGuard*>(data);
  guard->verdict = checkImageSize(width, height);
  if (!guard->verdict) gdk_pixbuf_loader_set_size(loader, 0, 0);
}

// `premultiplied`: the pixbuf's colours are already multiplied by alpha, which gdk-pixbuf's TIFF reader delivers
// (libtiff's RGBA interface premultiplies) though pixbufs are otherwise straight.
Expected<std::shared_ptr<cairo_surface_t>> surfaceFromPixbuf(GdkPixbuf* pixbuf, bool premultiplied) {
  const int width = gdk_pixbuf_get_width(pixbuf);
  const int height = gdk_pixbuf_get_height(pixbuf);
  if (Status size = checkImageSize(width, height); !size) return size.error();
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
  if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 ||
      channels != (alpha ? 4 : 3)) {
    return decodeError("unsupported pixel layout");
  }
  std::shared_ptr<cairo_surface_t> surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                                           cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return decodeError("out of memory");
  const guchar* source = gdk_pixbuf_read_pixels(pixbuf);
  const int sourceStride = gdk_pixbuf_get_rowstride(pixbuf);
  unsigned char* target = cairo_image_surface_get_data(surface.get());
  const int targetStride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < height; ++y) {
    const guchar* in = source + static_cast<std::ptrdiff_t>(y) * sourceStride;
    auto* out = reinterpret_cast<std::uint32_t*>(target + static_cast<std::ptrdiff_t>(y) * targetStride);
    for (int x = 0; x < width; ++x, in += channels) {
      if (alpha && premultiplied) {
        const std::uint32_t a = in[3];
        out[x] = a << 24 | std::min<std::uint32_t>(in[0], a) << 16 | std::min<std::uint32_t>(in[1], a) << 8 |
                 std::min<std::uint32_t>(in[2], a);
      } else {
        out[x] = premultipliedPixel({in[0], in[1], in[2], alpha ? in[3] : guchar{255}});
      }
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

PixbufPtr pixbufFromSurface(cairo_surface_t* image, bool keepAlpha) {
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  PixbufPtr pixbuf(gdk_pixbuf_new(GDK_COLORSPACE_RGB, keepAlpha, 8, width, height));
  if (!pixbuf) return nullptr;
  const bool opaqueSource = cairo_image_surface_get_format(image) == CAIRO_FORMAT_RGB24;
  cairo_surface_flush(image);
  const unsigned char* source = cairo_image_surface_get_data(image);
  const int sourceStride = cairo_image_surface_get_stride(image);
  guchar* target = gdk_pixbuf_get_pixels(pixbuf.get());
  const int targetStride = gdk_pixbuf_get_rowstride(pixbuf.get());
  const int channels = keepAlpha ? 4 : 3;
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const std::uint32_t*>(source + static_cast<std::ptrdiff_t>(y) * sourceStride);
    guchar* out = target + static_cast<std::ptrdiff_t>(y) * targetStride;
    for (int x = 0; x < width; ++x, out += channels) {
      const std::uint32_t pixel = opaqueSource ? in[x] | 0xff000000u : in[x];
      if (keepAlpha) {
        const StraightRgba c = straightFromPremultiplied(pixel);
        out[0] = c.r;
        out[1] = c.g;
        out[2] = c.b;
        out[3] = c.a;
      } else {
        out[0] = static_cast<guchar>(pixel >> 16);
        out[1] = static_cast<guchar>(pixel >> 8);
        out[2] = static_cast<guchar>(pixel);
      }
    }
  }
  return pixbuf;
}

}  // namespace

Expected<std::shared_ptr<cairo_surface_t>> decodeImage(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return decodeError("no data");
  if (isDrawingText(bytes)) return decodeError("a drawing, not a picture");
  const LoaderPtr loader(gdk_pixbuf_loader_new());
  SizeGuard guard;
  g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(onSizePrepared), &guard);
  GError* error = nullptr;
  // In pieces, so that an oversized image stops the feeding as soon as its header is read.
  constexpr std::size_t piece = 64 * 1024;
  bool written = true;
  for (std::size_t offset = 0; offset < bytes.size() && written && guard.verdict; offset += piece) {
    const std::size_t length = std::min(piece, bytes.size() - offset);
    written = gdk_pixbuf_loader_write(loader.get(), bytes.data() + offset, length, &error);
  }
  std::string failure = written ? "" : takeMessage(error);
  // Closing finishes decoding data held back; it must happen even after a failure, to release the loader's state.
  if (!gdk_pixbuf_loader_close(loader.get(), &error) && failure.empty()) failure = takeMessage(error);
  if (error != nullptr) takeMessage(error);
  if (!guard.verdict) return guard.verdict.error();
  if (!failure.empty()) return decodeError(failure);
  GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
  if (pixbuf == nullptr) return decodeError("no image in the data");
  const PixbufPtr upright(gdk_pixbuf_apply_embedded_orientation(pixbuf));
  if (!upright) return decodeError("could not apply the orientation");
  GdkPixbufFormat* format = gdk_pixbuf_loader_get_format(loader.get());
  const std::unique_ptr<gchar, decltype(&g_free)> name(format ? gdk_pixbuf_format_get_name(format) : nullptr, g_free);
  return surfaceFromPixbuf(upright.get(), name && std::string(name.get()) == "tiff");
}

std::vector<std::string> readableImageFileTypes() {
  std::vector<std::string> types;
  GSList* formats = gdk_pixbuf_get_formats();
  for (GSList* entry = formats; entry != nullptr; entry = entry->next) {
    auto* format = static_cast<GdkPixbufFormat*>(entry->data);
    const std::unique_ptr<gchar, decltype(&g_free)> name(gdk_pixbuf_format_get_name(format), g_free);
    if (gdk_pixbuf_format_is_disabled(format) || (name && std::string_view(name.get()) == kDrawingFormat)) continue;
    gchar** extensions = gdk_pixbuf_format_get_extensions(format);
    for (gchar** extension = extensions; extension && *extension; ++extension) types.emplace_back(*extension);
    g_strfreev(extensions);
  }
  g_slist_free(formats);
  return types;
}

Expected<Bytes> encodeImage(cairo_surface_t* image, ImageFileType type, double compressionFactor) {
  if (image == nullptr || cairo_surface_status(image) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(image) != CAIRO_SURFACE_TYPE_IMAGE) {
    return encodeError("not an image surface");
  }
  const cairo_format_t format = cairo_image_surface_get_format(image);
  if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return encodeError("unsupported pixel format");
  if (Status size = checkImageSize(cairo_image_surface_get_width(image), cairo_image_surface_get_height(image));
      !size) {
    return size.error();
  }
  if (type == ImageFileType::Gif) return encodeGif(image);

  const bool keepAlpha = type == ImageFileType::Png || type == ImageFileType::Tiff;
  const PixbufPtr pixbuf = pixbufFromSurface(image, keepAlpha);
  if (!pixbuf) return encodeError("out of memory");
  gchar* buffer = nullptr;
  gsize size = 0;
  GError* error = nullptr;
  gboolean saved = false;
  switch (type) {
    case ImageFileType::Png:
      saved = gdk_pixbuf_save_to_buffer(pixbuf.get(), &buffer, &size, "png", &error, nullptr);
      break;
    case ImageFileType::Jpeg: {
      const double factor = std::isfinite(compressionFactor) ? std::clamp(compressionFactor, 0.0, 1.0) : 0.9;
      const std::string quality = std::to_string(saturatingTruncate<int>(std::round(factor * 100)));
      saved =
          gdk_pixbuf_save_to_buffer(pixbuf.get(), &buffer, &size, "jpeg", &error, "quality", quality.c_str(), nullptr);
      break;
    }
    case ImageFileType::Tiff:
      saved = gdk_pixbuf_save_to_buffer(pixbuf.get(), &buffer, &size, "tiff", &error, nullptr);
      break;
    case ImageFileType::Bmp:
      saved = gdk_pixbuf_save_to_buffer(pixbuf.get(), &buffer, &size, "bmp", &error, nullptr);
      break;
    case ImageFileType::Gif:
      break;
  }
  const std::unique_ptr<gchar, decltype(&g_free)> owned(buffer, g_free);
  if (!saved) return encodeError(takeMessage(error));
  const auto* data = reinterpret_cast<const std::uint8_t*>(owned.get());
  return Bytes(data, data + size);
}

}  // namespace platform
