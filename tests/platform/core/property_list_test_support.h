#pragma once

// Helpers for the property-list and keyed-archive tests: binary lists laid out
// by hand (independently of our writer), and a check of a value against what
// libplist reads.

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/value.h"

namespace platform::testing {

inline Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline void appendBigEndian(Bytes& out, std::uint64_t value, unsigned size) {
  for (unsigned k = size; k-- > 0;) out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

// A binary list from raw object bytes, with offsets and references of the
// given sizes. Fields of the trailer can be overridden to make broken files.
struct RawPlist {
  std::vector<Bytes> objects;
  std::uint64_t top = 0;
  unsigned offsetSize = 2;
  unsigned referenceSize = 1;

  Bytes bytes() const {
    Bytes out = bytesOf("bplist00");
    std::vector<std::uint64_t> offsets;
    for (const Bytes& object : objects) {
      offsets.push_back(out.size());
      out.insert(out.end(), object.begin(), object.end());
    }
    const std::uint64_t tableOffset = out.size();
    for (std::uint64_t offset : offsets) appendBigEndian(out, offset, offsetSize);
    out.insert(out.end(), 6, 0);
    out.push_back(static_cast<std::uint8_t>(offsetSize));
    out.push_back(static_cast<std::uint8_t>(referenceSize));
    appendBigEndian(out, objects.size(), 8);
    appendBigEndian(out, top, 8);
    appendBigEndian(out, tableOffset, 8);
    return out;
  }
};

// Trailer fields of a finished list, for corrupting them in place.
inline constexpr std::size_t kTrailerOffsetSize = 32 - 6;
inline constexpr std::size_t kTrailerReferenceSize = 32 - 7;
inline constexpr std::size_t kTrailerObjectCount = 32 - 8;
inline constexpr std::size_t kTrailerTopIndex = 32 - 16;
inline constexpr std::size_t kTrailerTableOffset = 32 - 24;

inline std::uint64_t readTrailerField(const Bytes& list, std::size_t fromEnd) {
  std::uint64_t v = 0;
  for (std::size_t k = 0; k < 8; ++k) v = (v << 8) | list[list.size() - fromEnd + k];
  return v;
}
inline void writeTrailerField(Bytes& list, std::size_t fromEnd, std::uint64_t value) {
  for (std::size_t k = 0; k < 8; ++k)
    list[list.size() - fromEnd + k] = static_cast<std::uint8_t>(value >> (8 * (7 - k)));
}

struct PlistFree {
  void operator()(void* node) const noexcept { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

inline PlistNode libplistFromBinary(const Bytes& bytes) {
  plist_t node = nullptr;
  plist_from_bin(reinterpret_cast<const char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()), &node);
  return PlistNode(node);
}

// Whether libplist's reading of a node matches a value: kinds, numbers,
// bytes, and dictionary keys in order.
inline ::testing::AssertionResult matchesLibplist(plist_t node, const Value& value, const std::string& path = "top") {
  auto mismatch = [&](const std::string& what) { return ::testing::AssertionFailure() << path << ": " << what; };
  if (!node) return mismatch("missing in libplist's reading");
  switch (value.kind()) {
    case Value::Kind::Bool: {
      if (plist_get_node_type(node) != PLIST_BOOLEAN) return mismatch("not a boolean");
      std::uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return (b != 0) == value.boolValue() ? ::testing::AssertionSuccess() : mismatch("boolean differs");
    }
    case Value::Kind::Integer: {
      if (plist_get_node_type(node) != PLIST_UINT) return mismatch("not an integer");
      std::uint64_t u = 0;
      plist_get_uint_val(node, &u);
      return u == static_cast<std::uint64_t>(value.integerValue()) ? ::testing::AssertionSuccess()
                                                                   : mismatch("integer differs");
    }
    case Value::Kind::Real: {
      if (plist_get_node_type(node) != PLIST_REAL) return mismatch("not a real");
      double d = 0;
      plist_get_real_val(node, &d);
      return d == value.doubleValue() ? ::testing::AssertionSuccess() : mismatch("real differs");
    }
    case Value::Kind::String: {
      if (plist_get_node_type(node) != PLIST_STRING) return mismatch("not a string");
      std::uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      return std::string(text, length) == value.string() ? ::testing::AssertionSuccess() : mismatch("string differs");
    }
    case Value::Kind::Data: {
      if (plist_get_node_type(node) != PLIST_DATA) return mismatch("not data");
      std::uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      const Bytes& expected = value.data();
      const bool same = length == expected.size() && (length == 0 || std::memcmp(bytes, expected.data(), length) == 0);
      return same ? ::testing::AssertionSuccess() : mismatch("data differs");
    }
    case Value::Kind::Array: {
      if (plist_get_node_type(node) != PLIST_ARRAY) return mismatch("not an array");
      const Array& array = *value.array();
      if (plist_array_get_size(node) != array.size()) return mismatch("array size differs");
      for (std::uint32_t i = 0; i < array.size(); ++i) {
        auto result = matchesLibplist(plist_array_get_item(node, i), array.at(i), path + "[" + std::to_string(i) + "]");
        if (!result) return result;
      }
      return ::testing::AssertionSuccess();
    }
    case Value::Kind::Dictionary: {
      if (plist_get_node_type(node) != PLIST_DICT) return mismatch("not a dictionary");
      const Dictionary& dictionary = *value.dictionary();
      if (plist_dict_get_size(node) != dictionary.size()) return mismatch("dictionary size differs");
      plist_dict_iter iterator = nullptr;
      plist_dict_new_iter(node, &iterator);
      ::testing::AssertionResult result = ::testing::AssertionSuccess();
      for (const auto& [key, expected] : dictionary) {
        char* rawKey = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iterator, &rawKey, &item);
        const std::string actualKey = rawKey ? rawKey : "";
        std::free(rawKey);
        if (actualKey != key) {
          result = mismatch("key \"" + actualKey + "\" where \"" + key + "\" was expected");
          break;
        }
        result = matchesLibplist(item, expected, path + "." + key);
        if (!result) break;
      }
      std::free(iterator);
      return result;
    }
    default: return mismatch("a value kind with no property-list form");
  }
}

}  // namespace platform::testing
