#pragma once

// Points, sizes and rectangles as they are stored inside records:
// "{x, y}", "{w, h}" and "{{x, y}, {w, h}}". Written to read back exactly;
// read leniently: the first two or four numbers anywhere in the string count
// and missing ones are 0.

#include <string>
#include <string_view>

#include "platform/core/geometry.h"

namespace platform {

std::string stringFromPoint(Point point);
std::string stringFromSize(Size size);
std::string stringFromRect(const Rect& rect);

Point pointFromString(std::string_view text);
Size sizeFromString(std::string_view text);
Rect rectFromString(std::string_view text);

}  // namespace platform
