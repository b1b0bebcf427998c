// The template sheets: a frame with a title block and dashed body guides, front and back upright, a line-up of three
// across.

#include "scripts/samples/garments.h"

namespace samples {
namespace {

// A torso to draw a top over: neck, shoulders, waist and hips, dashed, in the 600-point garment frame.
void bodyGuide(Sketch& sketch) {
  Pen half;
  half.move({kCentre, 118})
      .curve({284, 118}, {272, 108}, {268, 92})
      .curve({240, 100}, {214, 104}, {204, 116})
      .curve({196, 150}, {204, 190}, {212, 220})
      .curve({222, 270}, {226, 300}, {222, 330})
      .curve({214, 380}, {206, 420}, {208, 470})
      .line({kCentre, 470});
  // Lightly filled, so that a thumbnail shows the guides as well as the frame.
  sketch.add("Body guide", Pen::symmetric(half, kCentre), Weight::Stitch, "#f0f0f0");
  sketch.add("Centre line", Pen::polyline({{kCentre, 118}, {kCentre, 470}}), Weight::Stitch);
}

void frameAndTitle(Sketch& sketch, double width, double height) {
  const double m = 30, title = 56;
  sketch.add("Frame", Pen::polyline({{m, m}, {width - m, m}, {width - m, height - m}, {m, height - m}}, true),
             Weight::Outline);
  const double top = height - m - title;
  sketch.add("Title block", Pen::polyline({{m, top}, {width - m, top}}), Weight::Seam);
  sketch.add("Title block", Pen::polyline({{m, top + title / 2}, {width - m, top + title / 2}}), Weight::Seam);
  for (const double x : {width * 0.55, width * 0.78})
    sketch.add("Title block", Pen::polyline({{x, top}, {x, height - m}}), Weight::Seam);
  sketch.add(
      "Name field",
      Pen::polyline({{m, top}, {width * 0.55, top}, {width * 0.55, top + title / 2}, {m, top + title / 2}}, true),
      Weight::Seam, "#eeeeee");
}

}  // namespace

void portraitSheet(Sketch& sketch) {
  frameAndTitle(sketch, 595, 842);
  for (const double x : {-88.0, 173.0}) {
    sketch.place({x, 154}, 0.85);
    bodyGuide(sketch);
  }
  sketch.place({0, 0}, 1);
}

void landscapeSheet(Sketch& sketch) {
  frameAndTitle(sketch, 842, 595);
  for (const double x : {-100.0, 151.0, 402.0}) {
    sketch.place({x, 17}, 0.9);
    bodyGuide(sketch);
  }
  sketch.place({0, 0}, 1);
}

}  // namespace samples
