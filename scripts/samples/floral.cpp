// A floral motif: a flower of two rings of petals round a seeded centre, on a stem with two leaves, and two small
// blossoms beside it.

#include "scripts/samples/garments.h"

namespace samples {
namespace {

// A petal or leaf pointing up from its base at the origin, `length` long.
Pen blade(double length, double width) {
  const double w = width / 2;
  return Pen()
      .move({0, 0})
      .curve({-w, -0.2 * length}, {-w * 0.9, -0.75 * length}, {0, -length})
      .curve({w * 0.9, -0.75 * length}, {w, -0.2 * length}, {0, 0})
      .close();
}

// The shape turned by the angle about its origin and moved to the point.
Pen placed(const Pen& shape, Point at, double degrees) {
  return shape.mapped([at, degrees](Point p) { return turned(p, {0, 0}, degrees) + at; });
}

void blossom(Sketch& sketch, const std::string& name, Point centre, double size, int petals, double turn) {
  for (int index = 0; index < petals; ++index) {
    const double angle = turn + index * 360.0 / petals;
    sketch.add(name + " petal", placed(blade(size, size * 0.8), centre, angle), Weight::Outline, "#f2b8c6");
    sketch.add(name + " petal vein", placed(Pen::polyline({{0, -0.2 * size}, {0, -0.75 * size}}), centre, angle),
               Weight::Stitch);
  }
  sketch.add(name + " centre", Pen::circle(centre, size * 0.22), Weight::Seam, "#f3cf5b");
}

}  // namespace

void floralMotif(Sketch& sketch) {
  // Drawn 50 points low, then lifted to the middle of the page.
  sketch.place({0, -50}, 1);
  const Point centre{300, 250};
  // The stem and its leaves lie behind the flower.
  sketch.add("Stem",
             Pen()
                 .move({296, 330})
                 .curve({284, 420}, {312, 480}, {294, 560})
                 .line({304, 560})
                 .curve({322, 480}, {294, 420}, {305, 330})
                 .close(),
             Weight::Outline, "#7fb069");
  for (const auto& [base, angle] : {std::pair{Point{294, 470}, -62.0}, std::pair{Point{306, 420}, 58.0}}) {
    sketch.add("Leaf", placed(blade(110, 56), base, angle), Weight::Outline, "#b9dca4");
    sketch.add("Leaf rib", placed(Pen().move({0, 0}).curve({-3, -40}, {3, -70}, {0, -100}), base, angle), Weight::Seam);
    for (const double at : {30.0, 52.0, 74.0})
      for (const double side : {-1.0, 1.0})
        sketch.add("Leaf vein", placed(Pen::polyline({{0, -at}, {side * 14, -at - 14}}), base, angle), Weight::Seam);
  }
  for (int index = 0; index < 6; ++index) {
    const double angle = index * 60.0;
    sketch.add("Petal", placed(blade(112, 84), centre, angle), Weight::Outline, "#f2b8c6");
    const Pen inset = blade(88, 62).mapped([](Point p) { return p + Point{0, -14}; });
    sketch.add("Petal stitching", placed(inset, centre, angle), Weight::Stitch);
  }
  for (int index = 0; index < 6; ++index) {
    const double angle = 30 + index * 60.0;
    sketch.add("Inner petal", placed(blade(64, 50), centre, angle), Weight::Outline, "#e98aa3");
    sketch.add("Inner petal vein", placed(Pen::polyline({{0, -22}, {0, -52}}), centre, angle), Weight::Seam);
  }
  sketch.add("Heart", Pen::circle(centre, 24), Weight::Outline, "#f3cf5b");
  sketch.add("Seed", Pen::circle(centre, 3), Weight::Seam, "#8a5a2b");
  for (int index = 0; index < 8; ++index)
    sketch.add("Seed", Pen::circle(turned(centre + Point{0, -13}, centre, index * 45.0), 2.5), Weight::Seam, "#8a5a2b");
  blossom(sketch, "Blossom", {112, 470}, 46, 5, 0);
  blossom(sketch, "Blossom", {488, 470}, 46, 5, 36);
  sketch.place({0, 0}, 1);
}

}  // namespace samples
