#pragma once

// Text placed inside XML content or a double-quoted attribute: markup characters escaped, and what XML 1.0 cannot
// hold at all (control characters other than tab and line ends, U+FFFE, U+FFFF, bytes that are not UTF-8) dropped,
// so that the file always parses.

#include <string>
#include <string_view>

namespace platform {

void appendXMLText(std::string& out, std::string_view text);

}  // namespace platform
