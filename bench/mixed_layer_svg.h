#pragma once

// The benchmark scene's layers as SVG elements, for the peers that render SVG (rsvg-convert).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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

// The filters the elements refer to.
inline constexpr const char* kSvgFilters =
    "<defs><filter id=\"shadow\"><feDropShadow dx=\"3\" dy=\"3\" stdDeviation=\"1.5\" flood-opacity=\"0.5\"/>"
    "</filter><filter id=\"blur\"><feGaussianBlur stdDeviation=\"2.5\"/></filter></defs>";

// The element of one layer at its place on the page; filters "#blur" and "#shadow" and the gradient "#g<index>"
// (written here) are referred to.
inline std::string svgElement(const SceneLayer& layer, int index) {
  const Rect& f = layer.frame;
  const std::string fill = layer.kind == Kind::Line ? "none" : layer.gradient ? "url(#g" + std::to_string(index) + ")"
                                                                              : rgb(layer.fill);
  std::string style = " fill=\"" + fill + "\"";
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
