#pragma once

// SVG text in UTF-8, whatever encoding the file is in, so that what is looked at before parsing is what libxml2
// parses. The encoding is found as XML finds it: from the first bytes (UTF-16 and UCS-4, with or without a byte
// order mark, UTF-8 with one, and EBCDIC), else from the XML declaration's "encoding"; text in any other encoding
// than UTF-8 is converted. Conversion stops at the first byte that is no character of the encoding, where the XML
// then breaks.

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/value.h"

// The data itself when it is in UTF-8, else its conversion, kept in `converted`; nothing, and `error` set, when the
// file names an encoding the system cannot convert.
std::optional<std::string_view> SVGTextInUTF8(const platform::Bytes& data, std::string& converted,
                                              std::string& error);
