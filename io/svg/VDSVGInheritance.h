#pragma once

// What an element passes on to the elements it holds: the presentation attributes SVG inherits that the reader
// uses, over those it was given itself; "inherit" keeps the outer value, and a font size becomes a number of user
// units, a relative one taken of the outer size (SVGFontSize); an invalid one keeps the outer size. Places, sizes,
// shapes, opacity, "display" and unknown attributes stay with the element.

#include "platform/core/value.h"

// The attributes `own`'s members take: `outer` (what was passed to the element, null at the top) with `own`'s
// inherited attributes over it. Its "transform" is not among them.
platform::DictRef SVGInheritedAttributes(const platform::DictRef& outer, const platform::DictRef& own);

// Sets `key` of `result` from `own`'s value, resolving "inherit" and font sizes against `result`.
void setSVGAttribute(const platform::DictRef& result, std::string_view key, const platform::Value& own);
