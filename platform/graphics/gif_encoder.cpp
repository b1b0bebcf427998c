#include "platform/graphics/gif_encoder.h"

#include <gif_lib.h>

#include <memory>
#include <string>

#include "platform/graphics/color_quantizer.h"
#include "platform/graphics/image_limits.h"
#include "platform/graphics/pixel_conversion.h"

namespace platform {

namespace {

int appendToBytes(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int ignored = 0;
    EGifCloseFile(gif, &ignored);
  }
};

struct ColorMapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

Error gifError(int code) {
  const char* text = GifErrorString(code);
  // 512: NSFileWriteUnknownError.
  return Error::make(Error::cocoaDomain, 512,
                     std::string("Could not write the GIF image: ") + (text ? text : "unknown"));
}

}  // namespace

Expected<Bytes> encodeGif(cairo_surface_t* image) {
  const std::vector<StraightRgba> pixels = straightPixels(image);
  if (pixels.empty()) return Error::make(Error::cocoaDomain, 512, "Only ARGB32 and RGB24 images can be written.");
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  if (Status size = checkImageSize(width, height); !size) return size.error();

  PalettedImage paletted = quantize(pixels, 256);
  // giflib wants a power of two entries, at least two.
  int mapSize = 2;
  while (mapSize < static_cast<int>(paletted.palette.size())) mapSize *= 2;
  std::vector<GifColorType> colours(mapSize, GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < paletted.palette.size(); ++i) {
    colours[i] = GifColorType{paletted.palette[i].r, paletted.palette[i].g, paletted.palette[i].b};
  }
  const std::unique_ptr<ColorMapObject, ColorMapDeleter> map(GifMakeMapObject(mapSize, colours.data()));
  if (!map) return gifError(E_GIF_ERR_NOT_ENOUGH_MEM);

  Bytes out;
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&out, appendToBytes, &error));
  if (!gif) return gifError(error);
  EGifSetGifVersion(gif.get(), true);
  if (EGifPutScreenDesc(gif.get(), width, height, 8, 0, map.get()) == GIF_ERROR) return gifError(gif->Error);
  if (paletted.transparentIndex >= 0) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, paletted.transparentIndex};
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, length, extension) == GIF_ERROR) {
      return gifError(gif->Error);
    }
  }
  if (EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR) return gifError(gif->Error);
  for (int y = 0; y < height; ++y) {
    GifPixelType* row = paletted.indices.data() + static_cast<std::size_t>(y) * width;
    if (EGifPutLine(gif.get(), row, width) == GIF_ERROR) return gifError(gif->Error);
  }
  // Closing writes the trailer and frees the handle whatever it reports.
  if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) return gifError(error);
  return out;
}

}  // namespace platform
