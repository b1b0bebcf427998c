#pragma once

// The listing the engine's descriptions use: "[", then for a non-empty list "\n"
// and one "\t<index>\t=\t<item>\n" line per item, then "]".

#include <string>
#include <vector>

std::string PBListDescription(const std::vector<std::string>& items);
