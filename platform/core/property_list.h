#pragma once

// Property-list files, XML and binary ("bplist00").

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

enum class PropertyListFormat { Xml, Binary };

// Error codes in Error::cocoaDomain, numbered as Foundation numbers them.
inline constexpr std::int64_t kPropertyListReadCorruptError = 3840;
inline constexpr std::int64_t kPropertyListWriteInvalidError = 3852;

// Deepest nesting of arrays and dictionaries read or written. Real documents
// stay far below it; hostile files beyond it would exhaust the stack.
inline constexpr std::size_t kPropertyListDepthLimit = 512;

// Reads either format, chosen by the content. Bad input of any kind gives an
// error, never a partial value.
//
// Binary lists: a UID reads as the dictionary {"CF$UID": n}, as XML spells
// it; a date reads as a real (seconds since 2001); a null inside an array is
// skipped and inside a dictionary drops its key; UTF-16 strings with an
// unpaired surrogate read it as U+FFFD. XML lists: reals read as 64-bit;
// dates read as reals like binary ones.
Expected<Value> propertyListFromData(const Bytes& data);
// Whether the data can be a property list at all: the binary form's signature, or text whose first character,
// after blanks and a byte order mark, opens an XML tag. Anything else is some other kind of file.
bool mayBePropertyList(const Bytes& data);

// Fails for nil, Object values, containers nested deeper than the limit or
// containing themselves, and (XML only) strings containing NUL, which XML
// cannot carry. A dictionary {"CF$UID": n} (n an integer in 0..2^32-1) writes
// as a UID in binary lists, so keyed archives survive a trip through XML.
// Binary lists keep each real's width and write every distinct string once.
Expected<Bytes> dataFromPropertyList(const Value& value, PropertyListFormat format);

Expected<Value> readPropertyListFile(const std::filesystem::path& path);
Status writePropertyListFile(const std::filesystem::path& path, const Value& value, PropertyListFormat format);

}  // namespace platform
