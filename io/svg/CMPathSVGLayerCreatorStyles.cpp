// The style half of the layer creator: fill, gradient, stroke, font and opacity.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "document/CMColorHex.h"
#include "document/CMColorRecord.h"
#include "io/svg/CMPathSVGLayerCreator.h"
#include "io/svg/CMSVGGradient.h"
#include "io/svg/VDSVGColor.h"
#include "io/svg/VDSVGColorValue.h"
#include "io/svg/VDSVGFont.h"
#include "io/svg/VDSVGOpacity.h"
#include "platform/core/numeric.h"
#include "platform/core/string_conversions.h"
#include "platform/core/string_utilities.h"

using platform::DictRef;
using platform::Value;

namespace {

// The attribute's text, when present.
std::optional<std::string> attributeText(const DictRef& attributes, std::string_view key) {
  const Value* value = attributes->find(key);
  if (!value) return std::nullopt;
  return value->string();
}

// A paint as the colour readers take it: keywords and "#rgb" spelt out, a leading "#" dropped.
std::string colorDigits(std::string_view value) { return SVGColorDigits(value); }

// The id a paint "url(#id)" names, a fallback colour after it left out; empty for any other paint.
std::string gradientId(std::string_view paint) { return SVGPaintReferenceOf(paint).id; }

// The colour a paint names in any CSS form, "currentColor" the "color" attribute's; nothing for a paint CSS does
// not know.
std::optional<SVGColorValue> paintColor(std::string_view paint, const DictRef& attributes) {
  const std::optional<SVGColorValue> current = SVGColorValueOf(attributes->get("color").string());
  return SVGColorValueOf(paint, current.value_or(SVGColorValue{}));
}

// A colour record of the colour, its alpha `alpha`.
DictRef colorRecord(const SVGColorValue& color, float alpha) {
  return platform::Dictionary::make({{"r", color.red},
                                     {"g", color.green},
                                     {"b", color.blue},
                                     {"a", platform::saturatingTruncate<std::int64_t>(alpha * 255.0f)}});
}

}  // namespace

void CMPathSVGLayerCreator::setPaintColor(const DictRef& style, std::string_view paint, float opacity,
                                          const DictRef& attributes) {
  std::optional<SVGColorValue> color = paintColor(paint, attributes);
  if (!color && paint.substr(0, 2) == "0x") {
    // The reader's own default ("0x000000") goes to the record's colour reader.
    style->set("color", dictionaryFromHexRGB(paint, opacity));
    return;
  }
  // Any other paint CSS does not know is an error, which leaves SVG's initial black.
  if (!color) color = SVGColorValue{};
  // The style record draws with its "alpha", not its colour's: a colour's own alpha joins the opacity there.
  const float alpha = opacity * static_cast<float>(color->alpha);
  if (alpha != opacity) setFloat(style, "alpha", alpha);
  style->set("color", colorRecord(*color, alpha));
}

DictRef CMPathSVGLayerCreator::shapeEntry(std::string_view key) const {
  const DictRef shape = object_->dictionary("shape");
  return shape ? shape->dictionary(key) : nullptr;
}

void CMPathSVGLayerCreator::createFill(const DictRef& attributes) {
  const DictRef fill = shapeEntry("fill");
  if (!fill) return;
  const std::optional<std::string> value = attributeText(attributes, "fill");
  if (!value || *value == "none") {
    fill->set("type", 0);
    fill->set("use", false);
    return;
  }
  float alpha = 1.0f;
  if (const Value* opacity = attributes->find("fill-opacity")) {
    alpha = SVGOpacity(opacity->string());
    setFloat(fill, "alpha", alpha);
  }
  const std::string paint = colorDigits(*value);
  if (paint.find("url") != std::string::npos) {
    // url(#id), perhaps followed by the paint to use when no gradient has that id.
    const SVGPaintReference reference = SVGPaintReferenceOf(paint);
    const DictRef definition = reference.id.empty() ? nullptr : gradients_.find(reference.id);
    if (definition) {
      createGradient(definition, fill, attributes, 0);
      fill->set("type", 3);
    } else {
      // Without a fallback the reference is an error, which paints nothing.
      if (reference.fallback.empty() || reference.fallback == "none") {
        fill->set("type", 0);
        fill->set("use", false);
        return;
      }
      fill->set("type", 1);
      setPaintColor(fill, reference.fallback, alpha, attributes);
    }
  } else {
    fill->set("type", 1);
    setPaintColor(fill, *value, alpha, attributes);
  }
  fill->set("use", true);
}

void CMPathSVGLayerCreator::createGradient(const DictRef& definition, const DictRef& style,
                                           const DictRef& attributes, double outset) {
  const DictRef gradient = style->dictionary("gradient");
  const platform::ArrayRef points = object_->dictionary("shape") ? object_->dictionary("shape")->array("points") : nullptr;
  if (!gradient || !points) return;
  CMSVGGradientPlacement placement;
  platform::BezierPath outline = pathFromPoints(points);
  outline.transformUsingAffineTransform(
      {1, 0, 0, 1, object_->get("x").doubleValue(), object_->get("y").doubleValue()});
  placement.pageBox = outline.bounds();
  placement.pageBox = {placement.pageBox.origin.x - outset, placement.pageBox.origin.y - outset,
                       placement.pageBox.size.width + 2 * outset, placement.pageBox.size.height + 2 * outset};
  // The points are on the page already: taken back through the element's transform they give its own bounds.
  if (findTransform(attributes->array("transform"), placement.transform)) {
    platform::AffineTransform back = placement.transform;
    if (!back.invert()) return;
    outline.transformUsingAffineTransform(back);
  }
  placement.elementBox = outline.bounds();
  placement.viewport = size_;
  gradients_.apply(definition, gradient, placement);
}

void CMPathSVGLayerCreator::createStroke(const DictRef& attributes) {
  const DictRef stroke = shapeEntry("stroke");
  if (!stroke) return;
  const std::optional<std::string> value = attributeText(attributes, "stroke");
  // Without a paint there is no stroke, whatever its width; nor with a width that is not above 0.
  const float width = attributes->contains("stroke-width") ? attributeFloat(attributes, "stroke-width") : 1.0f;
  if (!value || *value == "none" || !(width > 0)) {
    stroke->set("type", 0);
    return;
  }
  float alpha = 1.0f;
  if (const Value* opacity = attributes->find("stroke-opacity")) {
    alpha = SVGOpacity(opacity->string());
    // The stroke draws with its own alpha, not the colour's: without it the opacity would be lost.
    setFloat(stroke, "alpha", alpha);
  }
  setPaintColor(stroke, *value, alpha, attributes);
  int dashStyle = 0;
  const std::optional<std::string> dashes = attributeText(attributes, "stroke-dasharray");
  if (dashes && *dashes != "solid" && *dashes != "none") {
    // Separated by commas and/or blanks, as SVG writes them. A negative length makes the list an error, which
    // leaves the stroke solid.
    const std::vector<double> numbers = SVGLengthList(*dashes, lengthBasis(attributes, "stroke-dasharray"));
    const platform::ArrayRef lengths = platform::Array::make();
    for (const double length : numbers) {
      const float scaled = static_cast<float>(length * strokeScale_);
      if (!std::isfinite(scaled)) finite_ = false;
      lengths->add(scaled);
    }
    if (!numbers.empty() && std::none_of(numbers.begin(), numbers.end(), [](double n) { return n < 0; })) {
      stroke->set("dashPoints", lengths);
      setFloat(stroke, "stroke-dashoffset", attributeFloat(attributes, "stroke-dashoffset") * strokeScale_);
      dashStyle = 1;
    }
  }
  setFloat(stroke, "lineWidth", width * strokeScale_);
  stroke->set("lineJoinStyle", lineJoinStyle(attributes->get("stroke-linejoin").string()));
  stroke->set("lineCapStyle", lineCapStyle(attributes->get("stroke-linecap").string()));
  stroke->set("dashStyle", dashStyle);
  stroke->set("type", 1);
  if (value && value->find("url(") != std::string::npos) {
    // A gradient's box on a stroke takes in the stroke's width; one that cannot be found paints nothing.
    const DictRef definition = gradients_.find(gradientId(*value));
    if (definition) createGradient(definition, stroke, attributes, stroke->get("lineWidth").doubleValue() / 2);
    stroke->set("type", definition ? 3 : 0);
  }
}

std::optional<DictRef> CMPathSVGLayerCreator::textPaint(const DictRef& attributes, std::string_view paintKey,
                                                       std::string_view opacityKey, std::string_view initial) const {
  const std::string paint = attributeText(attributes, paintKey).value_or(std::string(initial));
  if (paint == "none") return std::nullopt;
  const Value* opacityValue = attributes->find(opacityKey);
  const float opacity = opacityValue ? SVGOpacity(opacityValue->string()) : 1.0f;
  // A text has one colour: a gradient gives the one at its middle, a missing one its fallback.
  const SVGPaintReference reference = SVGPaintReferenceOf(paint);
  if (const DictRef gradient = reference.id.empty() ? nullptr : gradients_.find(reference.id)) {
    const DictRef middle = gradients_.middleColor(gradient);
    middle->set("a", platform::saturatingTruncate<std::int64_t>(middle->get("a").floatValue() * opacity));
    return middle;
  }
  // Without a fallback a missing gradient paints nothing; a paint CSS does not know leaves SVG's initial black.
  const bool url = paint.find("url(") != std::string::npos;
  if (url && (reference.fallback.empty() || reference.fallback == "none")) return std::nullopt;
  const SVGColorValue color = paintColor(url ? reference.fallback : paint, attributes).value_or(SVGColorValue{});
  return colorRecord(color, opacity * static_cast<float>(color.alpha));
}

void CMPathSVGLayerCreator::createFont(const DictRef& attributes) {
  const DictRef style = object_->dictionary("style");
  if (!style) return;
  // The reader resolves sizes to user units; one not positive is invalid and leaves the initial size.
  const double size =
      SVGFontSize(attributes->get("font-size").string(), kSVGInitialFontSize).value_or(kSVGInitialFontSize);
  setFloat(style, "fontSize", size);
  if (const std::optional<std::string> name = SVGFontName(attributes)) style->set("fontName", *name);
  // A text is drawn filled: one that paints no fill is filled with nothing.
  const std::optional<DictRef> fill = textPaint(attributes, "fill", "fill-opacity", "black");
  style->set("foregroundColor", fill ? *fill : colorRecord(SVGColorValue{}, 0));
  // The outline, as wide as the file gives it: the style holds it in percent of the font size, positive when the
  // text has no fill.
  const float width = attributes->contains("stroke-width") ? attributeFloat(attributes, "stroke-width") : 1.0f;
  const std::optional<DictRef> stroke = width > 0 ? textPaint(attributes, "stroke", "stroke-opacity", "none") : std::nullopt;
  if (!stroke) return;
  style->set("strokeColor", *stroke);
  setFloat(style, "strokeWidth", (fill ? -100 : 100) * width / size);
}

void CMPathSVGLayerCreator::setLayerAttributes(const DictRef& attributes) {
  if (const Value* opacity = attributes->find("opacity")) setFloat(object_, "alpha", SVGOpacity(opacity->string()));
}

int CMPathSVGLayerCreator::lineJoinStyle(std::string_view text) {
  if (text == "round") return 1;
  if (text == "bevel") return 2;
  return 0;
}

int CMPathSVGLayerCreator::lineCapStyle(std::string_view text) {
  if (text == "round") return 1;
  if (text == "square") return 2;
  return 0;
}
