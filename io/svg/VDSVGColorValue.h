#pragma once

// A colour as SVG and CSS write it: keywords and "transparent", "#rgb", "#rgba", "#rrggbb" and "#rrggbbaa",
// "rgb()"/"rgba()" with whole numbers or fractions, or with percentages, commas or blanks, and "hsl()"/"hsla()",
// each with an optional alpha number, function names in any letter case. "currentColor" is the colour given for
// it. Components out of range are clamped; anything else is no colour.

#include <optional>
#include <string>
#include <string_view>

struct SVGColorValue {
  int red = 0;  // 0…255
  int green = 0;
  int blue = 0;
  double alpha = 1;  // 0…1
};

std::optional<SVGColorValue> SVGColorValueOf(std::string_view text, const SVGColorValue& currentColor = {});

// A paint's "url(#id)": the id, blanks and quotes around it dropped (empty for a paint that names none), and the
// paint after it, to be used when nothing has that id.
struct SVGPaintReference {
  std::string id;
  std::string fallback;
};
SVGPaintReference SVGPaintReferenceOf(std::string_view paint);
