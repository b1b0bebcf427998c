#include <bit>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/binary_plist_writer.h"
#include "platform/core/class_coder_registry.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/log.h"
#include "platform/core/property_list.h"

namespace platform {
namespace {

using Ref = BinaryPlistWriter::Ref;

// The archive entry of each container or object instance written so far, by identity. Open addressing in one
// array: a drawing holds hundreds of thousands of containers, and a node per instance made each one dearer as the
// drawing grew.
class InstanceTable {
 public:
  // Null when the instance has no entry yet.
  ArchiveUid* find(const void* identity) {
    if (slots_.empty()) return nullptr;
    for (std::size_t i = home(identity);; i = (i + 1) & mask()) {
      if (slots_[i].identity == identity) return &slots_[i].uid;
      if (!slots_[i].identity) return nullptr;
    }
  }

  // The instance must have no entry yet.
  void insert(const void* identity, ArchiveUid uid) {
    if (2 * (count_ + 1) > slots_.size()) grow();
    std::size_t i = home(identity);
    while (slots_[i].identity) i = (i + 1) & mask();
    slots_[i] = {identity, uid};
    ++count_;
  }

 private:
  struct Slot {
    const void* identity = nullptr;
    ArchiveUid uid = 0;
  };

  std::size_t mask() const noexcept { return slots_.size() - 1; }
  // Fibonacci hashing of the address: its low bits are the allocator's alignment, the same for every instance.
  std::size_t home(const void* identity) const noexcept {
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(identity));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : 2 * old.size(), Slot{});
    shift_ = 64 - static_cast<unsigned>(std::countr_zero(slots_.size()));
    count_ = 0;
    for (const Slot& slot : old) {
      if (slot.identity) insert(slot.identity, slot.uid);
    }
  }

  std::vector<Slot> slots_;  // a power of two in size, at most half full
  std::size_t count_ = 0;
  unsigned shift_ = 64;
};

// Writes the archive straight into the binary object table: each "$objects"
// entry is written as soon as its fields are known, and the list of entries
// itself last.
class Archiver final : public KeyedEncoder {
 public:
  explicit Archiver(std::shared_ptr<const ClassCoderTable> coders) : coders_(std::move(coders)) {}

  Bytes archive(const Value& root) {
    entries_.push_back(writer_.addString("$null"));
    const ArchiveUid rootUid = encodeObject(root);
    const Ref top = writer_.addDictionary(
        std::vector<BinaryPlistWriter::Entry>{{writer_.addString("root"), writer_.addUid(rootUid)}});
    const Ref objects = writer_.addArray(entries_);
    const std::vector<BinaryPlistWriter::Entry> archive{
        {writer_.addString("$archiver"), writer_.addString("NSKeyedArchiver")},
        {writer_.addString("$version"), writer_.addInteger(100000)},
        {writer_.addString("$top"), top},
        {writer_.addString("$objects"), objects},
    };
    return writer_.finish(writer_.addDictionary(archive));
  }

  void encode(std::string_view key, const Value& value) override {
    Ref ref;
    switch (value.kind()) {
      case Value::Kind::Bool: ref = writer_.addBool(value.boolValue()); break;
      case Value::Kind::Integer: ref = writer_.addInteger(value.integerValue()); break;
      case Value::Kind::Real: ref = writer_.addReal(value.doubleValue(), value.isReal32()); break;
      default: ref = writer_.addUid(encodeObject(value)); break;
    }
    fields_.push_back({writer_.addString(key), ref});
  }

  ArchiveUid encodeObject(const Value& value) override {
    switch (value.kind()) {
      case Value::Kind::Nil: return 0;
      case Value::Kind::String: return encodeString(value.string());
      case Value::Kind::Bool: return addEntry(writer_.addBool(value.boolValue()));
      case Value::Kind::Integer: return addEntry(writer_.addInteger(value.integerValue()));
      case Value::Kind::Real: return addEntry(writer_.addReal(value.doubleValue(), value.isReal32()));
      case Value::Kind::Data: return addEntry(writer_.addData(value.data()));
      case Value::Kind::Dictionary: return encodeInstance(value, value.dictionary().get(), kDictionaryClassName);
      case Value::Kind::Array: return encodeInstance(value, value.array().get(), kArrayClassName);
      case Value::Kind::Object: return encodeInstance(value, value.object().get(), value.object()->className());
    }
    return 0;
  }

  // The writer writes each distinct string once; its object index finds the
  // entry made for it before.
  ArchiveUid encodeString(std::string_view text) override {
    const Ref ref = writer_.addString(text);
    if (ref >= stringEntries_.size()) stringEntries_.resize(ref + 1, kNoEntry);
    if (stringEntries_[ref] == kNoEntry) stringEntries_[ref] = addEntry(ref);
    return stringEntries_[ref];
  }

  void encodeReferences(std::string_view key, std::span<const ArchiveUid> references) override {
    uidRefs_.clear();
    uidRefs_.reserve(references.size());
    for (ArchiveUid uid : references) uidRefs_.push_back(writer_.addUid(uid));
    const Ref list = writer_.addArray(uidRefs_);
    fields_.push_back({writer_.addString(key), list});
  }

 private:
  static constexpr Ref kOpen = ~Ref{0};
  static constexpr ArchiveUid kNoEntry = ~ArchiveUid{0};

  ArchiveUid addEntry(Ref ref) {
    entries_.push_back(ref);
    return entries_.size() - 1;
  }

  // Containers and objects: each instance once. The entry's UID is taken
  // before its fields are encoded, so parents come before their children.
  ArchiveUid encodeInstance(const Value& value, const void* identity, std::string_view className) {
    if (const ArchiveUid* known = instances_.find(identity)) {
      if (entries_[*known] != kOpen) return *known;
      logWarning("Archiving: a " + std::string(className) +
                 " contains itself; the inner reference is archived as nil.");
      return 0;
    }
    const ClassCoder* coder = coders_->coder(className);
    if (!coder) {
      // Known as nil from now on, so the warning comes once.
      enter(value, identity, 0);
      logWarning("Archiving: no class coder for " + std::string(className) + "; the object is archived as nil.");
      return 0;
    }
    if (depth_ >= kPropertyListDepthLimit) {
      logWarning("Archiving: values nested too deeply; the innermost " + std::string(className) +
                 " is archived as nil.");
      return 0;
    }
    const ArchiveUid uid = addEntry(kOpen);
    enter(value, identity, uid);
    const std::size_t firstField = fields_.size();
    ++depth_;
    coder->encode(value, *this);
    --depth_;
    fields_.push_back({writer_.addString("$class"), writer_.addUid(classEntry(*coder))});
    entries_[uid] = writer_.addDictionary(std::span(fields_).subspan(firstField));
    fields_.resize(firstField);
    return uid;
  }

  // Identities are addresses, so each instance entered is kept alive until the archive is finished: a temporary a
  // coder made and dropped would otherwise lend its address to a later one, written as a reference to the first.
  void enter(const Value& value, const void* identity, ArchiveUid uid) {
    kept_.push_back(value);
    instances_.insert(identity, uid);
  }

  // One entry per class, shared by all its objects.
  ArchiveUid classEntry(const ClassCoder& coder) {
    auto [it, inserted] = classes_.try_emplace(&coder, 0);
    if (!inserted) return it->second;
    const std::vector<std::string> chain = coder.classChain();
    std::vector<Ref> names;
    names.reserve(chain.size());
    for (const std::string& name : chain) names.push_back(writer_.addString(name));
    const std::vector<BinaryPlistWriter::Entry> entry{
        {writer_.addString("$classname"), names.front()},
        {writer_.addString("$classes"), writer_.addArray(names)},
    };
    it->second = addEntry(writer_.addDictionary(entry));
    return it->second;
  }

  std::shared_ptr<const ClassCoderTable> coders_;
  BinaryPlistWriter writer_;
  std::vector<Ref> entries_;                      // "$objects", by UID; kOpen while being encoded
  std::vector<BinaryPlistWriter::Entry> fields_;  // of the entries being encoded, innermost last
  std::vector<Ref> uidRefs_;
  InstanceTable instances_;
  std::vector<Value> kept_;  // every instance entered in instances_
  std::vector<ArchiveUid> stringEntries_;  // by the string's object index; "$null" is left out
  std::unordered_map<const ClassCoder*, ArchiveUid> classes_;
  std::size_t depth_ = 0;
};

}  // namespace

Bytes archivedDataWithRootObject(const Value& root) { return Archiver(classCoders()).archive(root); }

}  // namespace platform
