#include "io/export/CMSVGOutputFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "document/CMColorHex.h"
#include "document/CMColorRecord.h"
#include "document/CMGradient.h"
#include "document/CMGradientGeometry.h"
#include "document/CMDocument.h"
#include "document/CMGradientTypes.h"
#include "document/CMLayerTree.h"
#include "document/CMPointTypes.h"
#include "document/CMShadowRecord.h"
#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"
#include "document/CMStroke.h"
#include "document/CMStrokeDash.h"
#include "document/CMTextLayer.h"
#include "geometry/stroked_path.h"
#include "platform/core/xml_text.h"
#include "platform/core/string_conversions.h"
#include "platform/core/string_utilities.h"
#include "platform/graphics/rect_functions.h"

using platform::DictRef;

namespace {

enum LayerType : std::int64_t { kShapeLayer = 0, kTextLayer = 2, kGroupLayer = 3 };
enum StyleType : std::int64_t { kNoPaint = 0, kColourPaint = 1, kGradientPaint = 3 };

// Nothing that is not a number reaches the file.
double finiteOrZero(double value) { return std::isfinite(value) ? value : 0; }

std::string hexColour(const platform::Color& color) { return hexRGBFromColor(color).value_or("#000000"); }

// A fill or stroke without "alpha" is drawn opaque, as the canvas draws it.
double paintOpacity(const DictRef& style) {
  const platform::Value* alpha = style->find("alpha");
  return alpha ? std::clamp(finiteOrZero(alpha->floatValue()), 0.0, 1.0) : 1.0;
}

// A fill or stroke switched off in the style panel draws nothing on the page, whatever its type.
std::int64_t paintType(const DictRef& style) {
  if (!style) return kNoPaint;
  if (const platform::Value* use = style->find("use"); use && !use->boolValue()) return kNoPaint;
  return style->get("type").integerValue();
}

const char* lineCap(std::int64_t style) {
  switch (style) {
    case 0: return "butt";
    case 2: return "square";
    default: return "round";
  }
}

// The dash as the canvas draws it, in page units, as style properties.
std::string dashStyle(const DictRef& stroke) {
  const std::optional<CMStrokeDash> dash = strokeDashOf(stroke);
  if (!dash) return "stroke-dasharray:none;";
  std::string lengths;
  for (const double length : dash->lengths) {
    if (!lengths.empty()) lengths += ',';
    lengths += platform::formatDouble(length);
  }
  return "stroke-dasharray:" + lengths + ";stroke-dashoffset:" + platform::formatDouble(dash->offset) + ";";
}

const char* lineJoin(std::int64_t style) {
  switch (style) {
    case 1: return "round";
    case 2: return "bevel";
    default: return "miter";
  }
}

constexpr std::string_view kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
constexpr std::string_view kNamespaces =
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
    "xmlns:cc=\"http://creativecommons.org/ns#\"\n"
    "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"\n "
    "xmlns:svg=\"http://www.w3.org/2000/svg\"\n "
    "xmlns=\"http://www.w3.org/2000/svg\" \n "
    "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"\n "
    "xmlns:xlink=\"http://www.w3.org/1999/xlink\"\n "
    "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n >\n";

}  // namespace

platform::Expected<platform::Bytes> CMSVGOutputFormat::generate(CMDocument& document) {
  // Any finite page a reader can show.
  const platform::Expected<platform::Size> page = pageSize(document, std::numeric_limits<float>::max(), "SVG");
  if (!page) return page.error();
  maxGradientId_ = 1;
  maxShadowId_ = 0;
  text_.clear();
  text_ += kHeader;
  platform::appendFormat(text_, "<svg \n \t width = \"%f\" \n \t height = \"%f\" \n", page.value().width,
                         page.value().height);
  text_ += kNamespaces;
  pageBackground(document.data(), page.value());
  layers(document.data()->array("layers"));
  text_ += "</svg>\n";
  return platform::Bytes(text_.begin(), text_.end());
}

void CMSVGOutputFormat::pageBackground(const DictRef& root, const platform::Size& page) {
  const DictRef background = root->dictionary("background");
  const DictRef colour = background ? background->dictionary("bg_color") : nullptr;
  // The other formats lay a page colour that is not wholly transparent under the layers; so does this one.
  if (!colour || colour->get("a").doubleValue() == 0) return;
  platform::appendFormat(text_, "<rect width=\"%f\" height=\"%f\" fill=\"%s\" fill-opacity=\"%.4f\"/>\n",
                         page.width, page.height, hexColour(colorWithDictionary(colour)).c_str(),
                         std::clamp(finiteOrZero(colour->get("a").doubleValue() / 255), 0.0, 1.0));
}

void CMSVGOutputFormat::layers(const platform::ArrayRef& records) {
  if (!records) return;
  for (const platform::Value& entry : *records) {
    const DictRef record = entry.dictionary();
    if (!record || !record->get("visible").boolValue()) continue;
    if (record->get("type").integerValue() == kGroupLayer) {
      const double opacity = CMLayerTree::groupAlpha(record);
      text_ += "<g";
      if (opacity < 1) platform::appendFormat(text_, " opacity=\"%.4f\"", opacity);
      text_ += ">\n";
      layers(record->array("items"));
      text_ += "</g>\n";
    } else {
      layerSVGString(record);
    }
  }
}

void CMSVGOutputFormat::layerSVGString(const DictRef& record) {
  switch (record->get("type").integerValue()) {
    case kShapeLayer: return shapeSVGString(record);
    case kTextLayer: return textSVGString(record);
    default: return;
  }
}

void CMSVGOutputFormat::shapeSVGString(const DictRef& record) {
  // Parametric shapes are written as the Bezier points they would become, worked out on a copy of the record.
  DictRef layerRecord = record;
  std::optional<CMShapeLayer> layer;
  const DictRef shape = record->dictionary("shape");
  const bool rotated = finiteOrZero(record->get("rotate").floatValue()) != 0;
  if ((shape && !shape->get("isbezier").boolValue()) || rotated) {
    layerRecord = platform::dictionaryCopy(record);
    layer.emplace(layerRecord);
    if (shape && !shape->get("isbezier").boolValue()) {
      layer->saveAsBezier();
      // The Bezier points start at the outline's corner; the layer moves there, where the canvas draws it.
      layer->setSize();
    }
  }
  const DictRef style = layerRecord->dictionary("shape");
  const DictRef fill = style ? style->dictionary("fill") : nullptr;
  const DictRef stroke = style ? style->dictionary("stroke") : nullptr;
  if (paintType(fill) == kGradientPaint || paintType(stroke) == kGradientPaint) {
    // A fill's gradient spans the outline's box, a stroke's the box of the stroke's area, as the page measures them.
    std::optional<CMShapeLayer> measured;
    CMShapeLayer& outline = layer ? *layer : measured.emplace(layerRecord);
    platform::BezierPath path = outline.path();
    if (paintType(fill) == kGradientPaint) SVGGradient(fill, true, path.bounds());
    if (paintType(stroke) == kGradientPaint) {
      CMStroke(stroke).applyAttributes(path, 1);
      const std::optional<platform::BezierPath> area = strokedPath(path);
      SVGGradient(stroke, false, area ? area->bounds() : platform::Rect{});
    }
  }
  const std::size_t start = text_.size();
  SVGPathString(layerRecord);
  const std::string outline = text_.substr(start);
  text_.resize(start);
  const platform::BezierPath frame = layer ? layer->framePath(false) : platform::BezierPath();
  const DictRef shadow = usedShapeSlot(style, "shadow");
  if (!shadow) {
    pathElement(fill, stroke, outline, {});
    layerAttributes(layerRecord, frame);
    text_ += "  />\n";
  } else if (paintType(fill) == kNoPaint || paintType(stroke) == kNoPaint) {
    // Without a fill the strokes cast the shadow, as on the page.
    const double width =
        paintType(fill) == kNoPaint ? finiteOrZero(stroke ? stroke->get("lineWidth").floatValue() : 0) : 0;
    const std::string filter = shadowFilter(shadow, platform::insetRect(pathBounds_, -width * 5, -width * 5));
    pathElement(fill, stroke, outline, filter);
    layerAttributes(layerRecord, frame);
    text_ += "  />\n";
  } else {
    // Only the fill casts the shadow: the stroke is drawn over it on its own, the two turned and made translucent
    // together as one layer.
    const std::string filter = shadowFilter(shadow, pathBounds_);
    text_ += "<g";
    layerAttributes(layerRecord, frame);
    text_ += ">\n";
    pathElement(fill, nullptr, outline, filter);
    text_ += "  />\n";
    pathElement(nullptr, stroke, outline, {});
    text_ += "  />\n</g>\n";
  }
  currentGradientFillId_.clear();
  currentGradientStrokeId_.clear();
}

void CMSVGOutputFormat::pathElement(const DictRef& fill, const DictRef& stroke, const std::string& outline,
                                    const std::string& filter) {
  text_ += "<path  style=\"";
  SVGFillStyle(fill);
  // The page is filled even-odd: a shape without a stroke part still needs the rule to keep its holes.
  if (!SVGStrokeStyle(stroke)) text_ += "fill-rule:evenodd;";
  text_ += "\" \n d=\"";
  text_ += outline;
  text_ += '"';
  if (!filter.empty()) platform::appendFormat(text_, " filter=\"url(#%s)\"", filter.c_str());
}

std::string CMSVGOutputFormat::shadowFilter(const DictRef& record, const platform::Rect& caster) {
  const platform::Shadow shadow = shadowWithDictionary(record, 1);
  const double dx = finiteOrZero(shadow.offset.width), dy = finiteOrZero(shadow.offset.height);
  // The page blurs with a Gaussian of half the radius, whose ink is all but gone three deviations out.
  const double sigma = std::max(0.0, finiteOrZero(shadow.blurRadius) / 2);
  const double reach = std::ceil(3 * sigma) + 1;
  const platform::Rect region = platform::insetRect(
      platform::unionRect(caster, platform::offsetRect(caster, dx, dy)), -reach, -reach);
  const std::string id = platform::formatString("shadow%d", ++maxShadowId_);
  // Composited in sRGB, as the page composites the shadow under the shape.
  platform::appendFormat(text_,
                         "<defs>\n<filter id=\"%s\" filterUnits=\"userSpaceOnUse\" x=\"%f\" y=\"%f\" "
                         "width=\"%f\" height=\"%f\" color-interpolation-filters=\"sRGB\">\n",
                         id.c_str(), finiteOrZero(region.origin.x), finiteOrZero(region.origin.y),
                         finiteOrZero(region.size.width), finiteOrZero(region.size.height));
  if (sigma > 0) {
    platform::appendFormat(text_, "<feGaussianBlur in=\"SourceAlpha\" stdDeviation=\"%f\"/>\n", sigma);
    platform::appendFormat(text_, "<feOffset dx=\"%f\" dy=\"%f\" result=\"cast\"/>\n", dx, dy);
  } else {
    platform::appendFormat(text_, "<feOffset in=\"SourceAlpha\" dx=\"%f\" dy=\"%f\" result=\"cast\"/>\n", dx, dy);
  }
  platform::appendFormat(text_,
                         "<feFlood flood-color=\"%s\" flood-opacity=\"%.4f\"/>\n"
                         "<feComposite in2=\"cast\" operator=\"in\"/>\n"
                         "<feMerge><feMergeNode/><feMergeNode in=\"SourceGraphic\"/></feMerge>\n"
                         "</filter>\n</defs>\n",
                         hexColour(shadow.color).c_str(), std::clamp(finiteOrZero(shadow.color.alpha()), 0.0, 1.0));
  return id;
}

void CMSVGOutputFormat::SVGPathString(const DictRef& record) {
  pathBounds_ = {};
  const DictRef shape = record->dictionary("shape");
  const platform::ArrayRef points = shape ? shape->array("points") : nullptr;
  if (!points) return;
  const double dx = record->get("x").floatValue();
  const double dy = record->get("y").floatValue();
  platform::Point low{INFINITY, INFINITY}, high{-INFINITY, -INFINITY};
  const auto moved = [&](const DictRef& point, std::string_view key) {
    const platform::Point p{finiteOrZero(shapePoint(point, key).x + dx), finiteOrZero(shapePoint(point, key).y + dy)};
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    return p;
  };
  for (const platform::Value& entry : *points) {
    const DictRef point = entry.dictionary();
    if (!point) continue;
    const std::int64_t type = point->get("type").integerValue();
    const platform::Point p = moved(point, "point");
    if (type & kCMPointMove) {
      platform::appendFormat(text_, "M%f,%f ", p.x, p.y);
    } else if (type & kCMPointLine) {
      platform::appendFormat(text_, "L%f,%f ", p.x, p.y);
    } else if (type & kCMPointCurve) {
      const platform::Point c1 = moved(point, "control_point1");
      const platform::Point c2 = moved(point, "control_point2");
      platform::appendFormat(text_, "C%f,%f %f,%f %f,%f", c1.x, c1.y, c2.x, c2.y, p.x, p.y);
    }
    if (type & kCMPointClose) text_ += "z ";
  }
  if (low.x <= high.x) pathBounds_ = {low, {high.x - low.x, high.y - low.y}};
}

void CMSVGOutputFormat::SVGFillStyle(const DictRef& fill) {
  switch (paintType(fill)) {
    case kNoPaint: text_ += "fill:none;"; break;
    case kColourPaint:
      platform::appendFormat(text_, "fill:%s;fill-opacity:%.2f;",
                             hexColour(colorWithDictionary(fill->dictionary("color"))).c_str(), paintOpacity(fill));
      break;
    case kGradientPaint: platform::appendFormat(text_, "fill: url(#%s); ", currentGradientFillId_.c_str()); break;
    default: break;
  }
}

bool CMSVGOutputFormat::SVGStrokeStyle(const DictRef& stroke) {
  std::string paint;
  switch (paintType(stroke)) {
    case kColourPaint: paint = hexColour(colorWithDictionary(stroke->dictionary("color"))); break;
    case kGradientPaint: paint = "url(#" + currentGradientStrokeId_ + ")"; break;
    default: return false;
  }
  platform::appendFormat(text_,
                         "stroke:%s;stroke-opacity:%.2f;stroke-width:%.04f;%sstroke-linecap:%s;"
                         "stroke-linejoin:%s;fill-rule:%s;",
                         paint.c_str(), paintOpacity(stroke),
                         finiteOrZero(stroke->get("lineWidth").floatValue()), dashStyle(stroke).c_str(),
                         lineCap(stroke->get("lineCapStyle").integerValue()),
                         lineJoin(stroke->get("lineJoinStyle").integerValue()), "evenodd");
  return true;
}

void CMSVGOutputFormat::gradientStops(const DictRef& gradient, float opacity) {
  // The colours the page draws: sorted, clamped, a midpoint after each stop with a "mix", at the paint's opacity.
  const platform::Gradient drawn = CMGradient::createGradient(gradient, opacity);
  for (const platform::GradientStop& stop : drawn.stops()) {
    platform::appendFormat(text_, "<stop offset=\"%.4f%%\" stop-color=\"%s\" stop-opacity=\"%.4f\"/>\n",
                           stop.location * 100, hexColour(platform::Color(stop.red, stop.green, stop.blue, 1)).c_str(),
                           stop.alpha);
  }
}

void CMSVGOutputFormat::SVGGradient(const DictRef& style, bool forFill, const platform::Rect& box) {
  const int n = maxGradientId_;
  const DictRef gradient = style->dictionary("gradient");
  const float opacity = static_cast<float>(paintOpacity(style));
  // In the page's units, where the page draws it: a viewer measures a shape's own box in its own way (rsvg-convert
  // measures a turned shape's in the turned frame, so the gradient would not turn with the shape).
  const CMGradientGeometry geometry = CMGradientGeometry::forRecord(gradient, box, CMGradientRules::Document);
  std::string id;
  const std::int64_t type = gradient ? gradient->get("type").integerValue() : kCMGradientLeftToRight;
  switch (type) {
    case kCMGradientLeftToRight:
    case kCMGradientAngled: {
      platform::appendFormat(text_, "<defs>\n<linearGradient id=\"grad%d\" >\n", n);
      gradientStops(gradient, opacity);
      text_ += "</linearGradient>\n";
      platform::appendFormat(text_,
                             "<linearGradient xlink:href=\"#grad%d\" id=\"grad%d\" x1=\"%f\" y1=\"%f\" x2=\"%f\" "
                             "y2=\"%f\" gradientTransform=\"rotate(0 0 0)\" gradientUnits=\"userSpaceOnUse\" "
                             "></linearGradient>\n",
                             n, n + 1, finiteOrZero(geometry.start.x), finiteOrZero(geometry.start.y),
                             finiteOrZero(geometry.end.x), finiteOrZero(geometry.end.y));
      text_ += "</defs>\n";
      id = platform::formatString("grad%d", n + 1);
      maxGradientId_ = n + 2;
      break;
    }
    case kCMGradientRadial: {
      // The circle the page draws in a space stretched along the box's longer side.
      const bool drawn = geometry.kind == CMGradientGeometry::Kind::Radial;
      platform::appendFormat(text_,
                             "<defs>\n<radialGradient id=\"grad%d\" cx=\"%f\" cy=\"%f\" r=\"%f\" "
                             "gradientTransform=\"matrix(%f 0 0 %f 0 0)\" gradientUnits=\"userSpaceOnUse\">\n",
                             n, finiteOrZero(geometry.start.x), finiteOrZero(geometry.start.y),
                             finiteOrZero(geometry.radius), finiteOrZero(geometry.scale.width),
                             finiteOrZero(geometry.scale.height));
      // Without stops a gradient paints nothing, as the page paints one it has no circle for.
      if (drawn) gradientStops(gradient, opacity);
      text_ += "</radialGradient>\n</defs>\n";
      id = platform::formatString("grad%d", n);
      maxGradientId_ = n + 1;
      break;
    }
    default: maxGradientId_ = n + 1; break;
  }
  (forFill ? currentGradientFillId_ : currentGradientStrokeId_) = std::move(id);
}

void CMSVGOutputFormat::textSVGString(const DictRef& record) {
  const DictRef style = record->dictionary("style");
  const auto styleValue = [&](std::string_view key) { return style ? style->get(key) : platform::Value(); };
  // SVG places a text by its first baseline, the layer by its frame's top.
  const CMTextLayer layer(record);
  const double baseline = layer.baselineOffset();
  // The size the canvas draws, fraction and all, and the family and face it draws.
  const platform::Font font = *layer.textAttributes(false).font;
  const platform::Color colour = colorWithDictionary(styleValue("foregroundColor").dictionary());
  // The outline in percent of the size, alone when positive.
  const platform::TextAttributes outlined = layer.textAttributes(true);
  const double outline = std::isfinite(outlined.strokeWidth) ? outlined.strokeWidth : 0;
  const bool turned = finiteOrZero(record->get("rotate").floatValue()) != 0;
  const DictRef shadow = usedShapeSlot(style, "shadow");
  platform::BezierPath frame;
  std::string filter;
  if (turned || shadow) {
    // Measured, so that the frame it turns about is the one the canvas turns, and the shadow has the room it takes.
    CMTextLayer measured(platform::dictionaryCopy(record), 1);
    frame = measured.framePath(false);
    if (shadow) filter = shadowFilter(shadow, frame.bounds());
    if (!turned) frame = {};
  }
  if (!filter.empty()) {
    // On a group, not on the text: Inkscape casts a text's own filter from heavier glyphs than it draws.
    platform::appendFormat(text_, "<g filter=\"url(#%s)\"", filter.c_str());
    layerAttributes(record, frame);
    text_ += ">\n";
  }
  platform::appendFormat(text_, "<text x=\"%.4f\" y=\"%.4f\" fill=\"%s\" font-size=\"%s\"",
                         finiteOrZero(record->get("x").floatValue()),
                         finiteOrZero(record->get("y").floatValue() + baseline),
                         outline > 0 ? "none" : hexColour(colour).c_str(), platform::formatDouble(font.pointSize()).c_str());
  if (colour.alpha() < 1 && outline <= 0) {
    platform::appendFormat(text_, " fill-opacity=\"%.4f\"", finiteOrZero(colour.alpha()));
  }
  if (outline != 0) {
    const platform::Color stroke = outlined.strokeColor.value_or(colour);
    platform::appendFormat(text_, " stroke=\"%s\" stroke-width=\"%s\"", hexColour(stroke).c_str(),
                           platform::formatDouble(std::fabs(outline) / 100 * font.pointSize()).c_str());
    if (stroke.alpha() < 1) platform::appendFormat(text_, " stroke-opacity=\"%.4f\"", finiteOrZero(stroke.alpha()));
  }
  text_ += " style=\"font-family: ";
  platform::appendXMLText(text_, font.familyName());
  if (font.weight() != 400) platform::appendFormat(text_, "; font-weight: %d", font.weight());
  if (font.slanted()) text_ += "; font-style: italic";
  text_ += '"';
  // "x" is the anchor's point.
  if (const std::string& anchor = record->get("text-anchor").string(); anchor == "middle" || anchor == "end") {
    platform::appendFormat(text_, " text-anchor=\"%s\"", anchor.c_str());
  }
  if (filter.empty()) layerAttributes(record, frame);
  text_ += "  >\n";
  int spans = 0;
  if (styleValue("underlilneStyle").boolValue()) {
    text_ += "<tspan style=\"text-decoration: underline;\">";
    ++spans;
  }
  if (styleValue("strikethroughStyle").boolValue()) {
    text_ += "<tspan style=\"text-decoration: line-through;\">";
    ++spans;
  }
  platform::appendXMLText(text_, record->get("text").string());
  while (spans-- > 0) text_ += "</tspan>";
  text_ += "</text>";
  if (!filter.empty()) text_ += "</g>\n";
}

void CMSVGOutputFormat::layerAttributes(const DictRef& record, const platform::BezierPath& frame) {
  const double degrees = finiteOrZero(record->get("rotate").floatValue());
  if (degrees != 0 && !frame.isEmpty()) {
    // The drawer turns a layer about the centre of its frame, in single precision.
    const platform::Rect bounds = frame.bounds();
    const float cx = static_cast<float>(bounds.origin.x + bounds.size.width * 0.5);
    const float cy = static_cast<float>(bounds.origin.y + bounds.size.height * 0.5);
    platform::appendFormat(text_, " transform=\"rotate(%.4f %.4f %.4f)\"", degrees, finiteOrZero(cx), finiteOrZero(cy));
  }
  if (const platform::Value* alpha = record->find("alpha")) {
    const double opacity = std::isfinite(alpha->doubleValue()) ? std::clamp(alpha->doubleValue(), 0.0, 1.0) : 0;
    if (opacity < 1) platform::appendFormat(text_, " opacity=\"%.4f\"", opacity);
  }
}
