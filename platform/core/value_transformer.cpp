#include "platform/core/value_transformer.h"

#include <map>
#include <string>
#include <utility>

#include "platform/core/keyed_archive.h"
#include "platform/core/log.h"

namespace platform {
namespace {

// Data that does not hold a readable archive gives nil, as the unarchiver's exception would have.
class KeyedUnarchiveFromData : public ValueTransformer {
 public:
  Value transformedValue(const Value& value) const override {
    if (!value.isData()) return {};
    Expected<Value> object = unarchiveObjectWithData(value.data());
    if (!object) {
      logWarning("An archive in the defaults cannot be read: " + object.error().description);
      return {};
    }
    return std::move(object).value();
  }
  bool allowsReverseTransformation() const override { return true; }
  Value reverseTransformedValue(const Value& value) const override {
    if (value.isNil()) return {};
    return Value(archivedDataWithRootObject(value));
  }
};

using Registry = std::map<std::string, std::shared_ptr<const ValueTransformer>, std::less<>>;

Registry& registry() {
  static Registry transformers{{std::string(kKeyedUnarchiveFromDataTransformerName),
                                std::make_shared<KeyedUnarchiveFromData>()}};
  return transformers;
}

}  // namespace

void setValueTransformer(std::shared_ptr<const ValueTransformer> transformer, std::string_view name) {
  if (transformer) {
    registry().insert_or_assign(std::string(name), std::move(transformer));
  } else if (auto found = registry().find(name); found != registry().end()) {
    registry().erase(found);
  }
}

std::shared_ptr<const ValueTransformer> valueTransformerForName(std::string_view name) {
  const auto found = registry().find(name);
  return found == registry().end() ? nullptr : found->second;
}

}  // namespace platform
