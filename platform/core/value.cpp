#include "platform/core/value.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <unordered_map>

#include "platform/core/dictionary_keys.h"
#include "platform/core/numeric.h"
#include "platform/core/string_conversions.h"

namespace platform {
namespace {

const std::string& emptyString() {
  static const std::string empty;
  return empty;
}

const Bytes& emptyBytes() {
  static const Bytes empty;
  return empty;
}

// Integers and reals compare by value without rounding the integer.
bool integerEqualsReal(std::int64_t i, double d) noexcept {
  if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) return false;
  return std::trunc(d) == d && static_cast<std::int64_t>(d) == i;
}

}  // namespace

Value::Value(const char* s) : Value(std::string_view(s ? s : "")) {}
Value::Value(std::string s) : storage_(std::make_shared<const std::string>(std::move(s))) {}
Value::Value(std::string_view s) : storage_(std::make_shared<const std::string>(s)) {}
Value::Value(Bytes bytes) : storage_(std::make_shared<const Bytes>(std::move(bytes))) {}
Value::Value(DictRef dictionary) noexcept {
  if (dictionary) storage_ = std::move(dictionary);
}
Value::Value(ArrayRef array) noexcept {
  if (array) storage_ = std::move(array);
}
Value::Value(ObjectRef object) noexcept {
  if (object) storage_ = std::move(object);
}

Value Value::real32(double d) noexcept { return Value(static_cast<float>(d)); }

Value Value::data(const void* bytes, std::size_t length) {
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  return Value(Bytes(p, p + length));
}

double Value::doubleValue() const noexcept {
  switch (kind()) {
    case Kind::Bool: return std::get<bool>(storage_) ? 1.0 : 0.0;
    case Kind::Integer: return static_cast<double>(std::get<std::int64_t>(storage_));
    case Kind::Real: return real();
    case Kind::String: return stringDoubleValue(string());
    default: return 0.0;
  }
}

float Value::floatValue() const noexcept {
  if (isString()) return stringFloatValue(string());
  return static_cast<float>(doubleValue());
}

std::int32_t Value::intValue() const noexcept {
  switch (kind()) {
    case Kind::Bool: return std::get<bool>(storage_) ? 1 : 0;
    case Kind::Integer: {
      // NSNumber keeps the low 32 bits of a wider integer.
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::get<std::int64_t>(storage_)));
    }
    case Kind::Real: return saturatingTruncate<std::int32_t>(real());
    case Kind::String: return stringIntValue(string());
    default: return 0;
  }
}

std::int64_t Value::integerValue() const noexcept {
  switch (kind()) {
    case Kind::Bool: return std::get<bool>(storage_) ? 1 : 0;
    case Kind::Integer: return std::get<std::int64_t>(storage_);
    case Kind::Real: return saturatingTruncate<std::int64_t>(real());
    case Kind::String: return stringIntegerValue(string());
    default: return 0;
  }
}

std::uint32_t Value::unsignedIntValue() const noexcept { return static_cast<std::uint32_t>(integerValue()); }

bool Value::boolValue() const noexcept {
  switch (kind()) {
    case Kind::Bool: return std::get<bool>(storage_);
    case Kind::Integer: return std::get<std::int64_t>(storage_) != 0;
    case Kind::Real: {
      double d = real();
      return d != 0 && !std::isnan(d);
    }
    case Kind::String: return stringBoolValue(string());
    default: return false;
  }
}

const std::string& Value::string() const noexcept {
  if (auto* s = std::get_if<std::shared_ptr<const std::string>>(&storage_)) return **s;
  return emptyString();
}

const Bytes& Value::data() const noexcept {
  if (auto* b = std::get_if<std::shared_ptr<const Bytes>>(&storage_)) return **b;
  return emptyBytes();
}

DictRef Value::dictionary() const noexcept {
  if (auto* d = std::get_if<DictRef>(&storage_)) return *d;
  return nullptr;
}

ArrayRef Value::array() const noexcept {
  if (auto* a = std::get_if<ArrayRef>(&storage_)) return *a;
  return nullptr;
}

ObjectRef Value::object() const noexcept {
  if (auto* o = std::get_if<ObjectRef>(&storage_)) return *o;
  return nullptr;
}

bool Value::isEqual(const Value& other) const {
  if (isNumber() && other.isNumber()) {
    if (isReal() || other.isReal()) {
      if (isReal() && other.isReal()) return real() == other.real();
      const Value& real = isReal() ? *this : other;
      const Value& integral = isReal() ? other : *this;
      return integerEqualsReal(integral.integerValue(), real.real());
    }
    return integerValue() == other.integerValue();
  }
  if (kind() != other.kind()) return false;
  switch (kind()) {
    case Kind::Nil: return true;
    case Kind::String: return string() == other.string();
    case Kind::Data: return data() == other.data();
    case Kind::Array: {
      auto a = array(), b = other.array();
      return a == b || a->isEqual(*b);
    }
    case Kind::Dictionary: {
      auto a = dictionary(), b = other.dictionary();
      return a == b || a->isEqual(*b);
    }
    case Kind::Object: return object() == other.object();
    default: return false;
  }
}

bool Value::isIdentical(const Value& other) const noexcept {
  if (kind() != other.kind()) return false;
  switch (kind()) {
    case Kind::Nil: return true;
    case Kind::Bool: return std::get<bool>(storage_) == std::get<bool>(other.storage_);
    case Kind::Integer: return std::get<std::int64_t>(storage_) == std::get<std::int64_t>(other.storage_);
    case Kind::Real:
      return isReal32() == other.isReal32() && real() == other.real();
    case Kind::String:
      return std::get<std::shared_ptr<const std::string>>(storage_) ==
             std::get<std::shared_ptr<const std::string>>(other.storage_);
    case Kind::Data:
      return std::get<std::shared_ptr<const Bytes>>(storage_) == std::get<std::shared_ptr<const Bytes>>(other.storage_);
    case Kind::Array: return array() == other.array();
    case Kind::Dictionary: return dictionary() == other.dictionary();
    case Kind::Object: return object() == other.object();
  }
  return false;
}

std::string Value::description() const {
  switch (kind()) {
    case Kind::Nil: return "nil";
    case Kind::Bool: return boolValue() ? "YES" : "NO";
    case Kind::Integer: return std::to_string(integerValue());
    case Kind::Real: return formatDouble(doubleValue()) + (isReal32() ? "f" : "");
    case Kind::String: {
      std::string out = "\"";
      for (char c : string()) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
      }
      return out + "\"";
    }
    case Kind::Data: {
      static const char hex[] = "0123456789abcdef";
      std::string out = "<";
      for (std::uint8_t b : data()) {
        out += hex[b >> 4];
        out += hex[b & 15];
      }
      return out + ">";
    }
    case Kind::Array: {
      std::string out = "(";
      const char* separator = "";
      for (const Value& v : *array()) {
        out += separator + v.description();
        separator = ", ";
      }
      return out + ")";
    }
    case Kind::Dictionary: {
      std::string out = "{";
      for (const auto& [key, v] : *dictionary()) out += key + " = " + v.description() + "; ";
      return out + "}";
    }
    case Kind::Object: return "<" + std::string(object()->className()) + ">";
  }
  return {};
}

std::ostream& operator<<(std::ostream& out, const Value& value) { return out << value.description(); }

// ---------------------------------------------------------------------------

ArrayRef Array::make() { return std::make_shared<Array>(); }

ArrayRef Array::make(std::initializer_list<Value> values) { return make(std::vector<Value>(values)); }

ArrayRef Array::make(std::vector<Value> values) {
  ArrayRef a = make();
  for (Value& v : values)
    if (!v.isNil()) a->values_.push_back(std::move(v));
  return a;
}

Value Array::at(std::size_t index) const { return index < values_.size() ? values_[index] : Value(); }

void Array::add(Value value) {
  if (!value.isNil()) values_.push_back(std::move(value));
}

void Array::insert(std::size_t index, Value value) {
  if (value.isNil()) return;
  if (index >= values_.size())
    values_.push_back(std::move(value));
  else
    values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(index), std::move(value));
}

void Array::set(std::size_t index, Value value) {
  if (value.isNil()) {
    removeAt(index);
  } else if (index >= values_.size()) {
    values_.push_back(std::move(value));
  } else {
    values_[index] = std::move(value);
  }
}

void Array::removeAt(std::size_t index) {
  if (index < values_.size()) values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(index));
}

void Array::removeLast() {
  if (!values_.empty()) values_.pop_back();
}

void Array::remove(const Value& value) {
  // Copy first: the value may be an element of this array.
  Value target = value;
  std::erase_if(values_, [&](const Value& v) { return v.isEqual(target); });
}

void Array::removeIdentical(const Value& value) {
  Value target = value;
  std::erase_if(values_, [&](const Value& v) { return v.isIdentical(target); });
}

void Array::addAll(const Array& other) {
  if (&other == this) {
    std::vector<Value> copy = values_;
    values_.insert(values_.end(), copy.begin(), copy.end());
    return;
  }
  values_.insert(values_.end(), other.values_.begin(), other.values_.end());
}

std::size_t Array::indexOf(const Value& value) const {
  for (std::size_t i = 0; i < values_.size(); ++i)
    if (values_[i].isEqual(value)) return i;
  return npos;
}

std::size_t Array::indexOfIdentical(const Value& value) const {
  for (std::size_t i = 0; i < values_.size(); ++i)
    if (values_[i].isIdentical(value)) return i;
  return npos;
}

ArrayRef Array::mutableCopy() const {
  ArrayRef copy = make();
  copy->values_ = values_;
  return copy;
}

bool Array::isEqual(const Array& other) const {
  if (this == &other) return true;
  if (size() != other.size()) return false;
  for (std::size_t i = 0; i < values_.size(); ++i)
    if (!values_[i].isEqual(other.values_[i])) return false;
  return true;
}

// ---------------------------------------------------------------------------

// One deep copy. Keeping shares, containers held in more than one place are
// remembered, so that each is copied once; only those can be met twice, so the
// others are not looked up at all.
class DeepCopier {
 public:
  explicit DeepCopier(bool keepShares) : keepShares_(keepShares) {}

  Value copy(const Value& value) {
    if (DictRef d = value.dictionary()) return copy(d);
    if (ArrayRef a = value.array()) return copy(a);
    return value;
  }

  DictRef copy(const DictRef& dictionary) {
    return remembered(dictionary, [&] {
      DictRef made = Dictionary::make();
      made->values_.reserve(dictionary->size());
      for (std::size_t i = 0; i < dictionary->size(); ++i) made->values_.push_back(copy(dictionary->values_[i]));
      made->keys_ = DictionaryKeys::share(dictionary->keys_);
      return made;
    });
  }

  ArrayRef copy(const ArrayRef& array) {
    return remembered(array, [&] {
      ArrayRef made = Array::make();
      for (const Value& value : *array) made->add(copy(value));
      return made;
    });
  }

 private:
  // `ref` is a holder of its own beside the container's place in the original.
  template <typename Ref, typename Make>
  Ref remembered(const Ref& ref, Make make) {
    if (!ref) return nullptr;
    if (!keepShares_ || ref.use_count() <= 2) return make();
    if (const auto found = copies_.find(ref.get()); found != copies_.end()) {
      return std::static_pointer_cast<typename Ref::element_type>(found->second);
    }
    Ref made = make();
    copies_.emplace(ref.get(), made);
    return made;
  }

  bool keepShares_;
  std::unordered_map<const void*, std::shared_ptr<void>> copies_;
};

Value deepCopy(const Value& value) { return DeepCopier(false).copy(value); }

DictRef dictionaryCopy(const DictRef& dictionary) { return DeepCopier(false).copy(dictionary); }

ArrayRef arrayCopy(const ArrayRef& array) { return DeepCopier(false).copy(array); }

DictRef dictionaryCopyKeepingShares(const DictRef& dictionary) { return DeepCopier(true).copy(dictionary); }

}  // namespace platform
