#pragma once

// Localized texts (NSLocalizedStringFromTable): the resource
// "<table>.strings.plist", a dictionary from the text's key to the text shown.
// A key the table lacks, or a table that is missing, shows as the key itself.

#include <string>
#include <string_view>

namespace platform {

inline constexpr std::string_view kDefaultStringsTable = "Localizable";

std::string localizedString(std::string_view key, std::string_view table = kDefaultStringsTable);

}  // namespace platform
