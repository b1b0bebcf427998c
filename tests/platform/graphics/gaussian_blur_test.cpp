#include "platform/graphics/gaussian_blur.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "argb_test_image.h"
#include "platform/graphics/line_blur.h"
#include "../../random_test_seed.h"

namespace platform {
namespace {

using testing::Argb;
using testing::makeArgbSurface;
using testing::pixelAt;
using testing::setPixel;
using testing::SurfacePtr;

double gaussian(double x, double sigma) {
  return std::exp(-x * x / (2 * sigma * sigma)) / (sigma * std::sqrt(2 * std::numbers::pi));
}

// The line blur's response to a unit impulse, in units of 1e-9.
std::vector<double> impulseResponse(double sigma, int halfWidth) {
  std::vector<std::uint32_t> in(2 * halfWidth + 1, 0);
  in[halfWidth] = 1;
  std::vector<std::uint32_t> out(in.size());
  LineBlur blur(sigma);
  blur.apply(in, out, 1e9, std::numeric_limits<std::uint32_t>::max());
  return {out.begin(), out.end()};
}

struct Moments {
  double mass = 0, mean = 0, variance = 0;
};

Moments momentsOf(const std::vector<double>& weights, double origin) {
  Moments m;
  double first = 0, second = 0;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const double x = static_cast<double>(i) - origin;
    m.mass += weights[i];
    first += weights[i] * x;
    second += weights[i] * x * x;
  }
  m.mean = first / m.mass;
  m.variance = second / m.mass - m.mean * m.mean;
  return m;
}

// Blur by direct summation of a Gaussian truncated at 5 sigma, zero outside the image: slow and obviously right.
std::vector<double> referenceBlur(const std::vector<double>& image, int width, int height, double sigma) {
  const int radius = static_cast<int>(std::ceil(5 * sigma));
  std::vector<double> kernel(2 * radius + 1);
  for (int d = -radius; d <= radius; ++d) kernel[d + radius] = gaussian(d, sigma);
  // Sampled at whole pixels a narrow Gaussian no longer sums to one: the blur keeps an image's ink.
  const double total = std::accumulate(kernel.begin(), kernel.end(), 0.0);
  for (double& weight : kernel) weight /= total;
  std::vector<double> across(image.size(), 0), result(image.size(), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int d = -radius; d <= radius; ++d) {
        if (x - d >= 0 && x - d < width) across[y * width + x] += kernel[d + radius] * image[y * width + x - d];
      }
    }
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int d = -radius; d <= radius; ++d) {
        if (y - d >= 0 && y - d < height) result[y * width + x] += kernel[d + radius] * across[(y - d) * width + x];
      }
    }
  }
  return result;
}

SurfacePtr filledSurface(int width, int height, Argb colour) {
  SurfacePtr surface = makeArgbSurface(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) setPixel(surface.get(), x, y, colour);
  }
  return surface;
}

std::vector<unsigned char> bytesOf(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  return {data, data + cairo_image_surface_get_stride(surface) * cairo_image_surface_get_height(surface)};
}

TEST(LineBlur, ImpulseResponseHasTheGaussiansVarianceAndStaysCentred) {
  for (const double sigma : {1.0, 5.0, 50.0, 0.6, 2.5, 5.99, 6.0, 6.3, 9.3, 20.0, 23.2, 333.3}) {
    const int halfWidth = static_cast<int>(std::ceil(6 * sigma)) + 2;
    const Moments m = momentsOf(impulseResponse(sigma, halfWidth), halfWidth);
    EXPECT_NEAR(m.mass, 1e9, 1e9 * 1e-4) << "sigma " << sigma;
    EXPECT_NEAR(m.mean, 0, 1e-6) << "sigma " << sigma;
    EXPECT_NEAR(m.variance / (sigma * sigma), 1, 0.03) << "sigma " << sigma;
  }
}

TEST(GaussianBlur, SingleWhitePixelSpreadsWithTheGaussiansVariance) {
  // Eight bits cannot hold a lone pixel's spread at large sigma, so a white square stands in for it: blurring adds
  // sigma² to its variance along each axis. The marginal along x sums every row.
  for (const double sigma : {1.0, 5.0, 50.0}) {
    const int side = static_cast<int>(4 * std::max(sigma, 2.0));
    const int margin = static_cast<int>(std::ceil(6 * sigma));
    const int size = side + 2 * margin;
    SurfacePtr surface = makeArgbSurface(size, size);
    for (int y = margin; y < margin + side; ++y) {
      for (int x = margin; x < margin + side; ++x) setPixel(surface.get(), x, y, {255, 255, 255, 255});
    }
    gaussianBlur(surface.get(), sigma);
    std::vector<double> marginal(size, 0);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) marginal[x] += pixelAt(surface.get(), x, y).a;
    }
    const Moments m = momentsOf(marginal, margin + (side - 1) / 2.0);
    const double squareVariance = (double(side) * side - 1) / 12;
    EXPECT_NEAR(m.mean, 0, 0.05) << "sigma " << sigma;
    EXPECT_NEAR((m.variance - squareVariance) / (sigma * sigma), 1, 0.05) << "sigma " << sigma;
  }
}

TEST(GaussianBlur, MatchesDirectGaussianSummationIncludingAtTheEdges) {
  // Content touching the edges checks that outside counts as transparent, not as a repeat of the edge.
  const int width = 90, height = 70;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> level(0, 255);
  std::vector<std::vector<double>> channels(4, std::vector<double>(width * height, 0));
  SurfacePtr original = makeArgbSurface(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool inside = (x < 30 && y < 50) || (x > 60 && y > 20) || (x + y) % 17 == 0;
      if (!inside) continue;
      const int a = level(random);
      const Argb c{a, level(random) * a / 255, level(random) * a / 255, level(random) * a / 255};
      setPixel(original.get(), x, y, c);
      channels[0][y * width + x] = c.a;
      channels[1][y * width + x] = c.r;
      channels[2][y * width + x] = c.g;
      channels[3][y * width + x] = c.b;
    }
  }
  // Under a quarter pixel the blur gives back its input: that must be what the Gaussian rounds to.
  for (const double sigma : {0.249, 0.4, 1.5, 4.0, 6.3, 9.0, 20.0}) {
    SurfacePtr surface = makeArgbSurface(width, height);
    cairo_t* cr = cairo_create(surface.get());
    cairo_set_source_surface(cr, original.get(), 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    gaussianBlur(surface.get(), sigma);
    std::vector<std::vector<double>> expected;
    for (const auto& channel : channels) expected.push_back(referenceBlur(channel, width, height, sigma));
    double worst = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Argb p = pixelAt(surface.get(), x, y);
        const int got[4] = {p.a, p.r, p.g, p.b};
        for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(got[c] - expected[c][y * width + x]));
        EXPECT_LE(p.r, p.a);
        EXPECT_LE(p.g, p.a);
        EXPECT_LE(p.b, p.a);
      }
    }
    EXPECT_LE(worst, sigma < 0.25 ? 0.5 : 0.03 * 255) << "sigma " << sigma;
  }
}

TEST(GaussianBlur, OpaqueImageFadesTowardsItsEdges) {
  // Outside is transparent: an edge pixel keeps about the half of the kernel inside, a corner about a quarter.
  const double sigma = 6;
  SurfacePtr surface = filledSurface(80, 80, {255, 255, 0, 0});
  gaussianBlur(surface.get(), sigma);
  double inside = 0;
  for (int d = -40; d <= 0; ++d) inside += gaussian(d, sigma);  // the kernel's half (and centre) that lands inside
  EXPECT_EQ(pixelAt(surface.get(), 40, 40), (Argb{255, 255, 0, 0}));
  EXPECT_NEAR(pixelAt(surface.get(), 0, 40).a, 255 * inside, 3);
  EXPECT_NEAR(pixelAt(surface.get(), 79, 79).a, 255 * inside * inside, 3);
  EXPECT_EQ(pixelAt(surface.get(), 0, 0).r, pixelAt(surface.get(), 0, 0).a);
}

TEST(GaussianBlur, HugeSigmaSpreadsThinlyOrClears) {
  // At sigma 1000 a 200-pixel white square keeps (Σ over 200 pixels of the Gaussian)² of its brightness.
  SurfacePtr wide = filledSurface(200, 200, {255, 255, 255, 255});
  gaussianBlur(wide.get(), 1000);
  double sum = 0;
  for (int d = -100; d < 100; ++d) sum += gaussian(d, 1000);
  EXPECT_NEAR(pixelAt(wide.get(), 100, 100).a, 255 * sum * sum, 1.0);

  for (const double sigma : {1e7, 1e300, std::numeric_limits<double>::infinity()}) {
    SurfacePtr surface = filledSurface(50, 30, {255, 10, 20, 30});
    gaussianBlur(surface.get(), sigma);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 50; ++x) ASSERT_EQ(pixelAt(surface.get(), x, y), Argb{}) << "sigma " << sigma;
    }
  }
}

TEST(GaussianBlur, NonPositiveOrNaNSigmaAndOtherFormatsLeaveTheImageAlone) {
  SurfacePtr surface = makeArgbSurface(9, 9);
  setPixel(surface.get(), 4, 4, {200, 100, 50, 25});
  const std::vector<unsigned char> before = bytesOf(surface.get());
  for (const double sigma :
       {0.0, -3.0, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
    gaussianBlur(surface.get(), sigma);
    EXPECT_EQ(bytesOf(surface.get()), before) << "sigma " << sigma;
  }
  SurfacePtr opaque(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 9, 9));
  cairo_t* cr = cairo_create(opaque.get());
  cairo_rectangle(cr, 4, 4, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  const std::vector<unsigned char> opaqueBefore = bytesOf(opaque.get());
  gaussianBlur(opaque.get(), 2);
  EXPECT_EQ(bytesOf(opaque.get()), opaqueBefore);
  gaussianBlur(nullptr, 2);
}

TEST(GaussianBlur, AlphaOnlySurfaceBlursLikeTheAlphaChannel) {
  SurfacePtr argb = makeArgbSurface(40, 30);
  SurfacePtr alpha(cairo_image_surface_create(CAIRO_FORMAT_A8, 40, 30));
  for (cairo_surface_t* surface : {argb.get(), alpha.get()}) {
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, 5, 3, 12, 20);
    cairo_fill(cr);
    cairo_destroy(cr);
    gaussianBlur(surface, 4.5);
    cairo_surface_flush(surface);
  }
  const unsigned char* alphaData = cairo_image_surface_get_data(alpha.get());
  const int stride = cairo_image_surface_get_stride(alpha.get());
  int differing = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) differing += pixelAt(argb.get(), x, y).a != alphaData[y * stride + x];
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(alphaData[3 * stride + 20], 0) << "spread past the rectangle's edge";
}

TEST(GaussianBlur, SymmetricInputGivesSymmetricOutput) {
  // An off-centre box (an even width not paired with its mirror) would shift the result by half a pixel.
  for (const double sigma : {4.0, 6.0, 7.7, 11.0, 20.0, 30.0}) {
    SurfacePtr surface = makeArgbSurface(61, 61);
    setPixel(surface.get(), 30, 30, {255, 255, 255, 255});
    setPixel(surface.get(), 29, 30, {255, 255, 255, 255});
    setPixel(surface.get(), 31, 30, {255, 255, 255, 255});
    gaussianBlur(surface.get(), sigma);
    for (int y = 0; y < 61; ++y) {
      for (int x = 0; x < 61; ++x) {
        ASSERT_EQ(pixelAt(surface.get(), x, y), pixelAt(surface.get(), 60 - x, 60 - y)) << sigma << " " << x;
      }
    }
  }
}

// A redraw of part of a picture blurs only that part grown by the blur's reach: it must get the very pixels the blur
// of the whole picture gets there, and the reach must stay near the three or four sigma a Gaussian needs.
TEST(GaussianBlur, APartGrownByTheReachBlursExactlyAsTheWholePicture) {
  const unsigned seed = randomTestSeed("GaussianBlur.APartGrownByTheReachBlursExactlyAsTheWholePicture");
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> level(0, 255);
  const int width = 260, height = 200;
  SurfacePtr original = makeArgbSurface(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (level(random) < 128) continue;
      const int a = level(random);
      setPixel(original.get(), x, y, {a, level(random) * a / 255, level(random) * a / 255, level(random) * a / 255});
    }
  }
  const auto copy = [&](int left, int top, int w, int h) {
    SurfacePtr part = makeArgbSurface(w, h);
    cairo_t* cr = cairo_create(part.get());
    cairo_set_source_surface(cr, original.get(), -left, -top);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    return part;
  };
  const int left = 120, top = 90, w = 17, h = 11;
  for (const double sigma : {0.4, 1.5, 2.5, 5.99, 6.0, 6.3, 9.3, 17.0, 23.2}) {
    const long long reach = blurReach(sigma);
    EXPECT_LE(reach, std::ceil(4 * sigma) + 4) << "sigma " << sigma;
    ASSERT_LE(reach, 80) << "sigma " << sigma;
    const int r = static_cast<int>(reach);
    SurfacePtr whole = copy(0, 0, width, height);
    gaussianBlur(whole.get(), sigma);
    SurfacePtr part = copy(left - r, top - r, w + 2 * r, h + 2 * r);
    gaussianBlur(part.get(), sigma);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(pixelAt(part.get(), x + r, y + r), pixelAt(whole.get(), left + x, top + y))
            << "sigma " << sigma << " at " << x << ", " << y;
      }
    }
  }
  EXPECT_EQ(blurReach(0), 0);
  EXPECT_EQ(blurReach(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(blurReach(1e300), 1LL << 31);
}

}  // namespace
}  // namespace platform
