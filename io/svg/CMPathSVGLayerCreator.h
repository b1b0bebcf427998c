#pragma once

// One SVG shape element turned into one layer record of the document: geometry as point records (or a line's ends,
// or a text's place and font), fill and stroke style records with an optional gradient, the element's transforms
// and its opacity. The attributes come prepared by the reader: trimmed, style pieces merged, group attributes
// inherited, "transform" an array of transform texts from the outermost group to the element.
//
// Colours may take any CSS form (VDSVGColorValue), lengths units and percentages of the size handed in. A path,
// polygon or polyline has its points transformed and stored relative to its first, untransformed point, which
// becomes the layer's place; a rectangle or circle keeps its corners in page coordinates, and becomes a path of its
// outline when the transform turns or skews it or the rectangle has rounded corners; a line's ends are transformed.
// Stroke widths and dashes scale by the square root of the transform's determinant. A number that is not finite in
// single precision anywhere in the record makes the record unusable (isFinite), and the reader leaves the element
// out; a rectangle or circle of no area draws nothing (drawsNothing).

#include <optional>
#include <string_view>

#include "io/svg/CMSVGGradient.h"
#include "io/svg/VDSVGLength.h"
#include "io/svg/VDSVGPathScanner.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/bezier_path.h"

class CMBaseDocument;

class CMPathSVGLayerCreator final : private VDSVGPathOwner {
 public:
  // `shape` names the default object the record starts from: "path", "path_polygon", "oval", "rect", "line" or
  // "text". `closed` closes a "path_polygon" (a polygon rather than a polyline). `gradients` holds the reader's
  // finished gradient definitions, and must outlive the creator; `size` is the drawing's viewport, which percentages
  // of gradients in user space are taken of; the style definitions are kept for the record's makers only.
  CMPathSVGLayerCreator(const platform::DictRef& attributes, std::string_view shape, CMBaseDocument& document,
                        platform::Size size, CMSVGGradients& gradients, const platform::ArrayRef& styles,
                        bool closed = false);

  // The record; null when the document has no default object of that name.
  const platform::DictRef& object() const { return object_; }
  bool isFinite() const { return finite_; }
  // A rectangle or circle of no area, which SVG does not draw: the record is not to be used.
  bool drawsNothing() const { return drawsNothing_; }

  // The element's transform texts composed, outermost first; false (and `transform` untouched) when none is read.
  static bool findTransform(const platform::ArrayRef& transforms, platform::AffineTransform& transform);
  // The outline the point records draw, and its bounds.
  static platform::BezierPath pathFromPoints(const platform::ArrayRef& points);
  static platform::Rect rectFromPoints(const platform::ArrayRef& points);
  // "miter" 0, "round" 1, "bevel" 2; "butt" 0, "round" 1, "square" 2; anything else 0.
  static int lineJoinStyle(std::string_view text);
  static int lineCapStyle(std::string_view text);

 private:
  // The attribute as a length in user units (0 when missing or no number); percentages of the size handed in.
  float attributeFloat(const platform::DictRef& attributes, std::string_view key) const;
  SVGLengthBasis lengthBasis(const platform::DictRef& attributes, std::string_view key) const;
  // A rectangle's corner radii as SVG rounds them; a radius of 0 leaves square corners.
  platform::Size cornerRadii(const platform::DictRef& attributes, double width, double height) const;
  // `outline`: a rectangle or circle that becomes a path.
  void createPoints(const platform::DictRef& attributes, std::string_view shape, bool outline);
  void createPathPoints(const platform::DictRef& attributes, std::string_view shape);
  void createCornerPoints(const platform::DictRef& attributes, std::string_view shape);
  void createOutlinePoints(const platform::DictRef& attributes, std::string_view shape);
  // False, and drawsNothing set, for a rectangle without width or height or a circle without radius.
  bool hasArea(const platform::DictRef& attributes, std::string_view shape);
  void addRoundedRect(double x, double y, double w, double h, platform::Size radii);
  void createLine(const platform::DictRef& attributes);
  void parsePolygon(std::string_view text);
  // The points made so far moved by the transform and then placed relative to the first one.
  void placePoints(const platform::AffineTransform* transform);
  void createFill(const platform::DictRef& attributes);
  // Into the fill or stroke record `style`, whose box on the page reaches `outset` beyond the outline.
  void createGradient(const platform::DictRef& definition, const platform::DictRef& style,
                      const platform::DictRef& attributes, double outset);
  void createStroke(const platform::DictRef& attributes);
  // The "color" of a fill or stroke style record from a paint in any colour form ("currentColor" from the "color"
  // attribute); a colour with an alpha of its own sets the record's "alpha" to that times `opacity`.
  void setPaintColor(const platform::DictRef& style, std::string_view paint, float opacity,
                     const platform::DictRef& attributes);
  void createFont(const platform::DictRef& attributes);
  // The one colour record a text is painted with for a paint ("fill" or "stroke", `initial` when the attribute is
  // missing) and its opacity; nothing when the paint paints nothing.
  std::optional<platform::DictRef> textPaint(const platform::DictRef& attributes, std::string_view paintKey,
                                             std::string_view opacityKey, std::string_view initial) const;
  void setLayerAttributes(const platform::DictRef& attributes);

  void SVGMoveTo(platform::Point point) override;
  void SVGLineTo(platform::Point point) override;
  void SVGCurveToPoint(platform::Point end, platform::Point c1, platform::Point c2) override;
  void SVGClosePath() override;

  // Stores a single-precision number, noting one that is not finite.
  void setFloat(const platform::DictRef& record, std::string_view key, double value);
  platform::DictRef addPoint(platform::Point point, std::int64_t type);
  platform::DictRef shapeEntry(std::string_view key) const;

  platform::DictRef object_;
  platform::ArrayRef points_;
  platform::Size size_;
  CMSVGGradients& gradients_;
  platform::ArrayRef styles_;
  bool closed_ = false;
  bool finite_ = true;
  bool drawsNothing_ = false;
  // The square root of the transform's determinant, by which stroke widths and dashes scale.
  double strokeScale_ = 1;
};
