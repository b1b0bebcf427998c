#include "platform/graphics/gaussian_blur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <span>
#include <thread>
#include <vector>

#include "platform/core/numeric.h"
#include "platform/graphics/line_blur.h"

namespace platform {

namespace {

// Below this the kernel's weights off the centre add up to less than 1/1024 (2·e^−8 at 0.25), so no pixel of either
// pass moves by half a step: the blur would give back its input, at the cost of a full one.
constexpr double kSmallestVisibleSigma = 0.25;

// The horizontal pass keeps 16 fraction bits so that faint spread survives until the vertical pass rounds.
constexpr double intermediateScale = 65536;

// One 8-bit channel of an image surface's pixels.
class ChannelView {
 public:
  ChannelView(unsigned char* data, int stride, int bytesPerPixel, int shift)
      : data_(data), stride_(stride), bytesPerPixel_(bytesPerPixel), shift_(shift) {}

  std::uint32_t get(int x, int y) const {
    const unsigned char* row = data_ + static_cast<std::ptrdiff_t>(y) * stride_;
    if (bytesPerPixel_ == 1) return row[x];
    return (reinterpret_cast<const std::uint32_t*>(row)[x] >> shift_) & 0xff;
  }

  void set(int x, int y, std::uint32_t value) const {
    unsigned char* row = data_ + static_cast<std::ptrdiff_t>(y) * stride_;
    if (bytesPerPixel_ == 1) {
      row[x] = static_cast<unsigned char>(value);
      return;
    }
    std::uint32_t& pixel = reinterpret_cast<std::uint32_t*>(row)[x];
    pixel = (pixel & ~(0xffu << shift_)) | (value << shift_);
  }

 private:
  unsigned char* data_;
  int stride_;
  int bytesPerPixel_;
  int shift_;
};

// Every output is at most 255 · (Σ of the horizontal kernel over the width) · (the same vertically), and a kernel's
// peak is under twice the Gaussian's 1 / (σ√(2π)). When that bound rounds to zero the image is simply cleared, which
// also keeps the box widths of absurd sigmas within range.
bool nothingRemains(double sigma, int width, int height) {
  const double peak = 2 / (sigma * std::sqrt(2 * std::numbers::pi));
  const double horizontal = std::min(1.0, width * peak);
  const double vertical = std::min(1.0, height * peak);
  return 255 * horizontal * vertical < 0.5;
}

// Runs body(begin, end) over parts of [0, count), on several threads when the image is big enough to repay them.
template <class Body>
void forEachLine(int count, std::size_t pixels, const Body& body) {
  constexpr std::size_t pixelsWorthAThread = 1 << 16;
  const std::size_t wanted = std::min<std::size_t>({std::max(1u, std::thread::hardware_concurrency()),
                                                    pixels / pixelsWorthAThread, static_cast<std::size_t>(count)});
  if (wanted <= 1) {
    body(0, count);
    return;
  }
  const int workers = static_cast<int>(wanted);
  std::vector<std::jthread> threads;
  for (int i = 0; i < workers; ++i) {
    threads.emplace_back([&, i] { body(count * i / workers, count * (i + 1) / workers); });
  }
}

void blurChannel(const ChannelView& channel, int width, int height, double sigma, std::vector<std::uint32_t>& plane) {
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  const auto maxIntermediate = static_cast<std::uint32_t>(255 * intermediateScale);
  forEachLine(height, pixels, [&](int begin, int end) {
    LineBlur blur(sigma);
    std::vector<std::uint32_t> line(width);
    for (int y = begin; y < end; ++y) {
      for (int x = 0; x < width; ++x) line[x] = channel.get(x, y);
      blur.apply(line, std::span(plane).subspan(static_cast<std::size_t>(y) * width, width), intermediateScale,
                 maxIntermediate);
    }
  });
  // Columns go in blocks, gathered and scattered a row at a time, so that memory is read in whole cache lines.
  constexpr int block = 16;
  const int blocks = (width + block - 1) / block;
  forEachLine(blocks, pixels, [&](int begin, int end) {
    LineBlur blur(sigma);
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(block) * height);
    std::vector<std::uint32_t> blurred(static_cast<std::size_t>(block) * height);
    for (int b = begin; b < end; ++b) {
      const int x0 = b * block;
      const int count = std::min(block, width - x0);
      for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = plane.data() + static_cast<std::size_t>(y) * width + x0;
        for (int i = 0; i < count; ++i) columns[static_cast<std::size_t>(i) * height + y] = row[i];
      }
      for (int i = 0; i < count; ++i) {
        blur.apply(std::span(columns).subspan(static_cast<std::size_t>(i) * height, height),
                   std::span(blurred).subspan(static_cast<std::size_t>(i) * height, height), 1 / intermediateScale,
                   255);
      }
      for (int y = 0; y < height; ++y) {
        for (int i = 0; i < count; ++i) channel.set(x0 + i, y, blurred[static_cast<std::size_t>(i) * height + y]);
      }
    }
  });
}

// Rounding each channel separately can leave a colour one step above its alpha, which premultiplied pixels forbid.
void clampToAlpha(unsigned char* data, int width, int height, int stride) {
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t alpha = row[x] >> 24;
      std::uint32_t pixel = alpha << 24;
      for (int shift = 0; shift < 24; shift += 8) pixel |= std::min((row[x] >> shift) & 0xff, alpha) << shift;
      row[x] = pixel;
    }
  }
}

}  // namespace

long long blurReach(double sigma) {
  if (!(sigma > 0)) return 0;
  // Past this the box widths leave an int, and nothing visible remains of any image anyway (see nothingRemains):
  // four σ holds every kernel's reach.
  constexpr double kLargestMeasured = 1e8;
  if (sigma > kLargestMeasured) return saturatingTruncate<long long>(std::min(std::ceil(4 * sigma), 0x1p31));
  return LineBlur(sigma).reach();
}

void gaussianBlur(cairo_surface_t* surface, double sigma) {
  if (!(sigma >= kSmallestVisibleSigma) || surface == nullptr ||
      cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
    return;
  }
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_A8) return;
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  if (width <= 0 || height <= 0) return;
  const int bytesPerPixel = format == CAIRO_FORMAT_A8 ? 1 : 4;

  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  if (nothingRemains(sigma, width, height)) {
    for (int y = 0; y < height; ++y) {
      std::memset(data + static_cast<std::ptrdiff_t>(y) * stride, 0, width * bytesPerPixel);
    }
    cairo_surface_mark_dirty(surface);
    return;
  }

  std::vector<std::uint32_t> plane(static_cast<std::size_t>(width) * height);
  if (format == CAIRO_FORMAT_A8) {
    blurChannel(ChannelView(data, stride, 1, 0), width, height, sigma, plane);
  } else {
    for (int shift = 0; shift < 32; shift += 8) {
      blurChannel(ChannelView(data, stride, 4, shift), width, height, sigma, plane);
    }
    clampToAlpha(data, width, height, stride);
  }
  cairo_surface_mark_dirty(surface);
}

}  // namespace platform
