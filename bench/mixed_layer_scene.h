#pragma once

// The benchmarks' 10,000-layer drawing: rectangles, ovals, stars, lines and 200-point pen curves scattered over a
// 1600 × 1200 page with fills, strokes, some gradients, shadows and blurs, the same on every run (fixed seed).
// Each layer is described once (SceneLayer) so that a benchmark can also write it in another format.

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/value.h"

namespace bench {

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;
using platform::Rect;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr int kLayerCount = 10000;
constexpr int kCurvePoints = 200;

enum class Kind { Rect, Oval, Star, Line, Curve };

struct Colour {
  int r = 0;
  int g = 0;
  int b = 0;
};

// One layer of the scene, from which both the document record and the SVG element are made.
struct SceneLayer {
  Kind kind = Kind::Rect;
  Rect frame;
  Colour fill;
  Colour stroke;
  double strokeWidth = 0;
  bool gradient = false;
  bool shadow = false;
  double blurAmount = 0;
  std::vector<Point> curve;  // anchors, then each anchor's two control points, in frame units
};

inline std::vector<SceneLayer> makeScene() {
  std::mt19937 random(20261207);
  const auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  const auto channel = [&] { return std::uniform_int_distribution<int>(0, 255)(random); };
  std::vector<SceneLayer> scene(kLayerCount);
  for (int index = 0; index < kLayerCount; ++index) {
    SceneLayer& layer = scene[index];
    layer.kind = static_cast<Kind>(index % 5);
    const double width = std::round(uniform(10, 80));
    const double height = std::round(uniform(10, 80));
    layer.frame = {std::round(uniform(0, kWidth - width)), std::round(uniform(0, kHeight - height)), width, height};
    layer.fill = {channel(), channel(), channel()};
    layer.stroke = {channel(), channel(), channel()};
    layer.strokeWidth = index % 3 == 0 ? 0 : 1 + index % 3;
    layer.gradient = index % 7 == 0 && layer.kind != Kind::Line;
    layer.shadow = index % 11 == 0;
    layer.blurAmount = index % 13 == 0 ? 0.05 : 0;
    if (layer.kind == Kind::Line && layer.strokeWidth == 0) layer.strokeWidth = 1;
    if (layer.kind == Kind::Curve) {
      for (int point = 0; point < kCurvePoints; ++point) {
        layer.curve.push_back({uniform(0, width), uniform(0, height)});
        layer.curve.push_back({uniform(0, width), uniform(0, height)});
        layer.curve.push_back({uniform(0, width), uniform(0, height)});
      }
    }
  }
  return scene;
}

// The scene's first `count` layers with their places scaled by `scale`, for tests that draw a smaller page whole.
inline std::vector<SceneLayer> makeCompactScene(std::size_t count, double scale) {
  std::vector<SceneLayer> scene = makeScene();
  scene.resize(count);
  for (SceneLayer& layer : scene) {
    layer.frame.origin.x = std::round(layer.frame.origin.x * scale);
    layer.frame.origin.y = std::round(layer.frame.origin.y * scale);
  }
  return scene;
}

// ---- the document record ----

inline DictRef colourRecord(const Colour& colour) {
  return Dictionary::make({{"r", colour.r}, {"g", colour.g}, {"b", colour.b}, {"a", 255}});
}

inline DictRef gradientRecord(const Colour& from) {
  const auto marker = [](const Colour& colour, double position) {
    return Dictionary::make({{"red", colour.r / 255.0},
                             {"green", colour.g / 255.0},
                             {"blue", colour.b / 255.0},
                             {"mix", 0.5},
                             {"pos", position}});
  };
  return Dictionary::make({{"type", 0}, {"angle", 0.0}, {"markers", Array::make({marker(from, 0), marker({}, 1)})}});
}

inline DictRef pointRecord(int id, Point point, int type) {
  return Dictionary::make({{"id", id}, {"point", platform::stringFromPoint(point)}, {"type", type}});
}

inline DictRef shapeRecord(const SceneLayer& layer) {
  DictRef shape = Dictionary::make();
  const double w = layer.frame.size.width;
  const double h = layer.frame.size.height;
  switch (layer.kind) {
    case Kind::Line:
      shape = Dictionary::make(
          {{"x1", 0.0}, {"y1", 0.0}, {"x2", w}, {"y2", h}, {"type", 0}, {"style", 0},
           {"def_width", static_cast<int>(layer.strokeWidth)}});
      break;
    case Kind::Curve: {
      ArrayRef points = Array::make();
      for (int point = 0; point < kCurvePoints; ++point) {
        DictRef record = pointRecord(point + 1, layer.curve[3 * point], point == 0 ? 1 : 4);
        record->set("control_point1", platform::stringFromPoint(layer.curve[3 * point + 1]));
        record->set("control_point2", platform::stringFromPoint(layer.curve[3 * point + 2]));
        points->add(record);
      }
      shape->set("points", points);
      break;
    }
    default:
      shape->set("points", Array::make({pointRecord(1, {0, 0}, 1), pointRecord(2, {0, h}, 2),
                                        pointRecord(4, {w, h}, 2), pointRecord(5, {w, 0}, 10)}));
      break;
  }
  if (layer.kind != Kind::Line) {
    shape->set("fill", Dictionary::make({{"use", true},
                                         {"type", layer.gradient ? 3 : 1},
                                         {"alpha", 1.0},
                                         {"color", colourRecord(layer.fill)},
                                         {"gradient", gradientRecord(layer.fill)}}));
  }
  shape->set("stroke", Dictionary::make({{"use", layer.strokeWidth > 0},
                                         {"type", 1},
                                         {"alpha", 1.0},
                                         {"lineWidth", layer.strokeWidth},
                                         {"color", colourRecord(layer.stroke)}}));
  shape->set("shadow", Dictionary::make({{"use", layer.shadow},
                                         {"alpha", 0.5},
                                         {"blurRadius", 3.0},
                                         {"offset_x", 3.0},
                                         {"offset_y", 3.0},
                                         {"color", colourRecord({})}}));
  shape->set("blur", Dictionary::make({{"amount", layer.blurAmount}}));
  // Five points, as the SVG peers draw it (the star shape counts "star_angles" + 3).
  if (layer.kind == Kind::Star) shape->set("star_angles", 2);
  return shape;
}

inline int shapeType(Kind kind) {
  switch (kind) {
    case Kind::Rect: return 0;
    case Kind::Oval: return 1;
    case Kind::Star: return 3;
    case Kind::Line: return 4;
    case Kind::Curve: return 7;
  }
  return 0;
}

inline DictRef documentRecord(const std::vector<SceneLayer>& scene) {
  ArrayRef layers = Array::make();
  int id = 1;
  for (const SceneLayer& layer : scene) {
    layers->add(Dictionary::make({{"id", id++},
                                  {"type", 0},
                                  {"visible", true},
                                  {"alpha", 1.0},
                                  {"shape_type", shapeType(layer.kind)},
                                  {"x", layer.frame.origin.x},
                                  {"y", layer.frame.origin.y},
                                  {"width", layer.frame.size.width},
                                  {"height", layer.frame.size.height},
                                  {"shape", shapeRecord(layer)}}));
  }
  return Dictionary::make({{"layers", layers},
                           {"zoom", 1.0},
                           {"background", Dictionary::make({{"bg_color", colourRecord({255, 255, 255})}})}});
}

}  // namespace bench
