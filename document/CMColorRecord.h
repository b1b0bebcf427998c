#pragma once

// Colour records {"r", "g", "b", "a"}: components from 0 to 255, kept as floats
// (the panels store 0.5 as 127.5). A missing key reads as 0, so a record without
// "a" is fully transparent, which the document background relies on.

#include <string_view>

#include "platform/core/value.h"
#include "platform/graphics/color.h"

// Each component / 255, alpha from "a". A null record gives transparent black.
platform::Color colorWithDictionary(const platform::DictRef& record);
// Red, green and blue from the record, alpha as given; the record's "a" is not read.
platform::Color colorWithDictionary(const platform::DictRef& record, float alpha);

// A new colour record {"r", "g", "b", "a"} of integers from CSS-style text: "rgb(r, g, b)" anywhere in it (the part
// between the first "(" and the first ")", exactly three numbers, each truncated and kept to its low 8 bits, so 256
// gives 0 and -1 gives 255; anything else gives 0, 0, 0), or else a hexadecimal number (see scanHexNumber; no "#").
// "a" is alpha × 255 in single precision, truncated into 0…255 (NaN gives 0).
platform::DictRef dictionaryFromHexRGB(std::string_view text, float alpha);
