#pragma once

// Six-digit hexadecimal colour strings, as the SVG reader and writer use them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/graphics/color.h"

// The hexadecimal number at the start of the text: leading white space is skipped, an optional 0x or 0X
// accepted, and the scan stops at the first character that is not a hexadecimal digit; nothing scanned gives 0,
// a number past 32 bits 0xFFFFFFFF.
std::uint32_t scanHexNumber(std::string_view text);

// An opaque colour from a hexadecimal number at the start of the text: leading white space
// is skipped, an optional 0x or 0X accepted, and the scan stops at the first character that
// is not a hexadecimal digit. Red is bits 16–23, green 8–15, blue 0–7. Nothing scanned (a
// leading "#", say) or no text at all gives black; a number past 32 bits reads as 0xFFFFFFFF.
platform::Color colorFromHexRGB(std::optional<std::string_view> text);

// "#rrggbb" in lowercase, each component × 255.99998474121094 truncated; alpha is dropped.
// nullopt for a colour with no RGB components (a pattern).
std::optional<std::string> hexRGBFromColor(const platform::Color& color);
