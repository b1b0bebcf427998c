#pragma once

// SVG's own ways of naming a colour, turned into the "#rrggbb" text that the colour readers of the layer records
// take: the colour keywords in any letter case ("GreeN", "white") and the three-digit form ("#080" is "#008800").
// Any other text comes back as it was.

#include <string>
#include <string_view>

std::string SVGColorText(std::string_view value);
// The same without a leading "#", as the colour record readers take it.
std::string SVGColorDigits(std::string_view value);
