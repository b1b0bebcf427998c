#include "platform/core/binding.h"

#include <utility>

#include "platform/core/log.h"

namespace platform {

std::shared_ptr<const ValueTransformer> BindingOptions::transformer() const {
  if (valueTransformer) return valueTransformer;
  return valueTransformerName.empty() ? nullptr : valueTransformerForName(valueTransformerName);
}

void Bindings::bind(const std::string& name, KeyValueObserving* object, std::string keyPath,
                    std::optional<BindingOptions> options, Setter setter) {
  unbind(name);
  Entry& entry = entries_[name];
  entry.binding = Binding{object, std::move(keyPath), std::move(options)};
  entry.setter = std::move(setter);
  if (!object || entry.binding.keyPath.empty()) return;
  entry.observation = object->observeKeyPath(entry.binding.keyPath, [this, name] {
    if (!pushing_) deliver(name);
  });
  deliver(name);
}

void Bindings::unbind(std::string_view name) {
  if (auto found = entries_.find(name); found != entries_.end()) entries_.erase(found);
}

const Binding* Bindings::infoForBinding(std::string_view name) const {
  const auto found = entries_.find(name);
  return found == entries_.end() ? nullptr : &found->second.binding;
}

void Bindings::deliver(const std::string& name) {
  const auto found = entries_.find(name);
  if (found == entries_.end() || !found->second.setter) return;
  const Binding& binding = found->second.binding;
  Value value = binding.observedObject->valueForKeyPath(binding.keyPath);
  if (binding.options) {
    if (const auto transformer = binding.options->transformer()) value = transformer->transformedValue(value);
  }
  // A copy: the setter may unbind, which destroys the entry.
  const Setter setter = found->second.setter;
  const bool wasDelivering = std::exchange(delivering_, true);
  setter(value);
  delivering_ = wasDelivering;
}

void Bindings::push(std::string_view name, Value value, const BindingPushMessages& messages) {
  const auto found = entries_.find(name);
  if (found == entries_.end() || delivering_) return;
  const Binding binding = found->second.binding;
  if (binding.options) {
    if (const auto transformer = binding.options->transformer()) {
      if (transformer->allowsReverseTransformation()) {
        value = transformer->reverseTransformedValue(value);
      } else {
        logWarning(messages.transformerCannotReverse);
      }
    }
  }
  if (!binding.observedObject) {
    logError(messages.missingObservedObject);
    return;
  }
  if (binding.keyPath.empty()) {
    logError(messages.missingKeyPath);
    return;
  }
  const bool wasPushing = std::exchange(pushing_, true);
  binding.observedObject->setValueForKeyPath(value, binding.keyPath);
  pushing_ = wasPushing;
}

}  // namespace platform
