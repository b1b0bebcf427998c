#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/binary_plist_reader.h"
#include "platform/core/class_coder_registry.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/keyed_archive_errors.h"
#include "platform/core/log.h"
#include "platform/core/property_list.h"

namespace platform {
namespace {

// The value object stored under a key of a dictionary object, if any.
Expected<std::optional<std::uint64_t>> findKey(const BinaryPlistReader& reader, const BinaryObject& dictionary,
                                               std::string_view key) {
  for (std::uint64_t i = 0; i < dictionary.count; ++i) {
    auto keyObject = reader.object(reader.key(dictionary, i));
    if (!keyObject) return keyObject.error();
    if (!keyObject.value().isString()) return archiveError("a dictionary key is not a string");
    if (stringEquals(keyObject.value(), key)) return std::optional(reader.value(dictionary, i));
  }
  return std::optional<std::uint64_t>();
}

Expected<BinaryObject> requiredObject(const BinaryPlistReader& reader, std::optional<std::uint64_t> index,
                                      std::string_view key, BinaryObjectKind kind) {
  if (!index) return archiveError("\"" + std::string(key) + "\" is missing");
  auto object = reader.object(*index);
  if (!object) return object.error();
  if (object.value().kind != kind) return archiveError("\"" + std::string(key) + "\" is of the wrong type");
  return object;
}

Expected<BinaryObject> requiredField(const BinaryPlistReader& reader, const BinaryObject& dictionary,
                                     std::string_view key, BinaryObjectKind kind) {
  auto index = findKey(reader, dictionary, key);
  if (!index) return index.error();
  return requiredObject(reader, index.value(), key, kind);
}

// One key of an archived object and the object stored under it.
struct Field {
  std::string_view key;
  std::uint64_t value;
};

// Decodes "$objects" entries on demand, each once: shared entries become one
// shared value, and an entry reached again while it is being decoded is a
// cycle. Works on the binary object table in place.
class Unarchiver {
 public:
  Unarchiver(const BinaryPlistReader& reader, std::shared_ptr<const ClassCoderTable> coders)
      : reader_(reader), coders_(std::move(coders)) {}

  Expected<Value> run() {
    auto top = reader_.object(reader_.topIndex());
    if (!top) return top.error();
    if (top.value().kind != BinaryObjectKind::Dictionary) return archiveError("the data is not a keyed archive");
    auto archiver = requiredField(reader_, top.value(), "$archiver", BinaryObjectKind::AsciiString);
    if (!archiver) return archiver.error();
    if (!stringEquals(archiver.value(), "NSKeyedArchiver")) return archiveError("the data is not a keyed archive");
    auto objects = requiredField(reader_, top.value(), "$objects", BinaryObjectKind::Array);
    if (!objects) return objects.error();
    objects_ = objects.value();
    values_.resize(objects_.count);
    states_.resize(objects_.count, State::Unread);
    auto topEntries = requiredField(reader_, top.value(), "$top", BinaryObjectKind::Dictionary);
    if (!topEntries) return topEntries.error();
    auto root = requiredField(reader_, topEntries.value(), "root", BinaryObjectKind::Uid);
    if (!root) return root.error();
    return entry(root.value().uid, 0);
  }

  const BinaryPlistReader& reader() const noexcept { return reader_; }
  UnarchiveReport report() const noexcept { return {nilObjects_, sharesContainers_}; }

  // depth: how many objects enclose the entry.
  Expected<Value> entry(ArchiveUid uid, std::size_t depth) {
    if (uid == 0) return Value();
    if (uid >= objects_.count) return archiveError("a UID past the end of the object list");
    if (states_[uid] == State::Done) {
      if (values_[uid].isDictionary() || values_[uid].isArray()) sharesContainers_ = true;
      return values_[uid];
    }
    if (states_[uid] == State::Open) return archiveError("an object contains itself");
    auto object = reader_.object(reader_.element(objects_, uid));
    if (!object) return object.error();
    Value value;
    switch (object.value().kind) {
      case BinaryObjectKind::Dictionary: {
        if (depth >= kPropertyListDepthLimit) return archiveError("objects are nested too deeply");
        states_[uid] = State::Open;
        auto instance = decodeInstance(object.value(), depth + 1);
        if (!instance) return instance;
        value = std::move(instance.value());
        if (value.isNil()) ++nilObjects_;
        break;
      }
      case BinaryObjectKind::Array:
      case BinaryObjectKind::Uid: return archiveError("an entry of the object list is of the wrong type");
      default: value = scalarValue(object.value()); break;
    }
    states_[uid] = State::Done;
    values_[uid] = value;
    return value;
  }

  // A field of an object: inline scalars as they are, UIDs as their entries.
  Expected<Value> field(const BinaryObject& object, std::size_t depth) {
    switch (object.kind) {
      case BinaryObjectKind::Uid: return entry(object.uid, depth);
      case BinaryObjectKind::Array:
      case BinaryObjectKind::Dictionary: return archiveError("a field holds an inline container");
      default: return scalarValue(object);
    }
  }

  // The fields of the objects being decoded, innermost last; decoders refer
  // to theirs by position since the vector grows while they work.
  std::optional<std::uint64_t> findField(std::size_t first, std::size_t end, std::string_view key) const {
    for (std::size_t i = first; i < end; ++i) {
      if (fields_[i].key == key) return fields_[i].value;
    }
    return std::nullopt;
  }

 private:
  enum class State : std::uint8_t { Unread, Open, Done };

  Expected<Value> decodeInstance(const BinaryObject& instance, std::size_t depth);
  Status scanFields(const BinaryObject& instance);
  Expected<const ClassDecoder*> classDecoder(ArchiveUid uid);

  const BinaryPlistReader& reader_;
  std::shared_ptr<const ClassCoderTable> coders_;
  BinaryObject objects_;
  std::vector<Value> values_;
  std::vector<State> states_;
  std::vector<Field> fields_;
  std::deque<std::string> utf16Keys_;  // converted keys the fields point into; a deque never moves them
  std::unordered_map<ArchiveUid, const ClassDecoder*> classes_;  // null for unknown classes
  std::size_t nilObjects_ = 0;
  bool sharesContainers_ = false;
};

// The view a class decoder gets of one archived object.
class InstanceDecoder final : public KeyedDecoder {
 public:
  InstanceDecoder(Unarchiver& unarchiver, std::size_t firstField, std::size_t endField, std::size_t depth)
      : unarchiver_(unarchiver), reader_(unarchiver.reader()), first_(firstField), end_(endField), depth_(depth) {}

  bool contains(std::string_view key) const override { return unarchiver_.findField(first_, end_, key).has_value(); }

  Expected<Value> decode(std::string_view key) override {
    const auto index = unarchiver_.findField(first_, end_, key);
    if (!index) return Value();
    auto object = reader_.object(*index);
    if (!object) return object.error();
    return unarchiver_.field(object.value(), depth_);
  }

  Expected<std::vector<Value>> decodeObjects(std::string_view key) override {
    auto list = requiredObject(reader_, unarchiver_.findField(first_, end_, key), key, BinaryObjectKind::Array);
    if (!list) return list.error();
    std::vector<Value> values;
    values.reserve(list.value().count);
    for (std::uint64_t i = 0; i < list.value().count; ++i) {
      auto uid = reader_.uid(reader_.element(list.value(), i));
      if (!uid) return archiveError("\"" + std::string(key) + "\" holds something other than UIDs");
      auto value = unarchiver_.entry(uid.value(), depth_);
      if (!value) return value.error();
      values.push_back(std::move(value.value()));
    }
    return values;
  }

 private:
  Unarchiver& unarchiver_;
  const BinaryPlistReader& reader_;
  std::size_t first_;
  std::size_t end_;
  std::size_t depth_;
};

Status Unarchiver::scanFields(const BinaryObject& instance) {
  for (std::uint64_t i = 0; i < instance.count; ++i) {
    auto key = reader_.object(reader_.key(instance, i));
    if (!key) return key.error();
    std::string_view text;
    if (key.value().kind == BinaryObjectKind::AsciiString) {
      text = {reinterpret_cast<const char*>(key.value().payload.data()), key.value().payload.size()};
    } else if (key.value().kind == BinaryObjectKind::Utf16String) {
      text = utf16Keys_.emplace_back(stringOf(key.value()));
    } else {
      return archiveError("a dictionary key is not a string");
    }
    fields_.push_back({text, reader_.value(instance, i)});
  }
  return success();
}

Expected<Value> Unarchiver::decodeInstance(const BinaryObject& instance, std::size_t depth) {
  const std::size_t firstField = fields_.size();
  if (auto scanned = scanFields(instance); !scanned) return scanned.error();
  const std::size_t endField = fields_.size();
  auto classReference =
      requiredObject(reader_, findField(firstField, endField, "$class"), "$class", BinaryObjectKind::Uid);
  if (!classReference) return classReference.error();
  auto decoder = classDecoder(classReference.value().uid);
  if (!decoder) return decoder.error();
  Expected<Value> value = Value();
  if (decoder.value()) {
    InstanceDecoder fields(*this, firstField, endField, depth);
    value = decoder.value()->decode(fields);
  }
  fields_.resize(firstField);
  return value;
}

Expected<const ClassDecoder*> Unarchiver::classDecoder(ArchiveUid uid) {
  if (auto it = classes_.find(uid); it != classes_.end()) return it->second;
  if (uid == 0 || uid >= objects_.count) return archiveError("a $class UID outside the object list");
  auto classEntry = reader_.object(reader_.element(objects_, uid));
  if (!classEntry) return classEntry.error();
  if (classEntry.value().kind != BinaryObjectKind::Dictionary) return archiveError("a $class that is not a class");
  auto nameIndex = findKey(reader_, classEntry.value(), "$classname");
  if (!nameIndex) return nameIndex.error();
  if (!nameIndex.value()) return archiveError("a class without a $classname");
  auto name = reader_.object(*nameIndex.value());
  if (!name) return name.error();
  if (!name.value().isString()) return archiveError("a $classname that is not a string");
  const std::string className = stringOf(name.value());
  const ClassDecoder* decoder = coders_->decoder(className);
  if (!decoder) logWarning("Unarchiving: no class coder for " + className + "; its objects read as nil.");
  classes_.emplace(uid, decoder);
  return decoder;
}

Expected<Value> unarchiveBinary(std::span<const std::uint8_t> bytes, UnarchiveReport& report) {
  auto reader = BinaryPlistReader::open(bytes);
  if (!reader) return reader.error();
  Unarchiver unarchiver(reader.value(), classCoders());
  Expected<Value> root = unarchiver.run();
  report = unarchiver.report();
  return root;
}

}  // namespace

// XML archives are rare (hand-edited files, tests): they are converted to the
// binary form, where {"CF$UID": n} dictionaries become real UIDs.
Expected<Value> unarchiveObjectWithData(const Bytes& data, UnarchiveReport& report) {
  report = {};
  if (isBinaryPropertyList(data)) return unarchiveBinary(data, report);
  auto list = propertyListFromData(data);
  if (!list) return list.error();
  auto binary = dataFromPropertyList(list.value(), PropertyListFormat::Binary);
  if (!binary) return archiveError("the data is not a keyed archive");
  return unarchiveBinary(binary.value(), report);
}

Expected<Value> unarchiveObjectWithData(const Bytes& data) {
  UnarchiveReport report;
  return unarchiveObjectWithData(data, report);
}

}  // namespace platform
