#pragma once

// SVG lengths: a number with an optional unit ("px", "mm", "cm", "in", "pt", "pc", "em", "ex" or "%", in any letter
// case), in user units of 1/96 inch. A percentage is of the given base, "em" and "ex" of the font size; a length
// with any other unit is an error, as SVG 1.1 has it.

#include <optional>
#include <string_view>
#include <vector>

struct SVGLengthBasis {
  double percentBase = 0;  // what 100 % is
  double fontSize = 16;
};

// Nothing when the text does not start with a length.
std::optional<double> SVGLength(std::string_view text, const SVGLengthBasis& basis);
// Lengths separated by blanks and commas ("5mm, 1em 2"), read up to the first that is none.
std::vector<double> SVGLengthList(std::string_view text, const SVGLengthBasis& basis);
