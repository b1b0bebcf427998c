#include "drawing_record_generator.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

using platform::Array;
using platform::ArrayRef;
using platform::Bytes;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;

constexpr int kMaxGroupDepth = 3;
constexpr int kMaxLayersPerList = 10;
constexpr int kMaxPoints = 12;

// A 2 by 2 RGBA PNG: one red and one translucent blue pixel per row.
const Bytes kTinyPng = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00, 0x11, 0x49,
    0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0x00, 0x42, 0x0d, 0x0c, 0x30, 0x06, 0x00, 0x3e, 0x59, 0x06,
    0xfb, 0xc0, 0xe4, 0xfe, 0x7b, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

class Generator {
 public:
  explicit Generator(FuzzedDataProvider& input) : in_(input) {}

  DictRef root() {
    DictRef root = Dictionary::make();
    root->set("layers", layerList(0));
    set(root, "width", number(1, 2000));
    set(root, "height", number(1, 2000));
    set(root, "zoom", number(0.1, 8));
    if (maybe()) root->set("background", Dictionary::make({{"bg_color", color()}}));
    if (maybe()) set(root, "not_save_ratio", flag());
    return root;
  }

 private:
  // Index 0 is always the plain choice, which exhausted input gives.
  int pick(int count) { return in_.ConsumeIntegralInRange<int>(0, count - 1); }
  bool maybe() { return pick(3) == 2; }
  int count(int most) { return in_.ConsumeIntegralInRange<int>(0, most); }

  static void set(const DictRef& record, const char* key, Value value) { record->set(key, std::move(value)); }

  Value hostile() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    switch (pick(22)) {
      case 0: return std::nan("");
      case 1: return inf;
      case 2: return -inf;
      case 3: return 1e308;
      case 4: return -1e308;
      case 5: return 0;
      case 6: return -1;
      case 7: return std::numeric_limits<std::int32_t>::max();
      case 8: return std::numeric_limits<std::int32_t>::min();
      case 9: return std::numeric_limits<std::int64_t>::max();
      case 10: return std::numeric_limits<std::int64_t>::min();
      case 11: return Value::real32(std::numeric_limits<float>::max());
      case 12: return 5e-324;
      case 13: return "";
      case 14: return std::string(10000, '7');
      case 15: return "12.5";
      case 16: return "nan";
      case 17: return true;
      case 18: return Dictionary::make({{"x", 1}});
      case 19: return Array::make({1, 2});
      case 20: return Bytes{1, 2, 3};
      default: return Value();  // the key is left out
    }
  }

  // A number between low and high in one of the kinds files hold, or a hostile value.
  Value number(double low, double high) {
    switch (pick(4)) {
      case 0: return in_.ConsumeFloatingPointInRange<double>(low, high);
      case 1: return static_cast<std::int64_t>(in_.ConsumeFloatingPointInRange<double>(low, high));
      case 2: return Value::real32(in_.ConsumeFloatingPointInRange<double>(low, high));
      default: return hostile();
    }
  }
  Value integer(int low, int high) { return pick(4) == 3 ? hostile() : Value(in_.ConsumeIntegralInRange(low, high)); }
  Value flag() { return pick(5) == 4 ? hostile() : Value(in_.ConsumeBool()); }

  std::string coordinate() {
    switch (pick(8)) {
      case 0: return std::to_string(in_.ConsumeIntegralInRange(-50, 300));
      case 1: return std::to_string(in_.ConsumeFloatingPointInRange<double>(-300, 300));
      case 2: return "nan";
      case 3: return "inf";
      case 4: return "-1e308";
      case 5: return "1e999";
      case 6: return "";
      default: return "x";
    }
  }
  Value pointString() {
    if (pick(10) == 9) return hostile();
    return "{" + coordinate() + ", " + coordinate() + "}";
  }

  DictRef color() {
    DictRef color = Dictionary::make();
    for (const char* key : {"r", "g", "b", "a"}) set(color, key, number(0, 255));
    return color;
  }

  DictRef gradient() {
    DictRef gradient = Dictionary::make();
    set(gradient, "type", integer(0, 3));
    set(gradient, "fx", number(-1, 1));
    set(gradient, "fy", number(-1, 1));
    if (maybe()) set(gradient, "radius_factor", number(0, 5));
    if (maybe()) set(gradient, "angle", number(-360, 360));
    ArrayRef markers = Array::make();
    for (int i = count(4); i > 0; --i) {
      DictRef marker = Dictionary::make();
      for (const char* key : {"pos", "red", "green", "blue"}) set(marker, key, number(0, 1));
      if (maybe()) set(marker, "mix", number(0, 1));
      markers->add(marker);
    }
    gradient->set("markers", markers);
    if (maybe()) {
      DictRef attributes = Dictionary::make();
      for (const char* key : {"x1", "y1", "x2", "y2"}) set(attributes, key, number(-100, 300));
      gradient->set("attributes", attributes);
    }
    return gradient;
  }

  Value image() {
    switch (pick(4)) {
      case 0: return kTinyPng;
      case 1: return Bytes(kTinyPng.begin(), kTinyPng.begin() + in_.ConsumeIntegralInRange<std::size_t>(0, 40));
      case 2: return in_.ConsumeBytes<std::uint8_t>(in_.ConsumeIntegralInRange(0, 16));
      default: return hostile();
    }
  }

  // A fill style record, and with `stroke` the stroke keys on top.
  DictRef paint(bool stroke) {
    DictRef paint = Dictionary::make();
    set(paint, "use", flag());
    set(paint, "type", integer(0, 4));
    set(paint, "alpha", number(0, 1));
    paint->set("color", color());
    if (maybe()) set(paint, "image", image());
    if (maybe()) set(paint, "image_path", pick(2) ? "/nonexistent/draftwork-fuzz.png" : "");
    if (maybe()) set(paint, "image_draw_type", integer(0, 3));
    if (maybe()) paint->set("gradient", gradient());
    if (!stroke) return paint;
    set(paint, "lineWidth", number(0, 20));
    set(paint, "lineJoinStyle", integer(0, 3));
    set(paint, "lineCapStyle", integer(0, 3));
    set(paint, "mode", integer(0, 2));
    set(paint, "dashStyle", integer(0, 1));
    if (maybe()) {
      ArrayRef dashes = Array::make();
      for (int i = count(4); i > 0; --i) dashes->add(number(-2, 10));
      paint->set("dashPoints", dashes);
      set(paint, "stroke-dashoffset", number(-5, 5));
    }
    return paint;
  }

  DictRef shadow() {
    DictRef shadow = Dictionary::make();
    set(shadow, "use", flag());
    set(shadow, "alpha", number(0, 1));
    set(shadow, "blurRadius", number(0, 20));
    set(shadow, "offset_x", number(-20, 20));
    set(shadow, "offset_y", number(-20, 20));
    shadow->set("color", color());
    return shadow;
  }

  // Point records of a path: "type" bits 1 move, 2 line, 4 curve, 8 close.
  ArrayRef pathPoints() {
    static constexpr int kTypes[] = {2, 1, 4, 10, 12, 5, 9, 6, 0, 16, 13};
    ArrayRef points = Array::make();
    const int total = count(kMaxPoints);
    for (int i = 0; i < total; ++i) {
      DictRef point = Dictionary::make();
      set(point, "id", pick(8) == 7 ? integer(-5, 100) : Value(i + 1));
      set(point, "point", pointString());
      set(point, "type", pick(6) == 5 ? hostile() : Value(kTypes[pick(std::size(kTypes))]));
      if (maybe()) set(point, "virtual_type", integer(0, 12));
      if (maybe() || maybe()) {
        set(point, "control_point1", pointString());
        set(point, "control_point2", pointString());
      }
      if (pick(6) == 5) set(point, "linked_point_id", integer(0, kMaxPoints + 2));
      if (pick(6) == 5) set(point, "correction_point_id", integer(0, kMaxPoints + 2));
      if (pick(8) == 7) set(point, "temp", flag());
      if (pick(8) == 7) set(point, "hide", flag());
      points->add(point);
    }
    return points;
  }

  // The pen tool's clicks.
  ArrayRef penClicks() {
    ArrayRef clicks = Array::make();
    for (int i = count(kMaxPoints); i > 0; --i) {
      DictRef click = Dictionary::make();
      for (const char* key : {"point", "control_point1", "control_point2"}) set(click, key, pointString());
      for (const char* key : {"start", "lineTo", "closed"})
        if (maybe()) set(click, key, flag());
      clicks->add(click);
    }
    return clicks;
  }

  // The pencil's samples: bare point strings.
  ArrayRef samples() {
    ArrayRef samples = Array::make();
    for (int i = count(kMaxPoints); i > 0; --i) samples->add(pointString());
    return samples;
  }

  DictRef shapeRecord(std::int64_t shapeType) {
    DictRef shape = Dictionary::make();
    set(shape, "isbezier", pick(3) == 2 ? flag() : Value(false));
    if (pick(6) != 5) {
      const bool drawn = !shape->get("isbezier").boolValue() && (shapeType == 5 || shapeType == 6);
      shape->set("points", !drawn ? pathPoints() : shapeType == 5 ? samples() : penClicks());
    }
    shape->set("fill", paint(false));
    shape->set("stroke", paint(true));
    if (maybe()) shape->set("shadow", shadow());
    // The numbered style slots ("fill1" … "fill9" and so on).
    const std::string slot = std::to_string(in_.ConsumeIntegralInRange(1, 9));
    if (pick(5) == 4) shape->set("fill" + slot, paint(false));
    if (pick(5) == 4) shape->set("stroke" + slot, paint(true));
    if (pick(5) == 4) shape->set("shadow" + slot, shadow());
    if (maybe()) shape->set("blur", Dictionary::make({{"amount", number(0, 1)}}));
    switch (shapeType) {
      case 0:
        if (maybe()) set(shape, "round", flag());
        if (maybe()) set(shape, "round_width", number(0, 50));
        break;
      case 2: set(shape, "polygon_sides", integer(-3, 12)); break;
      case 3: set(shape, "star_angles", integer(-3, 12)); break;
      case 4:
        for (const char* key : {"x1", "y1", "x2", "y2"}) set(shape, key, number(-100, 300));
        for (const char* key : {"type", "style", "def_width", "line_arrow_type"})
          if (maybe()) set(shape, key, integer(0, 5));
        break;
      case 6: set(shape, "start_point", pointString()); break;
      default: break;
    }
    if (pick(6) == 5) {
      set(shape, "x_offset", number(-50, 50));
      set(shape, "y_offset", number(-50, 50));
    }
    return shape;
  }

  DictRef textStyle() {
    DictRef style = Dictionary::make();
    set(style, "fontName", pick(3) == 0 ? Value("Sans") : pick(2) ? Value("") : hostile());
    set(style, "fontSize", number(1, 72));
    style->set("foregroundColor", color());
    if (maybe()) style->set("backgroundColor", color());
    if (maybe()) set(style, "underlilneStyle", integer(0, 2));
    if (maybe()) set(style, "strikethroughStyle", integer(0, 2));
    if (maybe()) style->set("shadow", shadow());
    if (maybe()) style->set("paragraphStyle", Dictionary::make({{"aligment", integer(0, 4)}}));
    if (maybe()) {
      set(style, "strokeWidth", number(-5, 5));
      style->set("strokeColor", color());
    }
    return style;
  }

  Value text() {
    switch (pick(5)) {
      case 0: return "Seam";
      case 1: return "Gr\xc3\xbc\xc3\x9f" "e\n\xf0\x9d\x84\x9e line";
      case 2: return "";
      case 3: return std::string(10000, 'w');
      default: return hostile();
    }
  }

  Value transforms() {
    static const char* const kEntries[] = {"rotate(30 10 10)", "translate(5,5)", "rotate(nan 1 1)",
                                           "rotate(1e39 0 0)", "ROTATE(-90  4)",  "rotate(",
                                           "matrix(1 0 0 1 5 5)", "rotate)45 1 1("};
    ArrayRef list = Array::make();
    for (int i = count(3); i > 0; --i) list->add(pick(6) == 5 ? hostile() : Value(kEntries[pick(std::size(kEntries))]));
    return list;
  }

  Value layerId() {
    ++lastId_;
    switch (pick(8)) {
      case 6: return lastId_ - 1;  // the id of the layer before
      case 7: return hostile();
      default: return lastId_;
    }
  }

  DictRef layer(int depth, bool mask) {
    static constexpr int kTypes[] = {0, 0, 3, 2, 1, 4, -1};
    const int type = mask ? 0 : kTypes[pick(std::size(kTypes))];
    DictRef record = Dictionary::make();
    set(record, "id", layerId());
    set(record, "type", pick(12) == 11 ? hostile() : Value(type));
    set(record, "name", pick(4) == 3 ? hostile() : Value("Layer"));
    set(record, "visible", pick(5) == 4 ? hostile() : Value(true));
    set(record, "lock", integer(0, 1));
    set(record, "position", integer(0, 50));
    for (const char* key : {"x", "y"}) set(record, key, number(-100, 300));
    for (const char* key : {"width", "height"}) set(record, key, number(0, 300));
    if (maybe()) set(record, "rotate", number(-360, 360));
    if (pick(5) == 4) {
      set(record, "rotate_x", number(-100, 300));
      set(record, "rotate_y", number(-100, 300));
    }
    if (pick(5) == 4) set(record, "transforms", transforms());
    set(record, "alpha", number(0, 1));
    if (maybe()) set(record, "blending_mode", integer(0, 30));
    if (maybe()) set(record, "dirty", flag());
    if (pick(5) == 4) set(record, "isDirty", flag());
    if (pick(6) == 5) set(record, "saveratio", flag());
    set(record, "ismask", mask ? Value(true) : Value(false));
    if (!mask && depth < kMaxGroupDepth && pick(5) == 4) {
      ArrayRef masks = Array::make();
      for (int i = count(2); i > 0; --i) masks->add(layer(depth + 1, true));
      record->set("masks", masks);
    }
    switch (type) {
      case 0: {
        const std::int64_t shapeType = pick(10) == 9 ? in_.ConsumeIntegralInRange(8, 100) : pick(8);
        set(record, "shape_type", pick(10) == 9 ? hostile() : Value(shapeType));
        if (pick(10) != 9) record->set("shape", shapeRecord(shapeType));
        break;
      }
      case 1:
        set(record, "image", image());
        if (maybe()) set(record, "image_path", pick(2) ? "/nonexistent/draftwork-fuzz.png" : "");
        if (maybe()) set(record, "flip_h", flag());
        if (maybe()) set(record, "flip_v", flag());
        break;
      case 2:
        set(record, "text", text());
        if (pick(8) != 7) record->set("style", textStyle());
        if (pick(6) == 5) set(record, "text-anchor", "end");
        break;
      case 3:
        record->set("items", depth < kMaxGroupDepth ? layerList(depth + 1) : Array::make());
        break;
      default: break;
    }
    return record;
  }

  ArrayRef layerList(int depth) {
    ArrayRef list = Array::make();
    for (int i = count(kMaxLayersPerList); i > 0; --i) list->add(layer(depth, false));
    return list;
  }

  FuzzedDataProvider& in_;
  std::int64_t lastId_ = 0;
};

}  // namespace

platform::DictRef generateDrawing(FuzzedDataProvider& input) { return Generator(input).root(); }
