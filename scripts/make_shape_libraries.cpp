// Writes the built-in shape libraries: resources/library/<name>.slib and the
// seed store resources/shapes_library.data, our own flat drawings (garment
// pieces, collars, pockets, numbers, simple shapes, frames, patterns). Built
// with the program; run from the source folder after changing a drawing:
//   build/test/bin/make_shape_libraries resources
// The drawings are in layer units, y down, each fitted to its own bounds.

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "document/CMShapeLibarary.h"
#include "platform/core/files.h"
#include "platform/core/geometry_strings.h"

namespace {

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Point;
using platform::Value;

struct Colour {
  int r, g, b;
};
constexpr Colour kInk{30, 30, 30};
constexpr Colour kWhite{255, 255, 255};

// A path as point records: move, line and curve points, closing marks.
class Outline {
 public:
  Outline& move(double x, double y) { return add(1, {x, y}); }
  Outline& line(double x, double y) { return add(2, {x, y}); }
  Outline& curve(double x, double y, double c1x, double c1y, double c2x, double c2y) {
    add(4, {x, y});
    points_.back().c1 = {c1x, c1y};
    points_.back().c2 = {c2x, c2y};
    return *this;
  }
  Outline& close() {
    points_.back().type |= 8;
    return *this;
  }
  Outline& polygon(const std::vector<Point>& corners) {
    move(corners[0].x, corners[0].y);
    for (std::size_t i = 1; i < corners.size(); ++i) line(corners[i].x, corners[i].y);
    return close();
  }
  Outline& rect(double x, double y, double w, double h) { return polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}); }
  // A circle of four curves.
  Outline& circle(double cx, double cy, double r) {
    constexpr double k = 0.5523;
    move(cx + r, cy);
    curve(cx, cy + r, cx + r, cy + k * r, cx + k * r, cy + r);
    curve(cx - r, cy, cx - k * r, cy + r, cx - r, cy + k * r);
    curve(cx, cy - r, cx - r, cy - k * r, cx - k * r, cy - r);
    curve(cx + r, cy, cx + k * r, cy - r, cx + r, cy - k * r);
    return close();
  }
  Outline& star(double cx, double cy, double outer, double inner, int corners) {
    std::vector<Point> points;
    for (int i = 0; i < corners * 2; ++i) {
      const double radius = i % 2 ? inner : outer;
      const double angle = -M_PI / 2 + i * M_PI / corners;
      points.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
    }
    return polygon(points);
  }

  // The layer record, moved so that its bounds start at the origin.
  DictRef record(Colour fill, bool filled, double lineWidth = 1.5) const {
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    const auto extend = [&](Point p) {
      minX = std::min(minX, p.x), minY = std::min(minY, p.y);
      maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
    };
    for (const Entry& entry : points_) {
      extend(entry.point);
      if (entry.type & 4) extend(entry.c1), extend(entry.c2);
    }
    const auto at = [&](Point p) { return platform::stringFromPoint({p.x - minX, p.y - minY}); };
    ArrayRef records = Array::make();
    int id = 1;
    for (const Entry& entry : points_) {
      DictRef point = Dictionary::make({{"id", id++}, {"point", at(entry.point)}, {"type", entry.type}});
      if (entry.type & 4) {
        point->set("control_point1", at(entry.c1));
        point->set("control_point2", at(entry.c2));
      }
      records->add(point);
    }
    const auto colour = [](Colour c) { return Dictionary::make({{"r", c.r}, {"g", c.g}, {"b", c.b}, {"a", 255}}); };
    DictRef shape = Dictionary::make(
        {{"points", records},
         {"fill", Dictionary::make({{"use", filled}, {"type", 1}, {"alpha", 1.0}, {"color", colour(fill)}})},
         {"stroke", Dictionary::make({{"use", true},
                                      {"type", 1},
                                      {"alpha", 1.0},
                                      {"lineWidth", Value::real32(lineWidth)},
                                      {"lineJoinStyle", 1},
                                      {"color", colour(kInk)}})},
         {"shadow", Dictionary::make({{"use", false}})},
         {"blur", Dictionary::make({{"amount", 0.0}})}});
    // The points are top-down already: the record's own "isFlipped" keeps a drop on the canvas from turning them.
    return Dictionary::make({{"type", 0},
                             {"isFlipped", true},
                             {"name", "Path"},
                             {"visible", true},
                             {"alpha", 1.0},
                             {"shape_type", 7},
                             {"x", Value::real32(0)},
                             {"y", Value::real32(0)},
                             {"rotate", Value::real32(0)},
                             {"width", Value::real32(maxX - minX)},
                             {"height", Value::real32(maxY - minY)},
                             {"shape", shape}});
  }

 private:
  struct Entry {
    int type;
    Point point;
    Point c1{}, c2{};
  };
  Outline& add(int type, Point point) {
    points_.push_back({type, point});
    return *this;
  }
  std::vector<Entry> points_;
};

// ---- garment pieces; `w` widens the body, `sleeve` lengthens the sleeves ----

Outline tshirt(double w, double sleeve, double neckDepth, double length) {
  const double half = w / 2, cx = 100;
  Outline o;
  o.move(cx - 18, 0)
      .curve(cx + 18, 0, cx - 18 + 4, neckDepth, cx + 18 - 4, neckDepth)
      .line(cx + half - 10, 6)
      .line(cx + half + sleeve, 30 + sleeve * 0.6)
      .line(cx + half + sleeve - 16, 44 + sleeve * 0.6)
      .line(cx + half, 40)
      .line(cx + half, length)
      .line(cx - half, length)
      .line(cx - half, 40)
      .line(cx - half - sleeve + 16, 44 + sleeve * 0.6)
      .line(cx - half - sleeve, 30 + sleeve * 0.6)
      .line(cx - half + 10, 6)
      .close();
  return o;
}

Outline shirt(double w, bool back) {
  Outline o = tshirt(w, 60, back ? 4 : 14, 170);
  if (!back) o.move(100, 14).line(100, 170);  // the placket
  if (back) o.move(60, 30).line(140, 30);      // the yoke seam
  return o;
}

Outline collar(double spread) {
  Outline o;
  o.move(0, 0).curve(80, 0, 20, 10, 60, 10).line(80 + spread, 30).curve(40, 22, 70, 30, 50, 22).curve(-spread, 30, 30, 22, 10, 30).close();
  return o;
}

Outline pocket(double w, double h, bool pointed) {
  Outline o;
  if (pointed) return o.polygon({{0, 0}, {w, 0}, {w, h}, {w / 2, h + 10}, {0, h}});
  return o.rect(0, 0, w, h).move(0, 10).line(w, 10);
}

Outline sleeve(double length, double cuff) {
  Outline o;
  o.move(0, 0).curve(80, 0, 20, -20, 60, -20).line(70, length).line(10, length).close();
  o.rect(10, length, 60, cuff);
  return o;
}

Outline cuff(double w) { return Outline().rect(0, 0, w, 14).circle(w - 10, 7, 3); }
Outline button(double r) { return Outline().circle(0, 0, r).circle(-r / 3, 0, r / 6).circle(r / 3, 0, r / 6); }
Outline trousers(double w) {
  return Outline().polygon({{0, 0}, {w, 0}, {w + 10, 200}, {w / 2 + 8, 200}, {w / 2, 50}, {w / 2 - 8, 200}, {-10, 200}});
}
Outline shorts(double w) {
  return Outline().polygon({{0, 0}, {w, 0}, {w + 8, 70}, {w / 2 + 6, 70}, {w / 2, 30}, {w / 2 - 6, 70}, {-8, 70}});
}
Outline skirt(double flare) { return Outline().polygon({{30, 0}, {90, 0}, {120 + flare, 110}, {-flare, 110}}); }
Outline dress(double flare) {
  Outline o;
  o.move(40, 0).curve(80, 0, 50, 14, 70, 14).line(95, 10).line(90, 60).line(120 + flare, 180).line(-flare, 180).line(30, 60).line(25, 10).close();
  return o;
}
Outline hood() {
  Outline o;
  o.move(0, 80).curve(50, 0, 0, 30, 20, 0).curve(100, 80, 80, 0, 100, 30).curve(0, 80, 70, 60, 30, 60).close();
  return o;
}
Outline zipper(double length) {
  Outline o;
  o.rect(0, 0, 6, length);
  for (double y = 4; y < length; y += 8) o.rect(-3, y, 12, 3);
  return o.rect(-4, -10, 14, 12);
}
Outline cap() {
  Outline o;
  return o.move(0, 50).curve(100, 50, 0, -10, 100, -10).curve(140, 60, 120, 50, 140, 52).line(0, 60).close();
}
Outline stripeBand(double w, int stripes) {
  Outline o;
  for (int i = 0; i < stripes; ++i) o.rect(0, i * 10.0, w, 5);
  return o;
}

// ---- numbers as seven-segment outlines ----

Outline digit(int n) {
  static const char* const kSegments[10] = {"abcdef", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg",
                                            "abcdfg"};
  const double w = 40, h = 70, t = 7;
  Outline o;
  for (const char* s = kSegments[n]; *s; ++s) {
    switch (*s) {
      case 'a': o.rect(t, 0, w - 2 * t, t); break;
      case 'b': o.rect(w - t, t, t, h / 2 - 1.5 * t); break;
      case 'c': o.rect(w - t, h / 2 + t / 2, t, h / 2 - 1.5 * t); break;
      case 'd': o.rect(t, h - t, w - 2 * t, t); break;
      case 'e': o.rect(0, h / 2 + t / 2, t, h / 2 - 1.5 * t); break;
      case 'f': o.rect(0, t, t, h / 2 - 1.5 * t); break;
      case 'g': o.rect(t, h / 2 - t / 2, w - 2 * t, t); break;
    }
  }
  return o;
}

// ---- simple and common shapes, frames, patterns ----

Outline regular(int corners, double r) {
  std::vector<Point> points;
  for (int i = 0; i < corners; ++i) {
    const double angle = -M_PI / 2 + i * 2 * M_PI / corners;
    points.push_back({r * std::cos(angle), r * std::sin(angle)});
  }
  return Outline().polygon(points);
}
Outline heart() {
  Outline o;
  return o.move(50, 90).curve(0, 30, 20, 70, 0, 50).curve(50, 20, 0, 0, 40, 0).curve(100, 30, 60, 0, 100, 0).curve(50, 90, 100, 50, 80, 70).close();
}
Outline arrow(double head) { return Outline().polygon({{0, 20}, {60, 20}, {60, 20 - head}, {100, 30}, {60, 40 + head}, {60, 40}, {0, 40}}); }
Outline cross() { return Outline().polygon({{30, 0}, {60, 0}, {60, 30}, {90, 30}, {90, 60}, {60, 60}, {60, 90}, {30, 90}, {30, 60}, {0, 60}, {0, 30}, {30, 30}}); }
Outline crescent() {
  Outline o;
  return o.move(50, 0).curve(50, 100, -15, 0, -15, 100).curve(50, 0, 10, 80, 10, 20).close();
}
Outline frame(double w, double h, double border, bool round) {
  Outline o;
  if (round) return o.circle(w / 2, w / 2, w / 2).circle(w / 2, w / 2, w / 2 - border);
  return o.rect(0, 0, w, h).rect(border, border, w - 2 * border, h - 2 * border);
}
Outline zigzag(int teeth) {
  Outline o;
  o.move(0, 20);
  for (int i = 0; i < teeth; ++i) o.line(i * 20 + 10, 0).line(i * 20 + 20, 20);
  return o.line(teeth * 20, 30).line(0, 30).close();
}
Outline dots(int columns, int rows) {
  Outline o;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) o.circle(c * 20 + (r % 2) * 10, r * 18, 5);
  }
  return o;
}
Outline checks(int n) {
  Outline o;
  for (int r = 0; r < n; ++r) {
    for (int c = r % 2; c < n; c += 2) o.rect(c * 15, r * 15, 15, 15);
  }
  return o;
}
Outline wave(int crests) {
  Outline o;
  o.move(0, 20);
  for (int i = 0; i < crests; ++i) o.curve(i * 40 + 40, 20, i * 40 + 13, 0, i * 40 + 27, 40);
  return o.line(crests * 40, 50).line(0, 50).close();
}
Outline snowflake() {
  Outline o;
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3;
    const double ca = std::cos(a), sa = std::sin(a);
    const auto at = [&](double x, double y) { return Point{x * ca - y * sa, x * sa + y * ca}; };
    std::vector<Point> arm{at(0, -3), at(50, -3), at(50, 3), at(0, 3)};
    o.polygon(arm);
  }
  return o;
}
Outline tree() { return Outline().polygon({{50, 0}, {80, 40}, {65, 40}, {95, 80}, {58, 80}, {58, 100}, {42, 100}, {42, 80}, {5, 80}, {35, 40}, {20, 40}}); }
Outline gift() { return Outline().rect(0, 20, 80, 60).rect(35, 20, 10, 60).rect(-5, 10, 90, 14).circle(30, 5, 8).circle(50, 5, 8); }
Outline sun() {
  Outline o = Outline().star(60, 60, 60, 42, 12);
  return o.circle(60, 60, 30);
}
Outline bolt() { return Outline().polygon({{40, 0}, {10, 55}, {35, 55}, {20, 100}, {70, 35}, {45, 35}, {65, 0}}); }
Outline gear(int teeth) {
  std::vector<Point> points;
  for (int i = 0; i < teeth * 4; ++i) {
    const double r = (i % 4 < 2) ? 50 : 40;
    const double a = i * 2 * M_PI / (teeth * 4);
    points.push_back({r * std::cos(a), r * std::sin(a)});
  }
  Outline o = Outline().polygon(points);
  return o.circle(0, 0, 15);
}
Outline chip() {
  Outline o = Outline().rect(20, 20, 60, 60);
  for (int i = 0; i < 4; ++i) {
    o.rect(28 + i * 13, 5, 5, 15).rect(28 + i * 13, 80, 5, 15).rect(5, 28 + i * 13, 15, 5).rect(80, 28 + i * 13, 15, 5);
  }
  return o;
}
Outline blob(int seed) {
  std::vector<Point> points;
  for (int i = 0; i < 7; ++i) {
    const double r = 40 + 15 * std::sin(seed * 1.7 + i * 2.3);
    const double a = i * 2 * M_PI / 7;
    points.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return Outline().polygon(points);
}
Outline mockupFrame(double w, double h) {
  Outline o = Outline().rect(0, 0, w, h).rect(6, 6, w - 12, h - 24);
  return o.circle(w / 2, h - 9, 5);
}
Outline ball() {
  Outline o = Outline().circle(50, 50, 50);
  return o.move(0, 50).curve(100, 50, 30, 30, 70, 70).move(50, 0).curve(50, 100, 30, 30, 70, 70);
}
Outline racket() {
  Outline o = Outline().circle(40, 40, 40).circle(40, 40, 32);
  return o.rect(35, 80, 10, 60);
}

struct Item {
  Outline outline;
  Colour fill = kWhite;
  bool filled = true;
};
struct Library {
  const char* file;
  const char* name;
  std::vector<Item> items;
};

std::vector<Library> libraries() {
  const Colour blue{70, 110, 190}, red{200, 50, 50}, green{60, 150, 80}, yellow{240, 200, 60}, grey{160, 160, 160};
  std::vector<Item> numbers;
  for (int n = 0; n < 10; ++n) numbers.push_back({digit(n), kInk});
  return {
      {"StrokeClothes", "Stroke Clothes",
       {{tshirt(120, 40, 14, 160)}, {shirt(120, false)}, {trousers(80)}, {shorts(80)}, {skirt(10)}, {dress(10)},
        {collar(10), kWhite, false}, {pocket(30, 36, true), kWhite, false}}},
      {"CasualWear", "Casual Wear",
       {{tshirt(120, 30, 16, 150)}, {hood()}, {zipper(120)}, {shorts(70)}, {cap()}, {pocket(40, 30, false)}}},
      {"Numbers", "Numbers", numbers},
      {"CommonShapes", "Common Shapes",
       {{heart(), red}, {arrow(12), blue}, {cross(), red}, {crescent(), yellow}, {Outline().star(50, 50, 50, 20, 5), yellow},
        {regular(6, 50), green}, {bolt(), yellow}}},
      {"SimpleShapes", "Simple Shapes",
       {{Outline().rect(0, 0, 100, 100)}, {Outline().circle(50, 50, 50)}, {regular(3, 50)}, {regular(5, 50)},
        {Outline().rect(0, 0, 140, 70)}, {Outline().star(50, 50, 50, 25, 6)}}},
      {"Frames", "Frames",
       {{frame(120, 90, 10, false), grey}, {frame(100, 100, 12, true), grey}, {frame(90, 130, 6, false), grey},
        {mockupFrame(120, 90), grey}}},
      {"ManShirtBack", "Man Shirt Back", {{shirt(120, true)}, {sleeve(90, 14)}, {collar(6), kWhite, false}, {cuff(60)}}},
      {"ManShirtBack2", "Man Shirt Back 2",
       {{shirt(130, true)}, {sleeve(70, 10)}, {collar(14), kWhite, false}, {cuff(50)}, {stripeBand(120, 3), blue}}},
      {"ManShirtFront", "Man Shirt Front",
       {{shirt(120, false)}, {collar(10), kWhite, false}, {pocket(30, 34, true)}, {button(20)}, {cuff(60)}}},
      {"ManShirtFront2", "Man Shirt Front 2",
       {{shirt(130, false)}, {collar(4), kWhite, false}, {pocket(34, 30, false)}, {button(18)}, {sleeve(80, 12)}}},
      {"ManArmyT-shirt1", "Man Army T-shirt",
       {{tshirt(130, 36, 12, 160), green}, {pocket(34, 38, false), green}, {Outline().star(30, 30, 30, 12, 5), yellow},
        {stripeBand(100, 2), green}}},
      {"WomanTShirtFront1", "Woman T-shirt Front 1",
       {{tshirt(100, 24, 22, 150)}, {Outline().star(30, 30, 30, 14, 5), red}, {heart(), red}, {pocket(26, 26, false)}}},
      {"WomanT-ShirtFront2", "Woman T-shirt Front 2",
       {{tshirt(105, 14, 26, 140)}, {dots(5, 4), red}, {stripeBand(100, 4), blue}, {button(18)}}},
      {"WomanT-ShirtFront3", "Woman T-shirt Front 3",
       {{tshirt(110, 30, 18, 160)}, {wave(3), blue}, {collar(4), kWhite, false}, {heart(), red}}},
      {"SimpleT-ShirtFrontandBack", "Simple T-shirt Front and Back",
       {{tshirt(120, 34, 16, 160)}, {tshirt(120, 34, 5, 160)}, {sleeve(40, 8)}, {pocket(28, 30, false)}}},
      {"Patterns", "Patterns",
       {{stripeBand(120, 6), blue}, {zigzag(6), red}, {dots(6, 5), kInk}, {checks(6), kInk}, {wave(4), blue},
        {Outline().star(20, 20, 20, 8, 5).star(60, 40, 20, 8, 5).star(100, 20, 20, 8, 5), yellow}}},
      {"WomanT-ShirtTemplate", "Woman T-shirt Template",
       {{tshirt(100, 20, 24, 150)}, {tshirt(100, 20, 6, 150)}, {sleeve(30, 6)}, {collar(2), kWhite, false}}},
      {"HolidayElements", "Holiday Elements",
       {{tree(), green}, {snowflake(), blue}, {gift(), red}, {Outline().star(50, 50, 50, 20, 5), yellow}, {heart(), red},
        {sun(), yellow}}},
      {"SimpleSummerCollection", "Simple Summer Collection",
       {{tshirt(120, 20, 18, 140), yellow}, {shorts(80), blue}, {skirt(20), red}, {sun(), yellow}, {cap(), blue}}},
      {"EverydayCasual", "Everyday Casual",
       {{tshirt(120, 34, 16, 150), grey}, {trousers(80), blue}, {hood(), grey}, {dress(20), red}, {cap(), grey}}},
      {"EverydayCasualElements", "Everyday Casual Elements",
       {{pocket(32, 34, false)}, {pocket(32, 34, true)}, {zipper(100)}, {button(20)}, {cuff(60)}, {collar(8), kWhite, false},
        {stripeBand(100, 3), grey}}},
      {"Mockups", "Mockups",
       {{mockupFrame(120, 90), grey}, {mockupFrame(70, 130), grey}, {frame(140, 100, 4, false), grey},
        {tshirt(120, 34, 16, 160), kWhite}}},
      {"SportCollection", "Sport Collection",
       {{tshirt(130, 20, 10, 170), blue}, {shorts(90), blue}, {ball(), kWhite}, {racket(), red}, {stripeBand(120, 2), red},
        {digit(7), kWhite}}},
      {"TechnoShapes", "Techno Shapes",
       {{gear(10), grey}, {gear(6), grey}, {chip(), kInk}, {bolt(), yellow}, {regular(8, 50), blue},
        {arrow(20), green}}},
      {"ScatteredShapes", "Scattered Shapes",
       {{blob(1), red}, {blob(2), blue}, {blob(3), green}, {blob(4), yellow}, {dots(3, 3), kInk},
        {Outline().star(40, 40, 40, 30, 9), grey}}},
  };
}

std::shared_ptr<CMShapeLibarary> build(const Library& library) {
  auto made = std::make_shared<CMShapeLibarary>(library.name);
  for (const Item& item : library.items) {
    made->addShape(Dictionary::make({{"name", "shape"}, {"shape", item.outline.record(item.fill, item.filled)}}));
  }
  return made;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  if (!platform::createDirectories(folder / "library")) return 1;
  ArrayRef seed = Array::make();
  for (const Library& library : libraries()) {
    const std::shared_ptr<CMShapeLibarary> made = build(library);
    const platform::Status written = made->exportToURL(folder / "library" / (std::string(library.file) + ".slib"));
    if (!written) {
      std::fprintf(stderr, "%s\n", written.error().description.c_str());
      return 1;
    }
    const std::string file = library.file;
    if (file == "StrokeClothes" || file == "SimpleShapes") seed->add(Value(platform::ObjectRef(made)));
  }
  const platform::Status seeded =
      platform::writeFileAtomically(folder / "shapes_library.data", shape_library_archive::archive(Value(seed)));
  if (!seeded) std::fprintf(stderr, "%s\n", seeded.error().description.c_str());
  return seeded ? 0 : 1;
}
