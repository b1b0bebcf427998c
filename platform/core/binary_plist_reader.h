#pragma once

// The object table of a binary property list ("bplist00"), read in place.
//
// Nothing is decoded up front: callers walk the table by index, so the keyed
// archive reader can pick out what it needs without first building the whole
// file as a value tree. Every access is bounds-checked against the file.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

enum class BinaryObjectKind : std::uint8_t {
  Null,
  Bool,
  Integer,
  Real,
  Date,
  Data,
  AsciiString,
  Utf16String,
  Uid,
  Array,
  Dictionary
};

struct BinaryObject {
  BinaryObjectKind kind = BinaryObjectKind::Null;
  bool boolean = false;
  bool real32 = false;
  std::int64_t integer = 0;
  std::uint64_t uid = 0;
  double real = 0;  // also the seconds of a date
  // Bytes of data and ASCII strings, UTF-16 units, array elements or dictionary entries.
  std::uint64_t count = 0;
  // The bytes of data or a string, or the references of a container.
  std::span<const std::uint8_t> payload;

  bool isString() const noexcept {
    return kind == BinaryObjectKind::AsciiString || kind == BinaryObjectKind::Utf16String;
  }
  bool isContainer() const noexcept { return kind == BinaryObjectKind::Array || kind == BinaryObjectKind::Dictionary; }
};

class BinaryPlistReader {
 public:
  // Checks the header, the trailer and every entry of the offset table. The
  // bytes must outlive the reader.
  static Expected<BinaryPlistReader> open(std::span<const std::uint8_t> bytes);

  std::uint64_t objectCount() const noexcept { return objectCount_; }
  std::uint64_t topIndex() const noexcept { return topIndex_; }

  // Parses one object; its lengths and references are checked, so the
  // accessors below cannot read out of bounds.
  Expected<BinaryObject> object(std::uint64_t index) const;

  // The value of a UID object, read without the general parse: archives are
  // mostly UIDs. Any other object is an error.
  Expected<std::uint64_t> uid(std::uint64_t index) const;

  std::uint64_t element(const BinaryObject& array, std::uint64_t i) const noexcept { return reference(array, i); }
  std::uint64_t key(const BinaryObject& dictionary, std::uint64_t i) const noexcept { return reference(dictionary, i); }
  std::uint64_t value(const BinaryObject& dictionary, std::uint64_t i) const noexcept {
    return reference(dictionary, dictionary.count + i);
  }

 private:
  BinaryPlistReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t reference(const BinaryObject& container, std::uint64_t i) const noexcept;
  std::uint64_t offsetOf(std::uint64_t index) const noexcept;

  std::span<const std::uint8_t> bytes_;
  std::uint64_t objectCount_ = 0;
  std::uint64_t topIndex_ = 0;
  std::uint64_t offsetTableOffset_ = 0;
  unsigned offsetSize_ = 0;
  unsigned referenceSize_ = 0;
};

// Whether the bytes start like a binary property list.
bool isBinaryPropertyList(std::span<const std::uint8_t> bytes) noexcept;

// The UTF-8 text of a string object.
std::string stringOf(const BinaryObject& string);
// Whether a string object holds exactly this UTF-8 text; ASCII strings compare in place.
bool stringEquals(const BinaryObject& string, std::string_view text);
// The value of a boolean, number, date, string or data object; nil for the others.
Value scalarValue(const BinaryObject& object);

}  // namespace platform
