#include "io/cdr/CMSVGPaint.h"

#include <limits>
#include <string_view>

namespace {

std::string textOf(const librevenge::RVNGPropertyList& list, const char* key) {
  const librevenge::RVNGProperty* property = list[key];
  return property ? property->getStr().cstr() : std::string();
}

// A fraction given as a percentage ("50%") or a plain number.
void appendFraction(CMSVGAttributes& attributes, std::string_view name, const librevenge::RVNGProperty* property) {
  if (property) attributes.number(name, property->getDouble());
}

// One stop: its offset and opacity are fractions, its colour the "#rrggbb" text.
void appendStop(std::string& out, const std::string& prefix, double offset, const std::string& color,
                const librevenge::RVNGProperty* opacity, bool& valid) {
  CMSVGAttributes stop;
  stop.number("offset", offset);
  stop.text("stop-color", color);
  appendFraction(stop, "stop-opacity", opacity);
  valid = valid && stop.valid();
  out += "<" + prefix + "stop" + stop.str() + "/>\n";
}

// The gradient element of a gradient fill, or nothing when a number in it cannot be written.
std::string gradientElement(const librevenge::RVNGPropertyList& style, const std::string& prefix,
                            const std::string& id) {
  const std::string kind = textOf(style, "draw:style");
  const bool radial = kind == "radial" || kind == "ellipsoid" || kind == "square" || kind == "rectangular";
  const char* element = radial ? "radialGradient" : "linearGradient";
  CMSVGAttributes attributes;
  attributes.text("id", id);
  if (radial) {
    attributes.number("cx", style["draw:cx"] ? style["draw:cx"]->getDouble() : 0.5);
    attributes.number("cy", style["draw:cy"] ? style["draw:cy"]->getDouble() : 0.5);
    attributes.number("r", 0.5);
  } else {
    // The angle turns the axis, which runs from top to bottom at 0°, counter-clockwise about the shape's centre.
    attributes.number("x1", 0);
    attributes.number("y1", 0);
    attributes.number("x2", 0);
    attributes.number("y2", 1);
    if (const librevenge::RVNGProperty* angle = style["draw:angle"]) {
      std::string rotation = "rotate(";
      appendNumber(rotation, -angle->getDouble());
      rotation += " 0.5 0.5)";
      attributes.check(angle->getDouble());
      attributes.text("gradientTransform", rotation);
    }
  }
  bool valid = attributes.valid();
  std::string stops;
  const librevenge::RVNGPropertyListVector* list = style.child(radial ? "svg:radialGradient" : "svg:linearGradient");
  if (!list) list = style.child(radial ? "svg:linearGradient" : "svg:radialGradient");
  if (list && list->count() > 0) {
    for (unsigned long i = 0; i < list->count(); ++i) {
      const librevenge::RVNGPropertyList& stop = (*list)[i];
      const librevenge::RVNGProperty* offset = stop["svg:offset"];
      appendStop(stops, prefix, offset ? offset->getDouble() : 0, textOf(stop, "svg:stop-color"),
                 stop["svg:stop-opacity"], valid);
    }
  } else {
    appendStop(stops, prefix, 0, textOf(style, "draw:start-color"), style["draw:start-opacity"], valid);
    appendStop(stops, prefix, 1, textOf(style, "draw:end-color"), style["draw:end-opacity"], valid);
  }
  if (!valid) return {};
  return "<" + prefix + element + attributes.str() + ">\n" + stops + "</" + prefix + element + ">\n";
}

std::string dashArray(const librevenge::RVNGPropertyList& style, double strokeWidth, bool& valid) {
  std::string dashes;
  // A dash length given in percent is a share of the stroke's width.
  const auto lengthOf = [&](const char* key) {
    const librevenge::RVNGProperty* property = style[key];
    if (!property) return strokeWidth;
    if (property->getUnit() == librevenge::RVNG_PERCENT) return property->getDouble() * strokeWidth;
    return pointsOf(property).value_or(strokeWidth);
  };
  const double gap = lengthOf("draw:distance");
  for (const char* dots : {"draw:dots1", "draw:dots2"}) {
    const librevenge::RVNGProperty* count = style[dots];
    if (!count) continue;
    const double dash = lengthOf(dots == std::string_view("draw:dots1") ? "draw:dots1-length" : "draw:dots2-length");
    valid = valid && isWritableNumber(dash) && isWritableNumber(gap);
    // A count beyond reason describes no real dash pattern; a hundred keeps the text small.
    for (int i = 0; i < count->getInt() && i < 100; ++i) {
      if (!dashes.empty()) dashes += ',';
      appendNumber(dashes, dash);
      dashes += ',';
      appendNumber(dashes, gap);
    }
  }
  return dashes;
}

}  // namespace

void appendPaint(const librevenge::RVNGPropertyList& style, const std::string& prefix, int& gradientCounter,
                 CMSVGAttributes& attributes, std::string& definitions) {
  const std::string fill = textOf(style, "draw:fill");
  if (fill == "gradient") {
    const std::string id = "Gradient" + std::to_string(gradientCounter++);
    const std::string element = gradientElement(style, prefix, id);
    if (element.empty()) {
      attributes.check(std::numeric_limits<double>::quiet_NaN());
    } else {
      definitions += "<" + prefix + "defs>\n" + element + "</" + prefix + "defs>\n";
      attributes.text("fill", "url(#" + id + ")");
    }
  } else if (fill == "solid" || (fill.empty() && style["draw:fill-color"] && fill != "none")) {
    const std::string color = textOf(style, "draw:fill-color");
    attributes.text("fill", color.empty() ? "#000000" : color);
  } else {
    attributes.text("fill", "none");
  }
  if (fill != "none") appendFraction(attributes, "fill-opacity", style["draw:opacity"]);
  if (const std::string rule = textOf(style, "svg:fill-rule"); rule == "evenodd" || rule == "nonzero") {
    attributes.text("fill-rule", rule);
  }

  const std::string stroke = textOf(style, "draw:stroke");
  if (stroke == "none" || (stroke.empty() && !style["svg:stroke-color"] && !style["svg:stroke-width"])) {
    attributes.text("stroke", "none");
    return;
  }
  const std::string color = textOf(style, "svg:stroke-color");
  attributes.text("stroke", color.empty() ? "#000000" : color);
  const double width = pointsOf(style["svg:stroke-width"]).value_or(1);
  attributes.number("stroke-width", width);
  appendFraction(attributes, "stroke-opacity", style["svg:stroke-opacity"]);
  for (const char* key : {"svg:stroke-linecap", "svg:stroke-linejoin"}) {
    if (const std::string value = textOf(style, key); !value.empty()) attributes.text(key + 4, value);
  }
  if (stroke == "dash") {
    bool valid = true;
    const std::string dashes = dashArray(style, width, valid);
    if (!valid) attributes.check(std::numeric_limits<double>::quiet_NaN());
    if (!dashes.empty()) attributes.text("stroke-dasharray", dashes);
  }
}
