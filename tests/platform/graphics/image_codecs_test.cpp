#include "platform/graphics/image_codecs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "argb_test_image.h"
#include "platform/graphics/pixel_conversion.h"

namespace platform {
namespace {

using testing::Argb;
using testing::makeArgbSurface;
using testing::pixelAt;
using testing::setPixel;
using testing::SurfacePtr;

// An image with transparent, half-transparent and opaque areas and many colours.
SurfacePtr sampleImage(int width, int height, bool opaque) {
  SurfacePtr surface = makeArgbSurface(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int a = 255;
      if (!opaque) a = x < width / 4 ? 0 : (y < height / 3 ? 128 + x % 100 : 255);
      const StraightRgba straight{std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height),
                                  std::uint8_t((x + y) % 256), std::uint8_t(a)};
      const std::uint32_t p = premultipliedPixel(straight);
      setPixel(surface.get(), x, y, {int(p >> 24), int((p >> 16) & 0xff), int((p >> 8) & 0xff), int(p & 0xff)});
    }
  }
  return surface;
}

// Smooth opaque content, which JPEG reproduces closely.
SurfacePtr smoothImage(int width, int height) {
  SurfacePtr surface = makeArgbSurface(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      setPixel(surface.get(), x, y, {255, 40 + x, 200 - y, 100 + (x + y) / 4});
    }
  }
  return surface;
}

int worstDifference(cairo_surface_t* a, cairo_surface_t* b) {
  int worst = 0;
  for (int y = 0; y < cairo_image_surface_get_height(a); ++y) {
    for (int x = 0; x < cairo_image_surface_get_width(a); ++x) {
      const Argb p = pixelAt(a, x, y), q = pixelAt(b, x, y);
      worst = std::max({worst, std::abs(p.a - q.a), std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
    }
  }
  return worst;
}

std::shared_ptr<cairo_surface_t> roundTrip(cairo_surface_t* image, ImageFileType type, double quality = 0.9) {
  Expected<Bytes> encoded = encodeImage(image, type, quality);
  EXPECT_TRUE(encoded.ok()) << (encoded.ok() ? "" : encoded.error().description);
  if (!encoded) return nullptr;
  Expected<std::shared_ptr<cairo_surface_t>> decoded = decodeImage(encoded.value());
  EXPECT_TRUE(decoded.ok()) << (decoded.ok() ? "" : decoded.error().description);
  if (!decoded) return nullptr;
  EXPECT_EQ(cairo_image_surface_get_width(decoded.value().get()), cairo_image_surface_get_width(image));
  EXPECT_EQ(cairo_image_surface_get_height(decoded.value().get()), cairo_image_surface_get_height(image));
  return decoded.value();
}

std::uint32_t crc32(const Bytes& bytes, std::size_t begin, std::size_t end) {
  std::uint32_t crc = 0xffffffffu;
  for (std::size_t i = begin; i < end; ++i) {
    crc ^= bytes[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void appendBigEndian(Bytes& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendChunk(Bytes& png, const std::string& type, const Bytes& body) {
  appendBigEndian(png, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type.begin(), type.end());
  png.insert(png.end(), body.begin(), body.end());
  appendBigEndian(png, crc32(png, start, png.size()));
}

// A PNG whose header (with a valid checksum) claims the given size, followed by a scrap of image data.
Bytes pngClaiming(std::uint32_t width, std::uint32_t height) {
  Bytes png{0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
  Bytes header;
  appendBigEndian(header, width);
  appendBigEndian(header, height);
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
  appendChunk(png, "IHDR", header);
  appendChunk(png, "IDAT", {0x78, 0x9c, 0x63, 0x00, 0x00});
  appendChunk(png, "IEND", {});
  return png;
}

TEST(ImageCodecs, LosslessFormatsRoundTripExactly) {
  const SurfacePtr image = sampleImage(120, 90, false);
  for (const ImageFileType type : {ImageFileType::Png, ImageFileType::Tiff}) {
    const auto decoded = roundTrip(image.get(), type);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(worstDifference(image.get(), decoded.get()), 0) << static_cast<int>(type);
  }
  // BMP holds no alpha: opaque pixels come back exactly.
  const SurfacePtr opaque = sampleImage(33, 17, true);
  const auto bmp = roundTrip(opaque.get(), ImageFileType::Bmp);
  ASSERT_TRUE(bmp);
  EXPECT_EQ(worstDifference(opaque.get(), bmp.get()), 0);
}

TEST(ImageCodecs, JpegIsCloseAndItsQualitySetsTheSize) {
  const SurfacePtr image = smoothImage(64, 48);
  const auto decoded = roundTrip(image.get(), ImageFileType::Jpeg, 0.95);
  ASSERT_TRUE(decoded);
  EXPECT_LE(worstDifference(image.get(), decoded.get()), 8);
  const SurfacePtr detailed = sampleImage(64, 48, true);
  const Expected<Bytes> low = encodeImage(detailed.get(), ImageFileType::Jpeg, 0.1);
  const Expected<Bytes> high = encodeImage(detailed.get(), ImageFileType::Jpeg, 1.0);
  ASSERT_TRUE(low.ok() && high.ok());
  EXPECT_LT(low.value().size() * 2, high.value().size());
}

TEST(ImageCodecs, GifKeepsFewColoursExactlyAndTransparency) {
  SurfacePtr image = makeArgbSurface(40, 30);
  const Argb colours[] = {{255, 255, 0, 0}, {255, 0, 128, 255}, {255, 17, 34, 51}, {0, 0, 0, 0}};
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) setPixel(image.get(), x, y, colours[(x / 10 + y / 10) % 4]);
  }
  const auto decoded = roundTrip(image.get(), ImageFileType::Gif);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(worstDifference(image.get(), decoded.get()), 0);
}

TEST(ImageCodecs, GifOfManyColoursStaysWithinItsPalette) {
  const SurfacePtr image = sampleImage(128, 128, false);
  const auto decoded = roundTrip(image.get(), ImageFileType::Gif);
  ASSERT_TRUE(decoded);
  std::set<std::uint32_t> distinct;
  double error = 0;
  int opaque = 0;
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const Argb original = pixelAt(image.get(), x, y), back = pixelAt(decoded.get(), x, y);
      distinct.insert(std::uint32_t(back.a) << 24 | back.r << 16 | back.g << 8 | back.b);
      // GIF transparency is all or nothing, decided at half alpha.
      ASSERT_EQ(back.a, original.a >= 128 ? 255 : 0) << x << "," << y;
      if (original.a == 255) {
        error += std::abs(original.r - back.r) + std::abs(original.g - back.g) + std::abs(original.b - back.b);
        ++opaque;
      }
    }
  }
  EXPECT_LE(distinct.size(), 256u);
  EXPECT_GT(distinct.size(), 200u);
  EXPECT_LT(error / opaque / 3, 8.0);
}

TEST(ImageCodecs, BrokenDataIsAnError) {
  EXPECT_FALSE(decodeImage({}).ok());
  const Bytes garbage(500, 0x5a);
  EXPECT_FALSE(decodeImage(garbage).ok());
  Expected<Bytes> png = encodeImage(sampleImage(50, 50, false).get(), ImageFileType::Png);
  ASSERT_TRUE(png.ok());
  // Cut inside the header; a cut in the pixel data gives the rows that arrived, as image viewers show them.
  for (const std::size_t length : {std::size_t(8), std::size_t(20), std::size_t(30)}) {
    const Bytes truncated(png.value().begin(), png.value().begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(decodeImage(truncated).ok()) << length;
  }
}

// Drawings are read by the program's own SVG reader, never rendered as pictures, and the picture types name none.
TEST(ImageCodecs, DrawingsAreNoPictures) {
  for (const std::string text : {"<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'/>",
                                 "\xEF\xBB\xBF \r\n<?xml version='1.0'?><svg width='4' height='4'/>",
                                 "\x1F\x8B\x08 compressed"}) {
    EXPECT_FALSE(decodeImage(Bytes(text.begin(), text.end())).ok()) << text;
  }
  const std::vector<std::string> types = readableImageFileTypes();
  const std::set<std::string> listed(types.begin(), types.end());
  EXPECT_TRUE(listed.count("png") && listed.count("jpg") && listed.count("tiff"));
  EXPECT_FALSE(listed.count("svg") || listed.count("svgz") || listed.count("svg.gz"));
}

TEST(ImageCodecs, ClaimedSizesPastTheLimitsAreRefusedBeforeAllocating) {
  // A side over 32,767, an area over 256 MiB of pixels, and libpng's own ceiling.
  for (const auto& [width, height] : {std::pair{32768u, 1u}, std::pair{1u, 40000u}, std::pair{10000u, 7000u},
                                      std::pair{1000000u, 1000000u}, std::pair{0x7fffffffu, 0x7fffffffu}}) {
    const Expected<std::shared_ptr<cairo_surface_t>> decoded = decodeImage(pngClaiming(width, height));
    ASSERT_FALSE(decoded.ok()) << width << "×" << height;
  }
  const Expected<std::shared_ptr<cairo_surface_t>> tooBig = decodeImage(pngClaiming(40000, 2));
  ASSERT_FALSE(tooBig.ok());
  EXPECT_NE(tooBig.error().description.find("40000"), std::string::npos) << tooBig.error().description;
  // Just inside the limits the header is accepted and the broken data is what fails.
  EXPECT_FALSE(decodeImage(pngClaiming(2, 2)).ok());
}

void appendLittleEndian(Bytes& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A BMP file header and info header claiming the size, 32 bits a pixel, with a few pixel bytes.
Bytes bmpClaiming(std::uint32_t width, std::uint32_t height) {
  Bytes bmp{'B', 'M'};
  appendLittleEndian(bmp, 54 + 16, 4);  // file size
  appendLittleEndian(bmp, 0, 4);
  appendLittleEndian(bmp, 54, 4);  // pixel data offset
  appendLittleEndian(bmp, 40, 4);  // info header size
  appendLittleEndian(bmp, width, 4);
  appendLittleEndian(bmp, height, 4);
  appendLittleEndian(bmp, 1, 2);   // planes
  appendLittleEndian(bmp, 32, 2);  // bits a pixel
  for (int i = 0; i < 6; ++i) appendLittleEndian(bmp, 0, 4);
  bmp.resize(bmp.size() + 16, 0x7f);
  return bmp;
}

// A GIF whose logical screen and image claim the size, with a two-colour table and a scrap of image data.
Bytes gifClaiming(std::uint16_t width, std::uint16_t height) {
  Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
  appendLittleEndian(gif, width, 2);
  appendLittleEndian(gif, height, 2);
  gif.insert(gif.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});  // global table of two colours
  gif.push_back(',');
  appendLittleEndian(gif, 0, 2);
  appendLittleEndian(gif, 0, 2);
  appendLittleEndian(gif, width, 2);
  appendLittleEndian(gif, height, 2);
  gif.insert(gif.end(), {0, 2, 2, 0x4c, 0x01, 0, ';'});
  return gif;
}

TEST(ImageCodecs, OtherFormatsClaimingHugeSizesAreRefused) {
  // Refused for the size (the message names it), not for the scraps of data that follow.
  const std::pair<Bytes, const char*> cases[] = {{bmpClaiming(100000, 100000), "100000"},
                                                 {bmpClaiming(40000, 1), "40000"},
                                                 {gifClaiming(65535, 65535), "65535"},
                                                 {gifClaiming(40000, 2), "40000"}};
  for (const auto& [data, size] : cases) {
    const Expected<std::shared_ptr<cairo_surface_t>> decoded = decodeImage(data);
    ASSERT_FALSE(decoded.ok()) << size;
    EXPECT_NE(decoded.error().description.find(size), std::string::npos) << decoded.error().description;
  }
}

TEST(ImageCodecs, EncodingRefusesWhatIsNotAnImage) {
  SurfacePtr alphaOnly(cairo_image_surface_create(CAIRO_FORMAT_A8, 4, 4));
  EXPECT_FALSE(encodeImage(alphaOnly.get(), ImageFileType::Png).ok());
  EXPECT_FALSE(encodeImage(nullptr, ImageFileType::Gif).ok());
  SurfacePtr empty = makeArgbSurface(0, 0);
  EXPECT_FALSE(encodeImage(empty.get(), ImageFileType::Png).ok());
}

}  // namespace
}  // namespace platform
