#pragma once

// An SVG opacity ("opacity", "fill-opacity", "stroke-opacity"): a number or a percentage ("50%"), clamped to 0…1.

#include <string_view>

float SVGOpacity(std::string_view text);
