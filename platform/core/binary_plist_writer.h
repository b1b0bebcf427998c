#pragma once

// Builds a binary property list ("bplist00") as an object table: append
// objects, get back their indices, refer to them from containers, then
// finish with the top object.
//
// Scalars are uniqued (each distinct string, number or UID is written once),
// which keeps keyed archives small. Containers are never uniqued.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/core/value.h"

namespace platform {

class BinaryPlistWriter {
 public:
  using Ref = std::uint64_t;
  struct Entry {
    Ref key;
    Ref value;
  };

  BinaryPlistWriter();

  Ref addBool(bool value);
  Ref addInteger(std::int64_t value);
  // A 32-bit real is written as a float32 object, keeping its width.
  Ref addReal(double value, bool real32);
  // ASCII text as an ASCII string object, anything else as UTF-16.
  Ref addString(std::string_view utf8);
  Ref addData(std::span<const std::uint8_t> bytes);
  Ref addUid(std::uint64_t uid);
  Ref addArray(std::span<const Ref> elements);
  Ref addDictionary(std::span<const Entry> entries);

  // The finished file. The writer is spent afterwards.
  Bytes finish(Ref top);

 private:
  struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };
  // Containers are written last, once the size of a reference is known.
  struct PendingContainer {
    Ref index;
    std::uint8_t type;
    std::uint64_t count;
    std::size_t firstReference;
    std::size_t referenceCount;
  };

  Ref beginScalar();
  void appendMarker(std::uint8_t type, std::uint64_t count);
  void appendBigEndian(std::uint64_t value, unsigned size);
  Ref beginContainer(std::uint8_t type, std::uint64_t count, std::size_t referenceCount);

  Bytes out_;
  std::vector<std::uint64_t> offsets_;  // by object index; containers' filled in by finish()
  std::vector<PendingContainer> containers_;
  std::vector<Ref> references_;
  Bytes utf16_;

  Ref false_ = kNone;
  Ref true_ = kNone;
  std::unordered_map<std::string, Ref, StringHash, std::equal_to<>> strings_;
  std::unordered_map<std::int64_t, Ref> integers_;
  std::unordered_map<std::uint64_t, Ref> reals64_;
  std::unordered_map<std::uint32_t, Ref> reals32_;
  std::vector<Ref> uids_;  // by UID value

  static constexpr Ref kNone = ~Ref{0};
  static constexpr std::uint64_t kDenseUidSlack = 1024;
};

}  // namespace platform
