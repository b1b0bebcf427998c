// A shirt, front or back: silhouette with long sleeves and cuffs, a shirt-tail hem, collar and stand, and the seams and
// topstitching of its view.

#include "scripts/samples/garments.h"

namespace samples {
namespace {

constexpr const char* kInside = "#c9d5e2";
constexpr const char* kButton = "#ffffff";

// The left half's key points; the right half mirrors them.
struct Cut {
  const char* cloth = "#e6eef7";
  Point neck{262, 98}, shoulder{190, 122}, underarm{200, 222};
  Point cuffOuter{118, 380}, cuffInner{168, 392};
  Point hemSide{206, 440}, hemCentre{300, 486};
  double cuffDepth = 30;
  bool fitted = false;

  Point sleeveAxis() const { return unit(lerp(cuffOuter, cuffInner, 0.5) - lerp(shoulder, underarm, 0.5)); }
  Point cuffAlong() const { return unit(cuffInner - cuffOuter); }
  Point armhole(double t) const { return bezier(shoulder, {198, 150}, {202, 190}, underarm, t); }
};

Pen silhouette(const Cut& cut, double neckCentreY) {
  const Point axis = cut.sleeveAxis() * cut.cuffDepth;
  Pen half;
  half.move({kCentre, neckCentreY})
      .curve({284, neckCentreY}, {268, (neckCentreY + cut.neck.y) / 2}, cut.neck)
      .line(cut.shoulder)
      .curve({172, 170}, {134, 300}, cut.cuffOuter)
      .line(cut.cuffOuter + axis)
      .line(cut.cuffInner + axis)
      .line(cut.cuffInner)
      .curve({176, 330}, {192, 270}, cut.underarm);
  if (cut.fitted) {
    half.curve({208, 270}, {216, 300}, {216, 318}).curve({216, 360}, {206, 400}, cut.hemSide);
  } else {
    half.line(cut.hemSide);
  }
  half.curve({218, 474}, {256, cut.hemCentre.y}, cut.hemCentre);
  return Pen::symmetric(half, kCentre);
}

void sleeveDetails(Sketch& sketch, const Cut& cut, bool back) {
  const Point axis = cut.sleeveAxis(), along = cut.cuffAlong();
  const Point a = cut.cuffOuter, b = cut.cuffInner;
  sketch.addPair("Armhole", Pen().move(cut.shoulder).curve({198, 150}, {202, 190}, cut.underarm), Weight::Seam);
  sketch.addPair("Armhole stitching",
                 Pen().move(cut.shoulder + Point{4, 1}).curve({202, 150}, {206, 190}, cut.underarm + Point{4, -2}),
                 Weight::Stitch);
  sketch.addPair("Cuff seam", Pen::polyline({a, b}), Weight::Seam);
  const double depth = cut.cuffDepth;
  sketch.addPair("Cuff stitching",
                 Pen::polyline({a + axis * 3 + along * 3, b + axis * 3 - along * 3, b + axis * (depth - 3) - along * 3,
                                a + axis * (depth - 3) + along * 3},
                               true),
                 Weight::Stitch);
  sketch.addPair("Cuff button", Pen::circle(lerp(a, b, 0.2) + axis * (depth / 2), 3), Weight::Seam, kButton);
  if (!back) return;
  // The sleeve placket, pointed at its top, with its button, and two pleats into the cuff.
  const Point foot = lerp(a, b, 0.6), top = foot - axis * 58;
  sketch.addPair("Sleeve placket",
                 Pen::polyline({foot, top, top + along * 3.5 - axis * 7, top + along * 7, foot + along * 7}),
                 Weight::Seam);
  sketch.addPair("Placket button", Pen::circle(lerp(foot, top, 0.45) + along * 3.5, 2.2), Weight::Seam, kButton);
  for (const double t : {0.28, 0.4}) {
    const Point base = lerp(a, b, t);
    sketch.addPair("Sleeve pleat", Pen::polyline({base, base - axis * 14}), Weight::Seam);
  }
}

// An edge of a band round the neck: a curve from the centre line to the side.
struct Edge {
  double centreY;
  Point c1, c2, side;
};

// The band between the two edges, closed by its mirror image.
Pen band(const Edge& upper, const Edge& lower) {
  Pen half;
  half.move({kCentre, upper.centreY}).curve(upper.c1, upper.c2, upper.side).line(lower.side);
  half.curve(lower.c2, lower.c1, {kCentre, lower.centreY});
  return Pen::symmetric(half, kCentre);
}

void hemStitching(Sketch& sketch) {
  const Pen half = Pen().move({210, 438}).curve({222, 468}, {258, 481}, {kCentre, 481});
  sketch.add("Hem stitching", Pen::symmetric(half, kCentre, false), Weight::Stitch);
}

void backDetails(Sketch& sketch, const Cut& cut) {
  // The yoke across the shoulders, topstitched below, and a box pleat under it at the centre.
  const Point yoke = cut.armhole(0.36);
  const Pen seam = Pen().move(yoke).curve({250, yoke.y + 3}, {280, yoke.y + 4}, {kCentre, yoke.y + 4});
  sketch.add("Yoke seam", Pen::symmetric(seam, kCentre, false), Weight::Seam);
  const Pen stitch =
      Pen().move(yoke + Point{5, 3.5}).curve({250, yoke.y + 6.5}, {280, yoke.y + 7.5}, {kCentre, yoke.y + 7.5});
  sketch.add("Yoke stitching", Pen::symmetric(stitch, kCentre, false), Weight::Stitch);
  sketch.addPair("Box pleat", Pen::polyline({{288, yoke.y + 4}, {288, yoke.y + 48}}), Weight::Seam);
  // The collar from behind: the stand shows above the fold of the fall.
  const Edge fold{88, {282, 88}, {266, 90}, {254, 94}};
  sketch.add("Collar stand", band({82, {283, 82}, {268, 84}, {257, 89}}, fold), Weight::Seam, cut.cloth);
  sketch.add("Collar", band(fold, {121, {284, 121}, {264, 119}, {248, 112}}), Weight::Outline, cut.cloth);
  const Pen fallStitch = Pen().move({252, 108}).curve({266, 114}, {284, 116.5}, {kCentre, 116.5});
  sketch.add("Collar stitching", Pen::symmetric(fallStitch, kCentre, false), Weight::Stitch);
}

void frontDetails(Sketch& sketch, const Cut& cut, bool woman) {
  // The inside of the back neck, the stand meeting at the centre front, then the collar's two leaves over it.
  const Pen inside = band({90, {284, 90}, {270, 92}, {262, 96}}, {98, {288, 98}, {276, 99}, {265, 102}});
  sketch.add("Inside of the stand", inside, Weight::Seam, kInside);
  sketch.add("Collar stand", Pen::polyline({{290, 112}, {310, 112}, {310, 132}, {290, 132}}, true), Weight::Seam,
             cut.cloth);
  sketch.add("Stand button", Pen::circle({kCentre, 122}, 3), Weight::Seam, kButton);
  const Point tip = woman ? Point{270, 150} : Point{276, 158};
  const Pen leaf = Pen()
                       .move({262, 96})
                       .curve({256, 112}, woman ? Point{258, 138} : Point{266, 136}, tip)
                       .curve(woman ? Point{280, 154} : tip, {292, 140}, {297, 130})
                       .curve({286, 118}, {272, 106}, {262, 96})
                       .close();
  sketch.addPair("Collar", leaf, Weight::Outline, cut.cloth);
  const Pen leafStitch =
      Pen().move({265, 104}).curve({260, 118}, woman ? Point{262, 136} : Point{268, 134}, tip + Point{2, -6});
  sketch.addPair("Collar stitching", leafStitch, Weight::Stitch);
  // The button placket down the centre front.
  sketch.addPair("Placket", Pen::polyline({{292, 133}, {292, 485}}), Weight::Seam);
  sketch.addPair("Placket stitching", Pen::polyline({{295, 135}, {295, 483}}), Weight::Stitch);
  for (int button = 0; button < 6; ++button)
    sketch.add("Button", Pen::circle({kCentre, 156.0 + button * 56}, 3.5), Weight::Seam, kButton);
  if (woman) {
    // Bust darts from the side seams and waist darts shaping the front.
    sketch.addPair("Bust dart", Pen::polyline({{207, 256}, {246, 262}, {209, 268}}), Weight::Seam);
    sketch.addPair(
        "Waist dart",
        Pen().move({250, 300}).curve({245, 350}, {245, 400}, {250, 438}).curve({255, 400}, {255, 350}, {250, 300}),
        Weight::Seam);
    return;
  }
  // A chest pocket with a pointed bottom on the left breast (the viewer's right).
  sketch.add("Pocket", Pen::polyline({{320, 196}, {362, 196}, {362, 240}, {341, 249}, {320, 240}}, true), Weight::Seam);
  sketch.add("Pocket stitching",
             Pen::polyline({{322.5, 205}, {322.5, 238.5}, {341, 246.5}, {359.5, 238.5}, {359.5, 205}}), Weight::Stitch);
  sketch.add("Pocket hem", Pen::polyline({{320, 205}, {362, 205}}), Weight::Stitch);
}

}  // namespace

void shirt(Sketch& sketch, ShirtView view) {
  Cut cut;
  if (view == ShirtView::WomanFront) {
    cut.fitted = true;
    cut.cuffDepth = 26;
    cut.cloth = "#ebe5f4";
  }
  const bool back = view == ShirtView::ManBack;
  sketch.add(back ? "Shirt back" : "Shirt front", silhouette(cut, back ? 104 : 126), Weight::Outline, cut.cloth);
  sleeveDetails(sketch, cut, back);
  hemStitching(sketch);
  if (back) {
    backDetails(sketch, cut);
  } else {
    frontDetails(sketch, cut, view == ShirtView::WomanFront);
  }
}

}  // namespace samples
