#include "platform/core/binary_plist_values.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/binary_plist_reader.h"
#include "platform/core/binary_plist_writer.h"
#include "platform/core/property_list_errors.h"

namespace platform {
namespace {

constexpr std::string_view kUidKey = "CF$UID";

// Decodes objects by index, each once: an object referenced from several
// places (uniqued strings, shared containers) becomes one shared value, and
// a reference back to an object still being decoded is a cycle.
class TreeReader {
 public:
  explicit TreeReader(const BinaryPlistReader& reader)
      : reader_(reader), values_(reader.objectCount()), states_(reader.objectCount(), State::Unread) {}

  Expected<Value> read(std::uint64_t index, std::size_t depth) {
    if (states_[index] == State::Done) return values_[index];
    if (states_[index] == State::Open) return error("a container contains itself");
    auto object = reader_.object(index);
    if (!object) return object.error();
    Value value;
    if (object.value().isContainer()) {
      if (depth >= kPropertyListDepthLimit) return error("containers are nested too deeply");
      states_[index] = State::Open;
      auto container = object.value().kind == BinaryObjectKind::Array ? readArray(object.value(), depth + 1)
                                                                      : readDictionary(object.value(), depth + 1);
      if (!container) return container;
      value = std::move(container.value());
    } else if (object.value().kind == BinaryObjectKind::Uid) {
      value = Dictionary::make({{kUidKey, Value(object.value().uid)}});
    } else {
      value = scalarValue(object.value());
    }
    states_[index] = State::Done;
    values_[index] = value;
    return value;
  }

 private:
  enum class State : std::uint8_t { Unread, Open, Done };

  static Error error(std::string_view what) { return propertyListReadError("binary", what); }

  Expected<Value> readArray(const BinaryObject& array, std::size_t depth) {
    std::vector<Value> elements;
    elements.reserve(array.count);
    for (std::uint64_t i = 0; i < array.count; ++i) {
      auto element = read(reader_.element(array, i), depth);
      if (!element) return element;
      if (!element.value().isNil()) elements.push_back(std::move(element.value()));
    }
    return Value(Array::make(std::move(elements)));
  }

  Expected<Value> readDictionary(const BinaryObject& dictionary, std::size_t depth) {
    // The count was checked against the file's size, so this cannot be absurd.
    const auto count = static_cast<std::size_t>(dictionary.count);
    std::vector<Value> keys;
    std::vector<Value> values;
    keys.reserve(count);
    values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      auto key = read(reader_.key(dictionary, i), depth);
      if (!key) return key;
      if (!key.value().isString()) return error("a dictionary key is not a string");
      auto value = read(reader_.value(dictionary, i), depth);
      if (!value) return value;
      keys.push_back(std::move(key.value()));
      values.push_back(std::move(value.value()));
    }
    std::vector<std::string_view> names;
    names.reserve(count);
    for (const Value& key : keys) names.push_back(key.string());
    return Value(Dictionary::make(names, std::move(values)));
  }

  const BinaryPlistReader& reader_;
  std::vector<Value> values_;
  std::vector<State> states_;
};

// Writes each container instance once, so shared structure stays shared.
class TreeWriter {
 public:
  Expected<BinaryPlistWriter::Ref> write(const Value& value, std::size_t depth) {
    switch (value.kind()) {
      case Value::Kind::Nil: return propertyListWriteError("nil has no property-list form");
      case Value::Kind::Object: return propertyListWriteError("an object of class " + objectClass(value));
      case Value::Kind::Bool: return writer_.addBool(value.boolValue());
      case Value::Kind::Integer: return writer_.addInteger(value.integerValue());
      case Value::Kind::Real: return writer_.addReal(value.doubleValue(), value.isReal32());
      case Value::Kind::String: return writer_.addString(value.string());
      case Value::Kind::Data: return writer_.addData(value.data());
      case Value::Kind::Array:
      case Value::Kind::Dictionary: return writeContainer(value, depth);
    }
    return propertyListWriteError("an unknown kind of value");
  }

  Bytes finish(BinaryPlistWriter::Ref top) { return writer_.finish(top); }

 private:
  static constexpr BinaryPlistWriter::Ref kOpen = ~BinaryPlistWriter::Ref{0};

  static std::string objectClass(const Value& value) { return std::string(value.object()->className()); }

  // {"CF$UID": n} is how XML spells a UID; binary lists have the real thing.
  static const Value* uidNumber(const Dictionary& dictionary) {
    if (dictionary.size() != 1) return nullptr;
    const Value* number = dictionary.find(kUidKey);
    if (!number || !number->isInteger() || number->integerValue() < 0 || number->integerValue() > 0xFFFFFFFF) {
      return nullptr;
    }
    return number;
  }

  Expected<BinaryPlistWriter::Ref> writeContainer(const Value& value, std::size_t depth) {
    const void* identity = value.isArray() ? static_cast<const void*>(value.array().get()) : value.dictionary().get();
    auto [it, inserted] = written_.try_emplace(identity, kOpen);
    if (!inserted) {
      if (it->second == kOpen) return propertyListWriteError("a container contains itself");
      return it->second;
    }
    if (depth >= kPropertyListDepthLimit) return propertyListWriteError("containers are nested too deeply");
    auto ref =
        value.isArray() ? writeArray(*value.array(), depth + 1) : writeDictionary(*value.dictionary(), depth + 1);
    if (!ref) return ref;
    // The map may have grown while writing the children.
    written_[identity] = ref.value();
    return ref;
  }

  Expected<BinaryPlistWriter::Ref> writeArray(const Array& array, std::size_t depth) {
    std::vector<BinaryPlistWriter::Ref> elements;
    elements.reserve(array.size());
    for (const Value& element : array) {
      auto ref = write(element, depth);
      if (!ref) return ref;
      elements.push_back(ref.value());
    }
    return writer_.addArray(elements);
  }

  Expected<BinaryPlistWriter::Ref> writeDictionary(const Dictionary& dictionary, std::size_t depth) {
    if (const Value* uid = uidNumber(dictionary))
      return writer_.addUid(static_cast<std::uint64_t>(uid->integerValue()));
    std::vector<BinaryPlistWriter::Entry> entries;
    entries.reserve(dictionary.size());
    for (const auto& [key, value] : dictionary) {
      const BinaryPlistWriter::Ref keyRef = writer_.addString(key);
      auto valueRef = write(value, depth);
      if (!valueRef) return valueRef;
      entries.push_back({keyRef, valueRef.value()});
    }
    return writer_.addDictionary(entries);
  }

  BinaryPlistWriter writer_;
  std::unordered_map<const void*, BinaryPlistWriter::Ref> written_;
};

}  // namespace

Expected<Value> valueFromBinaryPropertyList(std::span<const std::uint8_t> bytes) {
  auto reader = BinaryPlistReader::open(bytes);
  if (!reader) return reader.error();
  TreeReader tree(reader.value());
  auto value = tree.read(reader.value().topIndex(), 0);
  // A null top object would read as nil, which no property list can be.
  if (value && value.value().isNil()) return propertyListReadError("binary", "the top object is null");
  return value;
}

Expected<Bytes> binaryPropertyListFromValue(const Value& value) {
  TreeWriter tree;
  auto top = tree.write(value, 0);
  if (!top) return top.error();
  return tree.finish(top.value());
}

}  // namespace platform
