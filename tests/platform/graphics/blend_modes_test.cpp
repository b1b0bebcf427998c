#include "platform/graphics/blend_modes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>

#include "graphics_test_canvas.h"
#include "platform/graphics/bezier_path.h"

namespace platform {
namespace {

using testing::GraphicsCanvas;
using testing::Pixel;

// Unpremultiplied colour channels, 0…1.
using Rgb = std::array<double, 3>;

// Reference blend functions B(backdrop, source), written from the W3C compositing formulas.
double softLightD(double cb) { return cb <= 0.25 ? ((16 * cb - 12) * cb + 4) * cb : std::sqrt(cb); }

double separable(BlendMode mode, double cb, double cs) {
  const auto multiply = [](double b, double s) { return b * s; };
  const auto screen = [](double b, double s) { return b + s - b * s; };
  const auto hardLight = [&](double b, double s) { return s <= 0.5 ? multiply(b, 2 * s) : screen(b, 2 * s - 1); };
  switch (mode) {
    case BlendMode::Multiply:
      return multiply(cb, cs);
    case BlendMode::Screen:
      return screen(cb, cs);
    case BlendMode::Overlay:
      return hardLight(cs, cb);
    case BlendMode::Darken:
      return std::min(cb, cs);
    case BlendMode::Lighten:
      return std::max(cb, cs);
    case BlendMode::ColorDodge:
      return cb == 0 ? 0 : cs >= 1 ? 1 : std::min(1.0, cb / (1 - cs));
    case BlendMode::ColorBurn:
      return cb == 1 ? 1 : cs <= 0 ? 0 : 1 - std::min(1.0, (1 - cb) / cs);
    case BlendMode::HardLight:
      return hardLight(cb, cs);
    case BlendMode::SoftLight:
      return cs <= 0.5 ? cb - (1 - 2 * cs) * cb * (1 - cb) : cb + (2 * cs - 1) * (softLightD(cb) - cb);
    case BlendMode::Difference:
      return std::abs(cb - cs);
    case BlendMode::Exclusion:
      return cb + cs - 2 * cb * cs;
    default:
      return cs;
  }
}

double lum(const Rgb& c) { return 0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2]; }

Rgb clipColor(Rgb c) {
  const double l = lum(c);
  const double n = std::min({c[0], c[1], c[2]});
  const double x = std::max({c[0], c[1], c[2]});
  for (double& v : c) {
    if (n < 0) v = l + (v - l) * l / (l - n);
    if (x > 1) v = l + (v - l) * (1 - l) / (x - l);
  }
  return c;
}

Rgb setLum(Rgb c, double l) {
  const double d = l - lum(c);
  for (double& v : c) v += d;
  return clipColor(c);
}

double sat(const Rgb& c) { return std::max({c[0], c[1], c[2]}) - std::min({c[0], c[1], c[2]}); }

Rgb setSat(Rgb c, double s) {
  std::array<int, 3> order = {0, 1, 2};
  std::sort(order.begin(), order.end(), [&](int a, int b) { return c[a] < c[b]; });
  double& mn = c[order[0]];
  double& mid = c[order[1]];
  double& mx = c[order[2]];
  if (mx > mn) {
    mid = (mid - mn) * s / (mx - mn);
    mx = s;
  } else {
    mid = mx = 0;
  }
  mn = 0;
  return c;
}

Rgb blend(BlendMode mode, const Rgb& cb, const Rgb& cs) {
  switch (mode) {
    case BlendMode::Hue:
      return setLum(setSat(cs, sat(cb)), lum(cb));
    case BlendMode::Saturation:
      return setLum(setSat(cb, sat(cs)), lum(cb));
    case BlendMode::Color:
      return setLum(cs, lum(cb));
    case BlendMode::Luminosity:
      return setLum(cb, lum(cs));
    default:
      return {separable(mode, cb[0], cs[0]), separable(mode, cb[1], cs[1]), separable(mode, cb[2], cs[2])};
  }
}

struct Premultiplied {
  std::array<double, 3> c;
  double a;
};

// Source of alpha `as` blended onto an opaque backdrop.
Premultiplied blendOntoOpaque(BlendMode mode, const Rgb& cb, const Rgb& cs, double as) {
  const Rgb b = blend(mode, cb, cs);
  Premultiplied out{{}, 1};
  for (int i = 0; i < 3; ++i) out.c[i] = as * b[i] + (1 - as) * cb[i];
  return out;
}

// Porter-Duff and arithmetic modes on premultiplied values.
Premultiplied compose(BlendMode mode, const Premultiplied& s, const Premultiplied& d) {
  const auto each = [&](const std::function<double(double, double)>& f) {
    Premultiplied out;
    for (int i = 0; i < 3; ++i) out.c[i] = f(s.c[i], d.c[i]);
    out.a = f(s.a, d.a);
    return out;
  };
  const double sa = s.a, da = d.a;
  switch (mode) {
    case BlendMode::Clear:
      return each([](double, double) { return 0.0; });
    case BlendMode::Copy:
      return each([](double x, double) { return x; });
    case BlendMode::SourceIn:
      return each([&](double x, double) { return x * da; });
    case BlendMode::SourceOut:
      return each([&](double x, double) { return x * (1 - da); });
    case BlendMode::SourceAtop:
      return each([&](double x, double y) { return x * da + y * (1 - sa); });
    case BlendMode::DestinationOver:
      return each([&](double x, double y) { return x * (1 - da) + y; });
    case BlendMode::DestinationIn:
      return each([&](double, double y) { return y * sa; });
    case BlendMode::DestinationOut:
      return each([&](double, double y) { return y * (1 - sa); });
    case BlendMode::DestinationAtop:
      return each([&](double x, double y) { return x * (1 - da) + y * sa; });
    case BlendMode::Xor:
      return each([&](double x, double y) { return x * (1 - da) + y * (1 - sa); });
    case BlendMode::PlusLighter:
      return each([](double x, double y) { return std::min(1.0, x + y); });
    case BlendMode::PlusDarker:
      return each([](double x, double y) { return std::max(0.0, 1 - ((1 - y) + (1 - x))); });
    default:
      return each([&](double x, double y) { return x + y * (1 - sa); });
  }
}

void expectPixel(const Pixel& p, const Premultiplied& want, const std::string& what) {
  const auto near = [](int got, double expected) { return std::abs(got - expected * 255) <= 2.0; };
  EXPECT_TRUE(near(p.r, want.c[0]) && near(p.g, want.c[1]) && near(p.b, want.c[2]) && near(p.a, want.a))
      << what << ": got " << p.r << "," << p.g << "," << p.b << "," << p.a << " want " << want.c[0] * 255 << ","
      << want.c[1] * 255 << "," << want.c[2] * 255 << "," << want.a * 255;
}

// Whole-canvas fill of `source` in `mode` on a canvas painted with `backdrop`; returns the centre pixel.
// A global alpha below 1 sends the fill through the offscreen compositing path.
Pixel drawMode(BlendMode mode, const Rgb& backdrop, double backdropAlpha, const Rgb& source, double sourceAlpha,
               double globalAlpha) {
  GraphicsCanvas canvas(6, 6);
  canvas.paintBackdrop(backdrop[0], backdrop[1], backdrop[2], backdropAlpha);
  GraphicsContext& gc = canvas.context();
  gc.setBlendMode(mode);
  gc.setAlpha(globalAlpha);
  gc.setFillColor(Color(source[0], source[1], source[2], sourceAlpha));
  gc.fillPath(BezierPath::rect({0, 0, 6, 6}));
  return canvas.at(3, 3);
}

// Channel values on the 8-bit grid, so the reference sees what the surface holds.
constexpr double q(int v) { return v / 255.0; }

const Rgb kBackdrop = {q(204), q(51), q(140)};
const Rgb kSource = {q(77), q(179), q(115)};

constexpr BlendMode kColourModes[] = {
    BlendMode::Multiply,  BlendMode::Screen,     BlendMode::Overlay,   BlendMode::Darken,
    BlendMode::Lighten,   BlendMode::ColorDodge, BlendMode::ColorBurn, BlendMode::SoftLight,
    BlendMode::HardLight, BlendMode::Difference, BlendMode::Exclusion, BlendMode::Hue,
    BlendMode::Saturation, BlendMode::Color,     BlendMode::Luminosity};

TEST(BlendModeDrawing, ColourModesMatchTheirFormulasOnAnOpaqueBackdrop) {
  for (BlendMode mode : kColourModes) {
    for (double globalAlpha : {1.0, 0.5}) {
      for (const auto& [b, s] : {std::pair{kBackdrop, kSource}, std::pair{kSource, kBackdrop}}) {
        const std::string what = "mode " + std::to_string(static_cast<int>(mode)) + " alpha " +
                                 std::to_string(globalAlpha) + (b == kBackdrop ? "" : " swapped");
        expectPixel(drawMode(mode, b, 1, s, 1, globalAlpha), blendOntoOpaque(mode, b, s, globalAlpha), what);
      }
    }
  }
}

TEST(BlendModeDrawing, NormalIsSourceOver) {
  const Premultiplied s{{kSource[0] * 0.6, kSource[1] * 0.6, kSource[2] * 0.6}, 0.6};
  const Premultiplied d{{kBackdrop[0] * q(153), kBackdrop[1] * q(153), kBackdrop[2] * q(153)}, q(153)};
  expectPixel(drawMode(BlendMode::Normal, kBackdrop, q(153), kSource, 0.6, 1), compose(BlendMode::Normal, s, d),
              "normal");
}

constexpr BlendMode kCompositingModes[] = {
    BlendMode::Clear,          BlendMode::Copy,          BlendMode::SourceIn,        BlendMode::SourceOut,
    BlendMode::SourceAtop,     BlendMode::DestinationOver, BlendMode::DestinationIn, BlendMode::DestinationOut,
    BlendMode::DestinationAtop, BlendMode::Xor,          BlendMode::PlusLighter};

TEST(BlendModeDrawing, CompositingModesMatchPorterDuffOnATranslucentBackdrop) {
  const double backdropAlpha = q(153), sourceAlpha = q(204);
  for (BlendMode mode : kCompositingModes) {
    for (double globalAlpha : {1.0, 0.5}) {
      const double as = sourceAlpha * globalAlpha;
      const Premultiplied s{{kSource[0] * as, kSource[1] * as, kSource[2] * as}, as};
      const Premultiplied d{{kBackdrop[0] * backdropAlpha, kBackdrop[1] * backdropAlpha, kBackdrop[2] * backdropAlpha},
                            backdropAlpha};
      expectPixel(drawMode(mode, kBackdrop, backdropAlpha, kSource, sourceAlpha, globalAlpha), compose(mode, s, d),
                  "mode " + std::to_string(static_cast<int>(mode)) + " alpha " + std::to_string(globalAlpha));
    }
  }
}

TEST(BlendModeDrawing, PlusDarkerOnOpaqueColoursIsTheClampedSum) {
  for (const auto& [b, s] : {std::pair{kBackdrop, kSource}, std::pair{Rgb{1, 1, 1}, kSource}}) {
    const Premultiplied d{b, 1}, src{s, 1};
    expectPixel(drawMode(BlendMode::PlusDarker, b, 1, s, 1, 1), compose(BlendMode::PlusDarker, src, d), "plus darker");
  }
}

TEST(BlendModeDrawing, PlusDarkerLeavesTheBackdropWhereTheSourceIsTransparent) {
  GraphicsCanvas canvas(8, 8);
  canvas.paintBackdrop(kBackdrop[0], kBackdrop[1], kBackdrop[2], 1);
  GraphicsContext& gc = canvas.context();
  gc.setBlendMode(BlendMode::PlusDarker);
  gc.setFillColor(Color(kSource[0], kSource[1], kSource[2], 1));
  gc.fillPath(BezierPath::rect({0, 0, 4, 8}));  // left half
  const Pixel outside = canvas.at(5, 4);         // within the offscreen margin, outside the shape
  EXPECT_NEAR(outside.r, 204, 1);
  EXPECT_NEAR(outside.g, 51, 1);
  EXPECT_NEAR(outside.b, 140, 1);
  const Pixel inside = canvas.at(1, 4);
  EXPECT_NEAR(inside.r, std::max(0, 204 + 77 - 255), 2);
  EXPECT_NEAR(inside.g, std::max(0, 51 + 179 - 255), 2);
  EXPECT_NEAR(inside.b, std::max(0, 140 + 115 - 255), 2);
}

TEST(BlendModeDrawing, PlusDarkerHonoursTheClip) {
  GraphicsCanvas canvas(8, 8);
  canvas.paintBackdrop(1, 1, 1, 1);
  GraphicsContext& gc = canvas.context();
  gc.clipToRect({0, 0, 8, 4});  // bottom half in y-up space
  gc.setBlendMode(BlendMode::PlusDarker);
  gc.setFillColor(Color(0.2, 0.2, 0.2, 1));
  gc.fillPath(BezierPath::rect({0, 0, 8, 8}));
  EXPECT_NEAR(canvas.at(4, 6).r, 51, 2);   // bottom of the image: clipped in
  EXPECT_EQ(canvas.at(4, 1).r, 255);       // top: clipped out
}

TEST(BlendModeValues, UnknownValuesDrawAsNormal) {
  EXPECT_EQ(blendModeFromValue(-1), BlendMode::Normal);
  EXPECT_EQ(blendModeFromValue(28), BlendMode::Normal);
  EXPECT_EQ(blendModeFromValue(1LL << 40), BlendMode::Normal);
  EXPECT_EQ(blendModeFromValue(26), BlendMode::PlusDarker);
  EXPECT_EQ(blendModeFromValue(27), BlendMode::PlusLighter);
  EXPECT_EQ(blendModeFromValue(17), BlendMode::Copy);
}

TEST(BlendModeDrawing, AnOutOfRangeModeDrawsAsNormal) {
  const Pixel odd = drawMode(static_cast<BlendMode>(99), kBackdrop, 1, kSource, 0.6, 1);
  const Pixel normal = drawMode(BlendMode::Normal, kBackdrop, 1, kSource, 0.6, 1);
  EXPECT_EQ(odd.r, normal.r);
  EXPECT_EQ(odd.g, normal.g);
  EXPECT_EQ(odd.b, normal.b);
  EXPECT_NEAR(normal.r, 0.6 * 77 + 0.4 * 204, 1);
}

TEST(BlendModeValues, OnlyPlusDarkerLacksACairoOperator) {
  for (int v = 0; v <= 27; ++v) {
    EXPECT_EQ(cairoOperator(static_cast<BlendMode>(v)).has_value(), v != 26) << v;
  }
  EXPECT_EQ(cairoOperator(BlendMode::Copy), CAIRO_OPERATOR_SOURCE);
  EXPECT_EQ(cairoOperator(BlendMode::PlusLighter), CAIRO_OPERATOR_ADD);
  EXPECT_EQ(cairoOperator(BlendMode::Luminosity), CAIRO_OPERATOR_HSL_LUMINOSITY);
}

}  // namespace
}  // namespace platform
