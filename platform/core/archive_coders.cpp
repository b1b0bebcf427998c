#include "platform/core/archive_coders.h"

#include "platform/core/keyed_archive_errors.h"

namespace platform {
namespace {

constexpr std::string_view kKeys = "NS.keys";
constexpr std::string_view kObjects = "NS.objects";

class DictionaryCoder final : public ClassCoder {
 public:
  std::vector<std::string> decodedClassNames() const override { return {"NSMutableDictionary", "NSDictionary"}; }
  std::vector<std::string> classChain() const override {
    return {std::string(kDictionaryClassName), "NSDictionary", "NSObject"};
  }

  void encode(const Value& value, KeyedEncoder& encoder) const override {
    const Dictionary& dictionary = *value.dictionary();
    std::vector<ArchiveUid> keys;
    std::vector<ArchiveUid> objects;
    keys.reserve(dictionary.size());
    objects.reserve(dictionary.size());
    for (const auto& [key, object] : dictionary) {
      keys.push_back(encoder.encodeString(key));
      objects.push_back(encoder.encodeObject(object));
    }
    encoder.encodeReferences(kKeys, keys);
    encoder.encodeReferences(kObjects, objects);
  }

  Expected<Value> decode(KeyedDecoder& decoder) const override {
    auto keys = decoder.decodeObjects(kKeys);
    if (!keys) return keys.error();
    auto objects = decoder.decodeObjects(kObjects);
    if (!objects) return objects.error();
    if (keys.value().size() != objects.value().size())
      return archiveError("a dictionary has unequal key and object counts");
    std::vector<std::string_view> names;
    names.reserve(keys.value().size());
    for (const Value& key : keys.value()) {
      if (!key.isString()) return archiveError("a dictionary key is not a string");
      names.push_back(key.string());
    }
    return Value(Dictionary::make(names, std::move(objects.value())));
  }
};

class ArrayCoder final : public ClassCoder {
 public:
  std::vector<std::string> decodedClassNames() const override { return {"NSMutableArray", "NSArray"}; }
  std::vector<std::string> classChain() const override { return {std::string(kArrayClassName), "NSArray", "NSObject"}; }

  void encode(const Value& value, KeyedEncoder& encoder) const override {
    const Array& array = *value.array();
    std::vector<ArchiveUid> objects;
    objects.reserve(array.size());
    for (const Value& object : array) objects.push_back(encoder.encodeObject(object));
    encoder.encodeReferences(kObjects, objects);
  }

  Expected<Value> decode(KeyedDecoder& decoder) const override {
    auto objects = decoder.decodeObjects(kObjects);
    if (!objects) return objects.error();
    std::vector<Value>& elements = objects.value();
    std::erase_if(elements, [](const Value& element) { return element.isNil(); });
    return Value(Array::make(std::move(elements)));
  }
};

// Reads {"NS.<name>": value} wrappers whose value must be of one kind.
class WrapperDecoder final : public ClassDecoder {
 public:
  WrapperDecoder(std::vector<std::string> classNames, std::string key, Value::Kind kind)
      : classNames_(std::move(classNames)), key_(std::move(key)), kind_(kind) {}

  std::vector<std::string> decodedClassNames() const override { return classNames_; }

  Expected<Value> decode(KeyedDecoder& decoder) const override {
    auto value = decoder.decode(key_);
    if (!value) return value;
    if (value.value().kind() != kind_) return archiveError(classNames_.front() + " holds a value of the wrong kind");
    return value;
  }

 private:
  std::vector<std::string> classNames_;
  std::string key_;
  Value::Kind kind_;
};

}  // namespace

ClassCoderTable propertyListClassCoders() {
  ClassCoderTable table;
  table.add(std::shared_ptr<const ClassCoder>(std::make_shared<DictionaryCoder>()));
  table.add(std::shared_ptr<const ClassCoder>(std::make_shared<ArrayCoder>()));
  table.add(std::shared_ptr<const ClassDecoder>(std::make_shared<WrapperDecoder>(
      std::vector<std::string>{"NSMutableString", "NSString"}, "NS.string", Value::Kind::String)));
  table.add(std::shared_ptr<const ClassDecoder>(std::make_shared<WrapperDecoder>(
      std::vector<std::string>{"NSMutableData", "NSData"}, "NS.data", Value::Kind::Data)));
  return table;
}

}  // namespace platform
