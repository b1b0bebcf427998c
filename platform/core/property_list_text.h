#pragma once

// Text in property lists: our strings are UTF-8; binary lists hold ASCII or
// UTF-16 big-endian, and XML text read by libplist is not checked for
// well-formed UTF-8. Malformed text becomes U+FFFD rather than failing the
// whole file: one damaged name should not cost the user the document.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/value.h"

namespace platform {

bool isAscii(std::string_view text) noexcept;

// Appends the UTF-8 form of UTF-16BE text; an unpaired surrogate becomes U+FFFD.
void appendUtf8FromUtf16BigEndian(std::span<const std::uint8_t> utf16, std::string& out);

// The text with each malformed UTF-8 sequence replaced by U+FFFD.
std::string wellFormedUtf8(std::string_view text);

// Appends UTF-16BE units for UTF-8 text; malformed UTF-8 becomes U+FFFD.
// Returns the number of UTF-16 units written.
std::size_t appendUtf16BigEndianFromUtf8(std::string_view utf8, Bytes& out);

}  // namespace platform
