#pragma once

// SVG lengths: a number with an optional unit ("px", "mm", "cm", "in", "pt", "pc", "em", "ex" or "%", in any letter
// case), in user units of 1/96 inch. A percentage is of the given base, "em" and "ex" of the font size; a length
// with any other unit is an error, as SVG 1.1 has it.

#include <optional>
#include <string_view>
#include <vector>

// The size SVG readers give a text that names none (rsvg-convert and Inkscape draw 12), which "em" is then taken of.
inline constexpr double kSVGInitialFontSize = 12;

struct SVGLengthBasis {
  double percentBase = 0;  // what 100 % is
  double fontSize = kSVGInitialFontSize;
};

// Nothing when the text does not start with a length.
std::optional<double> SVGLength(std::string_view text, const SVGLengthBasis& basis);
// Lengths separated by blanks and commas ("5mm, 1em 2"), read up to the first that is none.
std::vector<double> SVGLengthList(std::string_view text, const SVGLengthBasis& basis);
// A "font-size" in user units: a length, a percentage or "em" of the size inherited, the keywords of CSS ("medium" is
// 16, each step from it 1.2 times larger or smaller) and "larger" or "smaller", 1.2 times the size inherited or a 1.2th
// of it, within the sizes a font is drawn at (SVGClampedFontSize). Nothing for what is none of these or is not
// positive: an invalid value.
std::optional<double> SVGFontSize(std::string_view text, double inherited);
// A positive size within the smallest and the largest a font is drawn at, the same at both ends: 1e39 and 1e300 are
// the largest, 0.5em of 0.5em two hundred deep the smallest.
double SVGClampedFontSize(double size);
