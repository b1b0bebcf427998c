// The style half of the layer creator: fill, gradient, stroke, font and opacity.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "document/CMColorHex.h"
#include "document/CMColorRecord.h"
#include "io/svg/CMPathSVGLayerCreator.h"
#include "io/svg/VDSVGColor.h"
#include "io/svg/VDSVGColorValue.h"
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
std::string colorDigits(std::string_view value) {
  std::string text = SVGColorText(value);
  if (!text.empty() && text.front() == '#') text.erase(0, 1);
  return text;
}

// A gradient's "offset": with "%", a hundredth of its number (capped at 1 in a linear gradient, whose number is
// read as an integer); else the number itself.
float stopPosition(std::string_view offset, bool linear) {
  if (offset.find('%') == std::string_view::npos) return platform::stringFloatValue(offset);
  const std::string_view number = offset.substr(0, offset.size() - 1);
  if (linear) return static_cast<float>(std::min(platform::stringIntValue(number), 100)) / 100.0f;
  return platform::stringFloatValue(number) / 100.0f;
}

}  // namespace

void CMPathSVGLayerCreator::setPaintColor(const DictRef& style, std::string_view paint, float opacity,
                                          const DictRef& attributes) {
  const std::optional<SVGColorValue> current = SVGColorValueOf(attributes->get("color").string());
  std::optional<SVGColorValue> color = SVGColorValueOf(paint, current.value_or(SVGColorValue{}));
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
  style->set("color", platform::Dictionary::make({{"r", color->red},
                                                  {"g", color->green},
                                                  {"b", color->blue},
                                                  {"a", platform::saturatingTruncate<std::int64_t>(alpha * 255.0f)}}));
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
    const std::string& id = reference.id;
    const std::string& fallback = reference.fallback;
    bool found = false;
    if (gradients_ && !id.empty()) {
      for (const Value& entry : *gradients_) {
        const DictRef definition = entry.dictionary();
        const DictRef definitionAttributes = definition ? definition->dictionary("attributes") : nullptr;
        if (definitionAttributes && definitionAttributes->get("id").string() == id) {
          createGradient(definition);
          found = true;
        }
      }
    }
    if (!found) {
      // Without a fallback the reference is an error, which paints nothing.
      if (fallback.empty() || fallback == "none") {
        fill->set("type", 0);
        fill->set("use", false);
        return;
      }
      fill->set("type", 1);
      setPaintColor(fill, fallback, alpha, attributes);
    } else {
      fill->set("type", 3);
    }
  } else {
    fill->set("type", 1);
    setPaintColor(fill, *value, alpha, attributes);
  }
  fill->set("use", true);
}

void CMPathSVGLayerCreator::createGradient(const DictRef& definition) {
  const DictRef fill = shapeEntry("fill");
  const DictRef gradient = fill ? fill->dictionary("gradient") : nullptr;
  if (!gradient) return;
  const std::string& name = definition->get("name").string();
  if (name != "radialGradient" && name != "linearGradient") return;
  const bool linear = name == "linearGradient";
  const DictRef attributes = definition->dictionary("attributes");
  if (!attributes) return;
  platform::ArrayRef stops = definition->array("points");
  if (linear) {
    // A linear gradient may take its stops from the one it refers to.
    const std::string reference = attributes->get("xlink:href").string();
    if (!reference.empty() && gradients_) {
      for (const Value& entry : *gradients_) {
        const DictRef other = entry.dictionary();
        const DictRef otherAttributes = other ? other->dictionary("attributes") : nullptr;
        if (otherAttributes && otherAttributes->get("id").string() == std::string_view(reference).substr(1)) {
          stops = other->array("points");
          break;
        }
      }
    }
  }
  const platform::ArrayRef markers = platform::Array::make();
  if (!stops) stops = platform::Array::make();
  for (const Value& entry : *stops) {
    const DictRef stop = entry.dictionary();
    if (!stop) continue;
    // "stop-color" without its first character, the "#"; the stop's opacity has no place in the record.
    const std::string color = SVGColorText(stop->get("stop-color").string());
    const platform::Color rgb = colorFromHexRGB(color.empty() ? std::string_view() : std::string_view(color).substr(1));
    const DictRef marker = platform::Dictionary::make();
    setFloat(marker, "red", rgb.red());
    setFloat(marker, "green", rgb.green());
    setFloat(marker, "blue", rgb.blue());
    setFloat(marker, "pos", stopPosition(stop->get("offset").string(), linear));
    if (linear) setFloat(marker, "mix", 0.5);
    markers->add(marker);
  }
  gradient->set("markers", markers);
  if (linear) return;
  gradient->set("type", 1);
  const auto percentOrValue = [&](std::string_view key, std::string_view percentKey, std::string_view valueKey,
                                  double shift) {
    const Value* value = attributes->find(key);
    if (!value) return;
    if (value->string().find('%') != std::string::npos) {
      setFloat(gradient, percentKey, value->floatValue() / 100.0 - shift);
    } else {
      setFloat(gradient, valueKey, value->floatValue());
    }
  };
  percentOrValue("r", "radius_factor_percent", "radius_factor", 0);
  percentOrValue("cx", "fx_percent", "fx", 0.5);
  percentOrValue("cy", "fy_percent", "fy", 0.5);
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
}

void CMPathSVGLayerCreator::createFont(const DictRef& attributes) {
  const DictRef style = object_->dictionary("style");
  if (!style) return;
  const float size = attributes->get("font-size").floatValue();
  if (size != 0) setFloat(style, "fontSize", size);
  if (const Value* family = attributes->find("font-family")) style->set("fontName", *family);
  const std::optional<std::string> fill = attributeText(attributes, "fill");
  if (fill && *fill != "none") style->set("foregroundColor", dictionaryFromHexRGB(colorDigits(*fill), 1.0f));
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
