#pragma once

// Colour records {"r", "g", "b", "a"}: components from 0 to 255, kept as floats
// (the panels store 0.5 as 127.5). A missing key reads as 0, so a record without
// "a" is fully transparent, which the document background relies on.

#include "platform/core/value.h"
#include "platform/graphics/color.h"

// Each component / 255, alpha from "a". A null record gives transparent black.
platform::Color colorWithDictionary(const platform::DictRef& record);
// Red, green and blue from the record, alpha as given; the record's "a" is not read.
platform::Color colorWithDictionary(const platform::DictRef& record, float alpha);
