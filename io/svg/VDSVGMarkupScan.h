#pragma once

// A look at XML text before it is parsed: where the first start tag with more attributes, or more namespace
// declarations, than a bound stands. The XML reader checks every attribute of an element against all the others,
// and every namespace declaration against the others, which takes time that grows with their count squared, so such
// a tag is found ahead of it. Comments, CDATA sections, processing instructions and the quoted literals of
// declarations (an entity's text, a DOCTYPE's identifiers) are passed over: an entity's text is looked at when it is
// declared, as the reader has it then.

#include <cstddef>
#include <optional>
#include <string_view>

// The offset of the "<" of the first tag with more than `most` attributes or namespace declarations; nothing when
// there is none. `namespaces`, when given, tells which of the two it has too many of.
std::optional<std::size_t> SVGCrowdedTag(std::string_view text, std::size_t most, bool* namespaces = nullptr);

// The line, from 1, that the offset lies on.
int SVGLineAt(std::string_view text, std::size_t offset);
