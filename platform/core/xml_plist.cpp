#include "platform/core/xml_plist.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/core/property_list_errors.h"
#include "platform/core/property_list_text.h"

namespace platform {
namespace {

struct PlistFree {
  void operator()(void* node) const noexcept { plist_free(node); }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

struct CFree {
  void operator()(void* p) const noexcept { std::free(p); }
};

Error xmlError(std::string_view what) { return propertyListReadError("XML", what); }

// libplist parses and frees recursively and overflows the stack on input
// nested about a million deep. This scan over the tags rejects deep nesting
// before libplist sees it; tags inside comments or CDATA are counted too,
// which can only make it stricter.
bool nestedTooDeeply(std::string_view text) {
  std::size_t depth = 0;
  std::size_t end = 0;  // the first '>' after the current tag's '<'; reused so the scan stays linear
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    std::string_view tag = text.substr(at + 1);
    const bool closing = tag.starts_with('/');
    if (closing) tag.remove_prefix(1);
    const std::size_t nameLength = tag.starts_with("array") ? 5 : tag.starts_with("dict") ? 4 : 0;
    if (nameLength == 0 || tag.size() <= nameLength) continue;
    const char after = tag[nameLength];
    if (after != '>' && after != '/' && after != ' ' && after != '\t' && after != '\r' && after != '\n') continue;
    if (end <= at) end = text.find('>', at);
    if (end == std::string_view::npos) break;
    if (closing) {
      if (depth > 0) --depth;
    } else if (text[end - 1] != '/' && ++depth > kPropertyListDepthLimit) {
      return true;
    }
  }
  return false;
}

Expected<Value> readArray(plist_t node, std::size_t depth);
Expected<Value> readDictionary(plist_t node, std::size_t depth);

Expected<Value> readNode(plist_t node, std::size_t depth) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      std::uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return Value(b != 0);
    }
    case PLIST_UINT: {
      // libplist keeps negative integers as their two's complement.
      std::uint64_t u = 0;
      plist_get_uint_val(node, &u);
      return Value(static_cast<std::int64_t>(u));
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return Value(d);
    }
    case PLIST_DATE: {
      std::int32_t seconds = 0;
      std::int32_t microseconds = 0;
      plist_get_date_val(node, &seconds, &microseconds);
      return Value(seconds + microseconds / 1e6);
    }
    case PLIST_STRING: {
      std::uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      return Value(wellFormedUtf8(std::string_view(text, length)));
    }
    case PLIST_DATA: {
      std::uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      return Value::data(bytes, length);
    }
    case PLIST_UID: {
      std::uint64_t uid = 0;
      plist_get_uid_val(node, &uid);
      return Value(Dictionary::make({{"CF$UID", Value(uid)}}));
    }
    case PLIST_ARRAY: return readArray(node, depth);
    case PLIST_DICT: return readDictionary(node, depth);
    default: return xmlError("an element of unknown type");
  }
}

Expected<Value> readArray(plist_t node, std::size_t depth) {
  if (depth >= kPropertyListDepthLimit) return xmlError("containers are nested too deeply");
  std::vector<Value> elements;
  elements.reserve(plist_array_get_size(node));
  plist_array_iter rawIterator = nullptr;
  plist_array_new_iter(node, &rawIterator);
  std::unique_ptr<void, CFree> iterator(rawIterator);
  while (true) {
    plist_t item = nullptr;
    plist_array_next_item(node, iterator.get(), &item);
    if (!item) break;
    auto element = readNode(item, depth + 1);
    if (!element) return element;
    elements.push_back(std::move(element.value()));
  }
  return Value(Array::make(std::move(elements)));
}

Expected<Value> readDictionary(plist_t node, std::size_t depth) {
  if (depth >= kPropertyListDepthLimit) return xmlError("containers are nested too deeply");
  DictRef dictionary = Dictionary::make();
  plist_dict_iter rawIterator = nullptr;
  plist_dict_new_iter(node, &rawIterator);
  std::unique_ptr<void, CFree> iterator(rawIterator);
  while (true) {
    char* rawKey = nullptr;
    plist_t item = nullptr;
    plist_dict_next_item(node, iterator.get(), &rawKey, &item);
    std::unique_ptr<char, CFree> key(rawKey);
    if (!item) break;
    auto value = readNode(item, depth + 1);
    if (!value) return value;
    dictionary->set(wellFormedUtf8(key ? key.get() : ""), std::move(value.value()));
  }
  return Value(std::move(dictionary));
}

// Checks a tree before it is written: no container may contain itself or be
// nested too deeply, and since XML writes a shared container out once per
// use, the expanded tree must stay within a budget: a small tree of heavily
// shared containers could otherwise expand without bound.
class TreeMeasure {
 public:
  static constexpr std::size_t kElementBudget = std::size_t{1} << 22;

  // The number of elements the tree expands to, at most kElementBudget + 1.
  Expected<std::size_t> elements(const Value& value, std::size_t depth) {
    if (!value.isArray() && !value.isDictionary()) return std::size_t{1};
    const void* identity = value.isArray() ? static_cast<const void*>(value.array().get()) : value.dictionary().get();
    auto [it, inserted] = sizes_.try_emplace(identity, kOpen);
    if (!inserted) {
      if (it->second == kOpen) return propertyListWriteError("a container contains itself");
      return it->second;
    }
    if (depth >= kPropertyListDepthLimit) return propertyListWriteError("containers are nested too deeply");
    std::size_t total = 1;
    auto add = [&](const Value& child) -> Status {
      auto size = elements(child, depth + 1);
      if (!size) return size.error();
      total = std::min(kElementBudget + 1, total + size.value());
      return success();
    };
    if (value.isArray()) {
      for (const Value& element : *value.array()) {
        if (auto added = add(element); !added) return added.error();
      }
    } else {
      for (const auto& entry : *value.dictionary()) {
        if (auto added = add(entry.second); !added) return added.error();
      }
    }
    // The map may have grown while measuring the children.
    sizes_[identity] = total;
    return total;
  }

 private:
  static constexpr std::size_t kOpen = ~std::size_t{0};
  std::unordered_map<const void*, std::size_t> sizes_;
};

// Builds libplist's tree for a value that passed TreeMeasure.
Expected<PlistNode> writeNode(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Nil: return propertyListWriteError("nil has no property-list form");
    case Value::Kind::Object:
      return propertyListWriteError("an object of class " + std::string(value.object()->className()));
    case Value::Kind::Bool: return PlistNode(plist_new_bool(value.boolValue()));
    case Value::Kind::Integer: return PlistNode(plist_new_uint(static_cast<std::uint64_t>(value.integerValue())));
    case Value::Kind::Real: return PlistNode(plist_new_real(value.doubleValue()));
    case Value::Kind::String: {
      if (value.string().find('\0') != std::string::npos) return propertyListWriteError("a string holds a NUL");
      return PlistNode(plist_new_string(value.string().c_str()));
    }
    case Value::Kind::Data: {
      static const char empty = 0;
      const Bytes& bytes = value.data();
      const char* start = bytes.empty() ? &empty : reinterpret_cast<const char*>(bytes.data());
      return PlistNode(plist_new_data(start, bytes.size()));
    }
    case Value::Kind::Array: {
      PlistNode node(plist_new_array());
      for (const Value& element : *value.array()) {
        auto child = writeNode(element);
        if (!child) return child;
        plist_array_append_item(node.get(), child.value().release());
      }
      return node;
    }
    case Value::Kind::Dictionary: {
      PlistNode node(plist_new_dict());
      for (const auto& [key, element] : *value.dictionary()) {
        if (key.find('\0') != std::string::npos) return propertyListWriteError("a key holds a NUL");
        auto child = writeNode(element);
        if (!child) return child;
        plist_dict_set_item(node.get(), key.c_str(), child.value().release());
      }
      return node;
    }
  }
  return propertyListWriteError("an unknown kind of value");
}

}  // namespace

Expected<Value> valueFromXmlPropertyList(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) return xmlError("the file is too large");
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (nestedTooDeeply(text)) return xmlError("containers are nested too deeply");
  plist_t raw = nullptr;
  plist_from_xml(text.data(), static_cast<std::uint32_t>(text.size()), &raw);
  PlistNode root(raw);
  if (!root) return xmlError("the text is not a well-formed property list");
  return readNode(root.get(), 0);
}

Expected<Bytes> xmlPropertyListFromValue(const Value& value) {
  auto elements = TreeMeasure().elements(value, 0);
  if (!elements) return elements.error();
  if (elements.value() > TreeMeasure::kElementBudget) return propertyListWriteError("too many elements for XML");
  auto root = writeNode(value);
  if (!root) return root.error();
  char* raw = nullptr;
  std::uint32_t length = 0;
  plist_to_xml(root.value().get(), &raw, &length);
  if (!raw) return propertyListWriteError("libplist produced no XML");
  Bytes xml(raw, raw + length);
  plist_to_xml_free(raw);
  return xml;
}

}  // namespace platform
