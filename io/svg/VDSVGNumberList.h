#pragma once

// Lists of numbers as SVG writes them in "points" and transform arguments: separated by blanks, line ends and
// commas ("0,0 10,0", "10 40", "1, 2,3"), read up to the first thing that is not a number.

#include <string_view>
#include <vector>

std::vector<double> SVGNumberList(std::string_view text);
