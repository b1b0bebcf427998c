#pragma once

// A look at XML text before it is parsed: where the first start tag with more attributes than a bound stands. The
// XML reader checks every attribute of an element against all the others, which takes time that grows with their
// count squared, so such a tag is found ahead of it. Comments, CDATA sections and processing instructions are passed
// over; tags inside an entity's text count as tags.

#include <cstddef>
#include <optional>
#include <string_view>

// The offset of the "<" of the first tag with more than `most` attributes; nothing when there is none.
std::optional<std::size_t> SVGCrowdedTag(std::string_view text, std::size_t most);

// The line, from 1, that the offset lies on.
int SVGLineAt(std::string_view text, std::size_t offset);
