#include "libplist_conversion.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

// libplist hands out malloc'ed copies of strings, keys and data.
struct MallocFree {
  void operator()(char* text) const noexcept { std::free(text); }
};
using MallocText = std::unique_ptr<char, MallocFree>;

}  // namespace

PlistNode plistFromValue(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Bool: return PlistNode(plist_new_bool(value.boolValue() ? 1 : 0));
    case Value::Kind::Integer: return PlistNode(plist_new_uint(static_cast<std::uint64_t>(value.integerValue())));
    case Value::Kind::Real: return PlistNode(plist_new_real(value.doubleValue()));
    case Value::Kind::String: return PlistNode(plist_new_string(value.string().c_str()));
    case Value::Kind::Data: {
      const Bytes& bytes = value.data();
      return PlistNode(plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    case Value::Kind::Array: {
      PlistNode array(plist_new_array());
      for (const Value& element : *value.array()) {
        if (PlistNode item = plistFromValue(element)) plist_array_append_item(array.get(), item.release());
      }
      return array;
    }
    case Value::Kind::Dictionary: {
      PlistNode dictionary(plist_new_dict());
      for (const auto& [key, element] : *value.dictionary()) {
        if (PlistNode item = plistFromValue(element)) {
          plist_dict_set_item(dictionary.get(), key.c_str(), item.release());
        }
      }
      return dictionary;
    }
    case Value::Kind::Nil:
    case Value::Kind::Object: break;
  }
  return nullptr;
}

Value valueFromPlist(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      std::uint8_t flag = 0;
      plist_get_bool_val(node, &flag);
      return flag != 0;
    }
    case PLIST_UINT: {
      std::uint64_t number = 0;
      plist_get_uint_val(node, &number);
      return static_cast<std::int64_t>(number);
    }
    case PLIST_REAL: {
      double number = 0;
      plist_get_real_val(node, &number);
      return number;
    }
    case PLIST_STRING: {
      char* text = nullptr;
      plist_get_string_val(node, &text);
      const MallocText owned(text);
      return std::string(text != nullptr ? text : "");
    }
    case PLIST_DATA: {
      char* bytes = nullptr;
      std::uint64_t length = 0;
      plist_get_data_val(node, &bytes, &length);
      const MallocText owned(bytes);
      return Value::data(bytes, length);
    }
    case PLIST_ARRAY: {
      auto array = Array::make();
      const std::uint32_t count = plist_array_get_size(node);
      for (std::uint32_t i = 0; i < count; ++i) array->add(valueFromPlist(plist_array_get_item(node, i)));
      return array;
    }
    case PLIST_DICT: {
      auto dictionary = Dictionary::make();
      plist_dict_iter iterator = nullptr;
      plist_dict_new_iter(node, &iterator);
      const MallocText ownedIterator(static_cast<char*>(iterator));
      for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iterator, &key, &item);
        const MallocText ownedKey(key);
        if (item == nullptr) break;
        dictionary->set(key, valueFromPlist(item));
      }
      return dictionary;
    }
    default: return Value();
  }
}

}  // namespace platform
