#pragma once

// Property-list values: the currency of every record in a document.
//
// Scalars (booleans, numbers, strings, data) are immutable and shared freely.
// Arrays and dictionaries are reference types: a DictRef or ArrayRef handed
// out points at the one container, and edits through it are seen by every
// holder. Comparing two refs with == asks for identity; isEqual compares
// content.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <iterator>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

class Dictionary;
class Array;
class Object;
using DictRef = std::shared_ptr<Dictionary>;
using ArrayRef = std::shared_ptr<Array>;
using ObjectRef = std::shared_ptr<Object>;
using Bytes = std::vector<std::uint8_t>;

// An object of one of the program's own classes carried inside a value tree.
// It travels through keyed archives by its class name (see keyed_archive.h)
// and compares by identity.
class Object {
 public:
  virtual ~Object() = default;
  virtual std::string_view className() const noexcept = 0;
};

class Value {
 public:
  enum class Kind : std::uint8_t { Nil, Bool, Integer, Real, String, Data, Array, Dictionary, Object };

  Value() noexcept = default;
  Value(std::nullptr_t) noexcept {}
  Value(bool b) noexcept : storage_(b) {}
  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>)
  Value(T i) noexcept : storage_(clampToInt64(i)) {}
  Value(double d) noexcept : storage_(d) {}
  Value(float f) noexcept : storage_(Real32{static_cast<double>(f)}) {}
  Value(const char* s);
  Value(std::string s);
  Value(std::string_view s);
  Value(Bytes bytes);
  Value(DictRef dictionary) noexcept;
  Value(ArrayRef array) noexcept;
  Value(ObjectRef object) noexcept;

  // A real that archives as a 32-bit float.
  static Value real32(double d) noexcept;
  static Value data(const void* bytes, std::size_t length);

  Kind kind() const noexcept {
    return isReal32() ? Kind::Real : static_cast<Kind>(storage_.index());
  }
  bool isNil() const noexcept { return kind() == Kind::Nil; }
  bool isBool() const noexcept { return kind() == Kind::Bool; }
  bool isInteger() const noexcept { return kind() == Kind::Integer; }
  bool isReal() const noexcept { return kind() == Kind::Real; }
  bool isReal32() const noexcept { return std::holds_alternative<Real32>(storage_); }
  bool isNumber() const noexcept { return isBool() || isInteger() || isReal(); }
  bool isString() const noexcept { return kind() == Kind::String; }
  bool isData() const noexcept { return kind() == Kind::Data; }
  bool isArray() const noexcept { return kind() == Kind::Array; }
  bool isDictionary() const noexcept { return kind() == Kind::Dictionary; }
  bool isObject() const noexcept { return kind() == Kind::Object; }

  // Conversions with Foundation's semantics, always in the C locale. Nil and
  // containers convert to 0.
  double doubleValue() const noexcept;
  float floatValue() const noexcept;
  std::int32_t intValue() const noexcept;
  std::int64_t integerValue() const noexcept;
  std::uint32_t unsignedIntValue() const noexcept;
  bool boolValue() const noexcept;

  // The contents of a string or data value; empty for any other kind.
  const std::string& string() const noexcept;
  const Bytes& data() const noexcept;
  // The container, or null for any other kind.
  DictRef dictionary() const noexcept;
  ArrayRef array() const noexcept;
  ObjectRef object() const noexcept;

  // Content equality: numbers compare by value (1 == 1.0 == YES), strings and
  // data by bytes, containers element by element.
  bool isEqual(const Value& other) const;
  // Same container instance, same string or data instance, or same scalar.
  bool isIdentical(const Value& other) const noexcept;

  // A readable rendering for logs and test failures.
  std::string description() const;

 private:
  // The width of a real rides in the kind of storage, which keeps a value at three words: records hold millions.
  struct Real32 {
    double value;
  };
  // In the order of Kind, the 32-bit real last.
  using Storage = std::variant<std::monostate, bool, std::int64_t, double, std::shared_ptr<const std::string>,
                               std::shared_ptr<const Bytes>, ArrayRef, DictRef, ObjectRef, Real32>;

  template <std::integral T>
  static constexpr std::int64_t clampToInt64(T i) noexcept {
    if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(std::int64_t)) {
      if (i > static_cast<T>(std::numeric_limits<std::int64_t>::max())) return std::numeric_limits<std::int64_t>::max();
    }
    return static_cast<std::int64_t>(i);
  }

  double real() const noexcept { return isReal32() ? std::get<Real32>(storage_).value : std::get<double>(storage_); }

  Storage storage_;
};

std::ostream& operator<<(std::ostream& out, const Value& value);

// Told of every change of a watched dictionary's own entries, with the tag it was watched with: how a reader of many
// records learns which of them changed without looking at each.
class DictionaryWatcher {
 public:
  virtual void dictionaryChanged(std::uintptr_t tag) noexcept = 0;

 protected:
  ~DictionaryWatcher() = default;
};

class DictionaryKeys;

// An insertion-ordered dictionary with string keys. Its keys are held apart from its values, in a list that
// dictionaries built alike share (see dictionary_keys.h).
class Dictionary {
 public:
  using Entry = std::pair<const std::string&, const Value&>;

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using reference = Entry;
    struct pointer {
      Entry entry;
      const Entry* operator->() const noexcept { return &entry; }
    };

    const_iterator() = default;
    Entry operator*() const noexcept { return {*name_, *value_}; }
    pointer operator->() const noexcept { return {**this}; }
    const_iterator& operator++() noexcept {
      ++name_;
      ++value_;
      return *this;
    }
    const_iterator operator++(int) noexcept {
      const_iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const const_iterator& other) const noexcept { return value_ == other.value_; }

   private:
    friend class Dictionary;
    const_iterator(const std::string* name, const Value* value) noexcept : name_(name), value_(value) {}
    const std::string* name_ = nullptr;
    const Value* value_ = nullptr;
  };

  Dictionary();
  ~Dictionary();
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;

  static DictRef make();
  static DictRef make(std::initializer_list<std::pair<std::string_view, Value>> entries);
  // The entries in their order, as if set one by one: a repeated key keeps its first place and takes its last
  // value, nil removes. The keys are found among those of other dictionaries at once rather than key by key.
  static DictRef make(std::span<const std::string_view> keys, std::vector<Value> values);

  std::size_t size() const noexcept { return values_.size(); }
  bool empty() const noexcept { return values_.size() == 0; }
  void reserve(std::size_t count) { values_.reserve(count); }

  // Nil when the key is missing.
  Value get(std::string_view key) const;
  // Null when the key is missing; valid until the dictionary changes.
  const Value* find(std::string_view key) const;
  bool contains(std::string_view key) const { return find(key) != nullptr; }
  // The entry as a container, or null when missing or of another kind.
  DictRef dictionary(std::string_view key) const;
  ArrayRef array(std::string_view key) const;

  // Setting nil removes the key. An existing key keeps its place in the order.
  void set(std::string_view key, Value value);
  void remove(std::string_view key);
  void removeAll();
  // Shallow: containers of the other dictionary become shared.
  void addEntries(const Dictionary& other);

  std::vector<std::string> keys() const;
  const_iterator begin() const noexcept;
  const_iterator end() const noexcept;

  // A new dictionary sharing the values.
  DictRef mutableCopy() const;
  // Grows with every change of this dictionary's own entries (not of the containers inside it), so a reader can
  // keep what it derived from them until the count moves.
  std::uint64_t changeCount() const noexcept { return changes_ & ~kWatched; }
  bool isEqual(const Dictionary& other) const;

  // The watcher hears of each later change with `tag` until unwatched with the same tag; a watcher may watch one
  // dictionary under several tags. Copies are not watched. Not to be called from dictionaryChanged.
  void watch(DictionaryWatcher& watcher, std::uintptr_t tag);
  void unwatch(DictionaryWatcher& watcher, std::uintptr_t tag) noexcept;

 private:
  friend class DeepCopier;

  // The values in the order of the keys, with a size and a capacity of 32 bits: with them a dictionary takes 64
  // bytes of the heap, and a drawing holds millions.
  class Values {
   public:
    Values() = default;
    Values(const Values&) = delete;
    Values& operator=(const Values&) = delete;
    ~Values() { clear(); }

    std::size_t size() const noexcept { return size_; }
    Value* data() noexcept { return data_; }
    const Value* data() const noexcept { return data_; }
    Value& operator[](std::size_t i) noexcept { return data_[i]; }
    const Value& operator[](std::size_t i) const noexcept { return data_[i]; }
    void reserve(std::size_t count);
    void push_back(Value value);
    void pop_back() noexcept;
    void erase(std::size_t index) noexcept;
    void clear() noexcept;

   private:
    void reallocate(std::size_t capacity);

    Value* data_ = nullptr;  // room for the capacity, the first `size_` made
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 0;
  };

  std::ptrdiff_t indexOf(std::string_view key) const;
  void noteChange() noexcept;
  bool watched() const noexcept { return (changes_ & kWatched) != 0; }

  // The top bit of the change count tells that the dictionary has watchers, who are listed apart: few are watched.
  static constexpr std::uint64_t kWatched = std::uint64_t{1} << 63;

  std::shared_ptr<DictionaryKeys> keys_;  // null while empty
  Values values_;
  std::uint64_t changes_ = 0;
};

class Array {
 public:
  using const_iterator = std::vector<Value>::const_iterator;
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  Array() = default;
  Array(const Array&) = delete;
  Array& operator=(const Array&) = delete;

  static ArrayRef make();
  static ArrayRef make(std::initializer_list<Value> values);
  static ArrayRef make(std::vector<Value> values);

  std::size_t size() const noexcept { return values_.size(); }
  bool empty() const noexcept { return values_.empty(); }
  // Nil when out of range.
  Value at(std::size_t index) const;
  Value last() const { return empty() ? Value() : values_.back(); }

  // Nil is never stored: adding or inserting it does nothing, setting it removes.
  void add(Value value);
  // Past the end appends.
  void insert(std::size_t index, Value value);
  // Replaces; past the end appends.
  void set(std::size_t index, Value value);
  // Out of range does nothing.
  void removeAt(std::size_t index);
  void removeLast();
  void removeAll() noexcept { values_.clear(); }
  // Removes every element equal (isEqual) to, or identical with, the value.
  void remove(const Value& value);
  void removeIdentical(const Value& value);
  void addAll(const Array& other);

  std::size_t indexOf(const Value& value) const;
  std::size_t indexOfIdentical(const Value& value) const;
  bool contains(const Value& value) const { return indexOf(value) != npos; }

  const std::vector<Value>& values() const noexcept { return values_; }
  const_iterator begin() const noexcept { return values_.begin(); }
  const_iterator end() const noexcept { return values_.end(); }

  ArrayRef mutableCopy() const;
  bool isEqual(const Array& other) const;

 private:
  std::vector<Value> values_;
};

// Deep mutable copies: every dictionary and array of the result is new, one
// for each place that holds it, so that no edit of one place reaches another;
// strings, numbers, data and objects are shared with the original.
DictRef dictionaryCopy(const DictRef& dictionary);
ArrayRef arrayCopy(const ArrayRef& array);
Value deepCopy(const Value& value);
// The same, but a container the original holds in several places is copied
// once and held in the same places of the copy: for copies that are read, not
// edited (the shapes of an imported file share one gradient's stops).
DictRef dictionaryCopyKeepingShares(const DictRef& dictionary);

}  // namespace platform
