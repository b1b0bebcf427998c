#pragma once

// The font an SVG text asks for, as a name the text style record holds: the first family of "font-family" that is
// installed (generic families such as "sans-serif" stand for the one fontconfig gives them), in the face nearest to
// "font-weight" and "font-style", named as the font pop-up names faces ("DejaVuSans-Bold"). A text that asks for a
// weight or slant in families none of which is installed takes the face of the desktop's sans-serif; a regular one
// keeps the first family's name, for a machine that has it. Nothing when the text names no family and asks for the
// regular face.

#include <optional>
#include <string>

#include "platform/core/value.h"

std::optional<std::string> SVGFontName(const platform::DictRef& attributes);
