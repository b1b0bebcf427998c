// The line-up garments: a T-shirt, trousers, an A-line skirt and a dress, each a filled silhouette with its seams and
// topstitching.

#include "scripts/samples/garments.h"

namespace samples {
namespace {

// A line across the centre, from the left point to its mirror image.
Pen across(Point left, Point control1, Point control2, double centreY) {
  return Pen::symmetric(Pen().move(left).curve(control1, control2, {kCentre, centreY}), kCentre, false);
}

}  // namespace

void tShirt(Sketch& sketch) {
  const Point shoulder{196, 116}, underarm{208, 194}, hemOuter{150, 204}, hemInner{186, 224};
  Pen half;
  half.move({kCentre, 124})
      .curve({284, 124}, {271, 112}, {266, 96})
      .line(shoulder)
      .line(hemOuter)
      .line(hemInner)
      .line(underarm)
      .curve({210, 300}, {210, 380}, {210, 440})
      .line({kCentre, 440});
  sketch.add("T-shirt front", Pen::symmetric(half, kCentre), Weight::Outline, "#f3ead8");
  sketch.add("Inside of the back neck", across({266, 96}, {276, 103}, {288, 104}, 104), Weight::Seam);
  sketch.add("Neck rib", across({259, 99}, {264, 118}, {282, 132}, 132), Weight::Seam);
  sketch.add("Neck stitching", across({257, 103}, {262, 122}, {282, 136}, 136), Weight::Stitch);
  sketch.addPair("Sleeve seam", Pen().move(shoulder).curve({204, 140}, {208, 170}, underarm), Weight::Seam);
  const Point axis = unit(lerp(hemOuter, hemInner, 0.5) - lerp(shoulder, underarm, 0.5));
  sketch.addPair("Sleeve hem stitching", Pen::polyline({hemOuter - axis * 6, hemInner - axis * 6}), Weight::Stitch);
  sketch.add("Hem stitching", Pen::polyline({{210, 432}, {390, 432}}), Weight::Stitch);
}

void trousers(Sketch& sketch) {
  Pen half;
  half.move({kCentre, 80})
      .line({206, 80})
      .curve({200, 110}, {194, 150}, {196, 196})
      .line({218, 590})
      .line({284, 590})
      .line({kCentre, 262});
  sketch.add("Trousers front", Pen::symmetric(half, kCentre), Weight::Outline, "#d9d2c3");
  sketch.add("Waistband seam", Pen::polyline({{205, 102}, {395, 102}}), Weight::Seam);
  sketch.add("Waistband stitching", Pen::polyline({{205, 99}, {395, 99}}), Weight::Stitch);
  sketch.add("Waist button", Pen::circle({306, 91}, 3.5), Weight::Seam, "#ffffff");
  sketch.addPair("Belt loop", Pen::polyline({{232, 77}, {232, 106}, {240, 106}, {240, 77}}, true), Weight::Seam,
                 "#d9d2c3");
  // The fly, stitched in a J down the wearer's left front.
  sketch.add("Fly", Pen::polyline({{kCentre, 102}, {kCentre, 222}}), Weight::Seam);
  sketch.add("Fly stitching", Pen().move({318, 102}).line({318, 198}).curve({318, 212}, {308, 220}, {kCentre, 222}),
             Weight::Stitch);
  sketch.addPair("Pocket opening", Pen().move({244, 102}).curve({236, 128}, {220, 148}, {198, 156}), Weight::Seam);
  sketch.addPair("Pocket stitching", Pen().move({250, 102}).curve({242, 132}, {224, 154}, {198, 162}), Weight::Stitch);
  sketch.addPair("Crease", Pen::polyline({{248, 170}, {251, 590}}), Weight::Seam);
  sketch.addPair("Hem stitching", Pen::polyline({{218.5, 582}, {283.5, 582}}), Weight::Stitch);
}

void skirt(Sketch& sketch) {
  Pen half;
  half.move({kCentre, 80})
      .line({232, 80})
      .line({230, 102})
      .curve({212, 180}, {192, 290}, {172, 384})
      .curve({208, 394}, {256, 398}, {kCentre, 398});
  sketch.add("Skirt front", Pen::symmetric(half, kCentre), Weight::Outline, "#c7d9c4");
  sketch.add("Waistband seam", Pen::polyline({{230, 102}, {370, 102}}), Weight::Seam);
  sketch.add("Waistband stitching", Pen::polyline({{232, 99}, {368, 99}}), Weight::Stitch);
  sketch.add("Waist button", Pen::circle({360, 91}, 3.5), Weight::Seam, "#ffffff");
  // An inverted pleat at the centre front, stitched down from the waist.
  sketch.addPair("Pleat", Pen::polyline({{292, 102}, {288, 398}}), Weight::Seam);
  sketch.addPair("Pleat stitching", Pen::polyline({{294.5, 104}, {294.5, 180}, {kCentre, 186}}), Weight::Stitch);
  sketch.addPair("Dart", Pen::polyline({{256, 102}, {258, 160}}), Weight::Seam);
  sketch.add("Hem stitching", across({177, 375}, {210, 385}, {256, 389}, 389), Weight::Stitch);
}

void dress(Sketch& sketch) {
  Pen half;
  half.move({kCentre, 150})
      .curve({276, 150}, {262, 126}, {258, 94})
      .line({234, 100})
      .curve({232, 130}, {222, 160}, {208, 176})
      .curve({214, 210}, {226, 240}, {228, 268})
      .curve({208, 340}, {190, 420}, {176, 494})
      .curve({214, 504}, {258, 508}, {kCentre, 508});
  sketch.add("Dress front", Pen::symmetric(half, kCentre), Weight::Outline, "#e9c9d3");
  sketch.add("Waist seam", across({228, 268}, {250, 274}, {274, 276}, 276), Weight::Seam);
  sketch.add("Waist stitching", across({229, 272}, {250, 278}, {274, 280}, 280), Weight::Stitch);
  sketch.addPair("Princess seam", Pen().move({224, 136}).curve({250, 170}, {254, 220}, {254, 272}), Weight::Seam);
  sketch.addPair("Skirt seam", Pen().move({254, 274}).curve({250, 360}, {240, 440}, {236, 504}), Weight::Seam);
  sketch.add("Neckline stitching", across({262, 100}, {266, 130}, {280, 144}, 144), Weight::Stitch);
  sketch.addPair("Armhole stitching", Pen().move({238, 104}).curve({236, 132}, {226, 160}, {213, 174}), Weight::Stitch);
  sketch.add("Hem stitching", across({180, 486}, {216, 496}, {258, 500}, 500), Weight::Stitch);
}

}  // namespace samples
