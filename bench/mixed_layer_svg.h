#pragma once

// The benchmark scene's layers as SVG elements, for the peers that render SVG (rsvg-convert).

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/mixed_layer_scene.h"
#include "document/CMStarShape.h"

namespace bench {

inline std::string rgb(const Colour& colour) {
  return "rgb(" + std::to_string(colour.r) + "," + std::to_string(colour.g) + "," + std::to_string(colour.b) + ")";
}

inline std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

// The filters the elements refer to. The shadow is made of SVG 1.1 primitives: rsvg-convert 2.54 leaves out every
// element whose filter holds feDropShadow.
inline constexpr const char* kSvgFilters =
    "<defs><filter id=\"shadow\"><feGaussianBlur in=\"SourceAlpha\" stdDeviation=\"1.5\"/>"
    "<feOffset dx=\"3\" dy=\"3\" result=\"blurred\"/><feFlood flood-color=\"black\" flood-opacity=\"0.5\"/>"
    "<feComposite in2=\"blurred\" operator=\"in\"/><feMerge><feMergeNode/><feMergeNode in=\"SourceGraphic\"/>"
    "</feMerge></filter><filter id=\"blur\"><feGaussianBlur stdDeviation=\"2.5\"/></filter></defs>";

// The element of one layer at its place on the page; filters "#blur" and "#shadow" and the gradient "#g<index>"
// (written here) are referred to.
inline std::string svgElement(const SceneLayer& layer, int index) {
  const Rect& f = layer.frame;
  const std::string fill = layer.kind == Kind::Line ? "none" : layer.gradient ? "url(#g" + std::to_string(index) + ")"
                                                                              : rgb(layer.fill);
  // Colour fills are even-odd in the drawing model, which matters for the self-crossing curves.
  std::string style = " fill=\"" + fill + "\" fill-rule=\"evenodd\"";
  style += layer.strokeWidth > 0 ? " stroke=\"" + rgb(layer.stroke) + "\" stroke-width=\"" + number(layer.strokeWidth) + "\""
                                 : " stroke=\"none\"";
  if (layer.blurAmount > 0) style += " filter=\"url(#blur)\"";
  else if (layer.shadow) style += " filter=\"url(#shadow)\"";
  std::string element;
  if (layer.gradient) {
    element += "<linearGradient id=\"g" + std::to_string(index) + "\"><stop offset=\"0\" stop-color=\"" +
               rgb(layer.fill) + "\"/><stop offset=\"1\" stop-color=\"black\"/></linearGradient>";
  }
  switch (layer.kind) {
    case Kind::Rect:
      element += "<rect x=\"" + number(f.origin.x) + "\" y=\"" + number(f.origin.y) + "\" width=\"" +
                 number(f.size.width) + "\" height=\"" + number(f.size.height) + "\"" + style + "/>";
      break;
    case Kind::Oval:
      element += "<ellipse cx=\"" + number(f.origin.x + f.size.width / 2) + "\" cy=\"" +
                 number(f.origin.y + f.size.height / 2) + "\" rx=\"" + number(f.size.width / 2) + "\" ry=\"" +
                 number(f.size.height / 2) + "\"" + style + "/>";
      break;
    case Kind::Star: {
      element += "<polygon points=\"";
      for (const Point& point : CMStarShape::points(f, 5)) element += number(point.x) + "," + number(point.y) + " ";
      element += "\"" + style + "/>";
      break;
    }
    case Kind::Line:
      element += "<line x1=\"" + number(f.origin.x) + "\" y1=\"" + number(f.origin.y) + "\" x2=\"" +
                 number(f.origin.x + f.size.width) + "\" y2=\"" + number(f.origin.y + f.size.height) + "\"" + style +
                 "/>";
      break;
    case Kind::Curve: {
      const auto at = [&](const Point& p) { return number(f.origin.x + p.x) + "," + number(f.origin.y + p.y); };
      element += "<path d=\"M" + at(layer.curve[0]);
      for (int point = 1; point < kCurvePoints; ++point) {
        element += " C" + at(layer.curve[3 * point + 1]) + " " + at(layer.curve[3 * point + 2]) + " " +
                   at(layer.curve[3 * point]);
      }
      element += "\"" + style + "/>";
      break;
    }
  }
  return element;
}

// The whole scene as an SVG page of the same size on white, written to `file`, which is returned.
inline std::filesystem::path writeSceneSvg(const std::vector<SceneLayer>& scene, const std::filesystem::path& file) {
  std::ofstream out(file);
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight << "\">"
      << kSvgFilters << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>";
  for (std::size_t index = 0; index < scene.size(); ++index) out << svgElement(scene[index], static_cast<int>(index));
  out << "</svg>\n";
  return file;
}

// How far two renderings of the scene agree: the share of pixels whose channels differ by more than a quarter of the
// range (edges antialiased differently stay below it), and the 40 × 40 cell where most of them lie.
struct PictureDifference {
  double differingShare = 1;
  int worstCellX = 0;
  int worstCellY = 0;
  int worstCellPixels = 0;
};

// `ours` and the PNG at `peer` must have the same size; otherwise everything counts as different.
inline PictureDifference comparePictures(cairo_surface_t* ours, const std::filesystem::path& peer) {
  PictureDifference difference;
  const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> theirs(
      cairo_image_surface_create_from_png(peer.c_str()), cairo_surface_destroy);
  cairo_surface_flush(ours);
  const int width = cairo_image_surface_get_width(ours);
  const int height = cairo_image_surface_get_height(ours);
  if (cairo_surface_status(theirs.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_image_surface_get_width(theirs.get()) != width || cairo_image_surface_get_height(theirs.get()) != height) {
    return difference;
  }
  constexpr int kCell = 40;
  std::vector<int> cells(static_cast<std::size_t>((width / kCell + 1) * (height / kCell + 1)));
  long long differing = 0;
  for (int y = 0; y < height; ++y) {
    const auto* a = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(ours) +
                                                           static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(ours));
    const auto* b = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(theirs.get()) +
                                                           static_cast<std::ptrdiff_t>(y) *
                                                               cairo_image_surface_get_stride(theirs.get()));
    for (int x = 0; x < width; ++x) {
      bool differs = false;
      for (int shift = 0; shift < 32; shift += 8) {
        differs |= std::abs(static_cast<int>((a[x] >> shift) & 0xff) - static_cast<int>((b[x] >> shift) & 0xff)) > 64;
      }
      if (!differs) continue;
      ++differing;
      int& cell = cells[static_cast<std::size_t>((y / kCell) * (width / kCell + 1) + x / kCell)];
      if (++cell > difference.worstCellPixels) {
        difference.worstCellPixels = cell;
        difference.worstCellX = x / kCell * kCell;
        difference.worstCellY = y / kCell * kCell;
      }
    }
  }
  difference.differingShare = static_cast<double>(differing) / (static_cast<double>(width) * height);
  return difference;
}

inline void printPictureDifference(const char* what, const PictureDifference& difference) {
  std::printf("%s: %.2f %% of the pixels differ, most in the 40 x 40 cell at (%d, %d): %d\n", what,
              difference.differingShare * 100, difference.worstCellX, difference.worstCellY,
              difference.worstCellPixels);
}

// Runs the rsvg-convert command once an iteration; the mean seconds an iteration, or 0 (the run marked skipped)
// when rsvg-convert is missing or fails.
inline double timeRsvgConvert(benchmark::State& state, const std::string& command) {
  if (std::system("command -v rsvg-convert > /dev/null 2>&1") != 0) {
    state.SkipWithError("rsvg-convert is not installed (Debian package librsvg2-bin)");
    return 0;
  }
  std::chrono::steady_clock::duration total{};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("rsvg-convert failed");
      return 0;
    }
    total += std::chrono::steady_clock::now() - start;
  }
  return std::chrono::duration<double>(total).count() / static_cast<double>(state.iterations());
}

}  // namespace bench
