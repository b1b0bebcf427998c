#pragma once

// SVG transform lists ("translate(10 40) rotate(30, 5, 5)", "matrix(1,0,0,1,2,3)"): every kind SVG has, several in
// one text, read left to right. Names are matched in any letter case; an entry with a wrong number of arguments is
// skipped, and reading stops at text that is no entry.

#include <string_view>

#include "platform/graphics/affine_transform.h"

// Folds the entries into `transform`, each acting on points before what it holds already (an inner transform
// first); `found` is set when at least one entry was read.
void applySVGTransformList(std::string_view text, platform::AffineTransform& transform, bool& found);
