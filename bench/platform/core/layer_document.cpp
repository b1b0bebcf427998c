#include "layer_document.h"

#include <cstdint>
#include <random>
#include <string>

#include "platform/core/geometry_strings.h"

namespace platform {
namespace {

class Filler {
 public:
  // Coordinates on a quarter-point grid, like those a drawing produces.
  double coordinate() { return static_cast<double>(engine_() % 8000) / 4.0; }
  std::int64_t small(std::uint32_t count) { return static_cast<std::int64_t>(engine_() % count); }
  bool chance(std::uint32_t percent) { return engine_() % 100 < percent; }
  std::string color() {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int i = 0; i < 6; ++i) text += kDigits[engine_() % 16];
    return text;
  }
  Value pointString() { return stringFromPoint({coordinate(), coordinate()}); }

 private:
  std::mt19937 engine_{20240611};
};

DictRef makeStyle(Filler& fill, bool stroke) {
  auto style = Dictionary::make({{"color", fill.color()},
                                 {"alpha", Value::real32(fill.chance(80) ? 1.0 : 0.5)},
                                 {"enabled", fill.chance(70)},
                                 {"type", fill.small(3)}});
  if (stroke) {
    style->set("width", 0.5 + static_cast<double>(fill.small(8)));
    style->set("cap", fill.small(3));
    style->set("join", fill.small(3));
    style->set("dash", fill.chance(10) ? "4, 2" : "");
  }
  return style;
}

ArrayRef makePoints(Filler& fill, std::size_t count) {
  auto points = Array::make();
  for (std::size_t i = 0; i < count; ++i) {
    const bool curve = fill.chance(40);
    points->add(Dictionary::make({{"point", fill.pointString()},
                                  {"control1", curve ? fill.pointString() : Value("{0, 0}")},
                                  {"control2", curve ? fill.pointString() : Value("{0, 0}")},
                                  {"curve", curve},
                                  {"type", fill.small(4)}}));
  }
  return points;
}

DictRef makeLayer(Filler& fill, std::size_t index, std::size_t pointsPerShape) {
  static const char* const kTypes[] = {"rectangle", "oval", "path", "text", "group"};
  const double x = fill.coordinate();
  const double y = fill.coordinate();
  const double width = 1.0 + fill.coordinate();
  const double height = 1.0 + fill.coordinate();
  const auto shape = Dictionary::make({{"fill", makeStyle(fill, false)},
                                       {"stroke", makeStyle(fill, true)},
                                       {"points", makePoints(fill, pointsPerShape)},
                                       {"closed", fill.chance(60)},
                                       {"winding", fill.small(2)}});
  return Dictionary::make({{"id", static_cast<std::int64_t>(index) + 1},
                           {"type", kTypes[index % std::size(kTypes)]},
                           {"name", "Layer " + std::to_string(index + 1)},
                           {"visible", fill.chance(95)},
                           {"lock", fill.chance(5)},
                           {"x", x},
                           {"y", y},
                           {"width", width},
                           {"height", height},
                           {"rotate", fill.chance(80) ? 0.0 : static_cast<double>(fill.small(360))},
                           {"alpha", Value::real32(fill.chance(90) ? 1.0 : 0.75)},
                           {"blending_mode", fill.small(16)},
                           {"position", stringFromPoint({x, y})},
                           {"size", stringFromSize({width, height})},
                           {"frame", stringFromRect({{x, y}, {width, height}})},
                           {"ismask", fill.chance(3)},
                           {"shadow", fill.chance(10)},
                           {"flip_horizontal", false},
                           {"flip_vertical", false},
                           {"tag", fill.small(1000)},
                           {"shape", shape}});
}

}  // namespace

DictRef makeLayerDocument(std::size_t layerCount, std::size_t pointsPerShape) {
  Filler fill;
  auto layers = Array::make();
  for (std::size_t i = 0; i < layerCount; ++i) layers->add(makeLayer(fill, i, pointsPerShape));
  return Dictionary::make({{"version", 3},
                           {"page_size", "{1024, 768}"},
                           {"background", makeStyle(fill, false)},
                           {"layers", layers}});
}

}  // namespace platform
