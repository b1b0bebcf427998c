#pragma once

// The SVG output format: the page colour, unless transparent, and the document's visible layers as SVG text of our
// own making. Shape layers become one path element each with inline style (gradient and shadow definitions placed just
// before it; a shape whose fill casts a shadow its stroke does not is a group of the two), groups become group
// elements and text layers text elements; image layers are left out. Each step appends to
// one text that grows as it goes. Layer records are read, never changed: a parametric shape is turned into Bezier
// points on a copy.

#include <string>

#include "io/export/CMBaseOutputFormat.h"
#include "platform/core/value.h"
#include "platform/graphics/bezier_path.h"

class CMSVGOutputFormat final : public CMBaseOutputFormat {
 public:
  // The UTF-8 text of the whole document; an error for a page side that is not a finite positive number.
  platform::Expected<platform::Bytes> generate(CMDocument& document) override;

  // Each appends its part to the text.
  void pageBackground(const platform::DictRef& root, const platform::Size& page);
  void layers(const platform::ArrayRef& records);
  void layerSVGString(const platform::DictRef& record);
  void shapeSVGString(const platform::DictRef& record);
  // The outline's path data; its points' bounds are kept for the shadow's filter.
  void SVGPathString(const platform::DictRef& record);
  void SVGFillStyle(const platform::DictRef& fill);
  // False when the stroke gives no style at all.
  bool SVGStrokeStyle(const platform::DictRef& stroke);
  // A definitions block for the gradient of a fill or stroke style; the id the shape refers to becomes the current
  // fill or stroke gradient. `box` is the box on the page that the gradient spans.
  void SVGGradient(const platform::DictRef& style, bool forFill, const platform::Rect& box);
  void textSVGString(const platform::DictRef& record);

  const std::string& text() const { return text_; }

 private:
  void gradientStops(const platform::DictRef& gradient, float opacity);
  // An open path element of the fill and the stroke given (either may be null) over the path data, its shadow drawn
  // with the filter of that id unless the id is empty.
  void pathElement(const platform::DictRef& fill, const platform::DictRef& stroke, const std::string& outline,
                   const std::string& filter);
  // A definitions block with the filter that draws the shadow of the record under what it is applied to, as the page
  // casts it; `caster` bounds what casts it, in the user space of the element. Returns the filter's id.
  std::string shadowFilter(const platform::DictRef& record, const platform::Rect& caster);
  // The layer's turn about its frame's centre and its opacity below 1, as attributes.
  void layerAttributes(const platform::DictRef& record, const platform::BezierPath& frame);

  std::string text_;
  std::string currentGradientFillId_;
  std::string currentGradientStrokeId_;
  platform::Rect pathBounds_;
  int maxGradientId_ = 1;
  int maxShadowId_ = 0;
};
