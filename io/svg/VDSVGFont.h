#pragma once

// The font an SVG text asks for, as a name the text style record holds. The family is the one the system's font
// matching draws for "font-family" as a whole (as rsvg-convert and Inkscape draw it), at the face nearest to
// "font-weight" and "font-style": an installed family (or a generic one, such as "sans-serif") is named as the font
// pop-up names its faces ("DejaVuSans-Bold"); a family that is not installed but stands for one the system matches
// to it ("Times New Roman" for a metric-compatible serif) is kept as the file names it, with style words after a
// "-" unless regular ("Times New Roman-Bold"), so that a machine that has it draws it and the SVG writer writes it
// back. Nothing when the text names no family and asks for the regular face.

#include <optional>
#include <string>

#include "platform/core/value.h"

std::optional<std::string> SVGFontName(const platform::DictRef& attributes);
