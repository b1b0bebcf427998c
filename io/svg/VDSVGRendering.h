#pragma once

// Whether SVG renders an element, from its own prepared attributes: "display" none hides it and all it holds;
// "visibility" hidden or collapse hides the element itself (it is inherited, and a member may say visible); the
// conditional attributes "requiredFeatures", "requiredExtensions" and "systemLanguage" hold as SVG 1.1 evaluates
// them for a reader of static drawings: features of structure, shapes, text, painting and gradients are supported,
// no extension is, and the languages are the user's (the program's own English in the C locale).

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/value.h"

bool SVGDisplayed(const platform::DictRef& attributes);
bool SVGVisible(const platform::DictRef& attributes);
bool SVGConditionsHold(const platform::DictRef& attributes);

// The user's languages as language tags, lower case ("de-ch", "de"), most wanted first.
std::vector<std::string> SVGUserLanguages();
