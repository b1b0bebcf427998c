#pragma once

// Cocoa bindings, as far as this program uses them: a named property of an
// object kept in step with a key path of an observed object (the shared
// user-defaults controller, say). The model's value reaches the property
// through the binding's value transformer when it is bound and whenever it
// changes; the object pushes its own changes back, reverse-transformed.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/notification_center.h"
#include "platform/core/value.h"
#include "platform/core/value_transformer.h"

namespace platform {

// What a binding can observe (key-value observing and coding).
class KeyValueObserving {
 public:
  virtual ~KeyValueObserving() = default;
  virtual Value valueForKeyPath(std::string_view keyPath) const = 0;
  virtual void setValueForKeyPath(const Value& value, std::string_view keyPath) = 0;
  // The handler runs after the value at the key path has changed.
  [[nodiscard]] virtual ObserverToken observeKeyPath(std::string_view keyPath, std::function<void()> handler) = 0;
};

struct BindingOptions {
  // NSValueTransformerBindingOption; without it NSValueTransformerNameBindingOption names one in the registry.
  std::shared_ptr<const ValueTransformer> valueTransformer;
  std::string valueTransformerName;

  std::shared_ptr<const ValueTransformer> transformer() const;
};

// infoForBinding: the observed object (null when missing), its key path and the options, if any.
struct Binding {
  KeyValueObserving* observedObject = nullptr;
  std::string keyPath;
  std::optional<BindingOptions> options;
};

// The log lines of a push that cannot be done as asked, each complete.
struct BindingPushMessages {
  std::string transformerCannotReverse;
  std::string missingObservedObject;
  std::string missingKeyPath;
};

// The bindings of one object: bind:toObject:withKeyPath:options:, unbind:, infoForBinding:.
class Bindings {
 public:
  using Setter = std::function<void(const Value&)>;

  Bindings() = default;
  Bindings(const Bindings&) = delete;
  Bindings& operator=(const Bindings&) = delete;

  // Replaces any binding of that name. With an observed object the setter gets its (transformed) value now and
  // after every change.
  void bind(const std::string& name, KeyValueObserving* object, std::string keyPath,
            std::optional<BindingOptions> options, Setter setter);
  void unbind(std::string_view name);
  const Binding* infoForBinding(std::string_view name) const;

  // Writes the object's new value into the model: reverse-transformed when the transformer allows it (otherwise
  // logged and written as it is); logged and not written without an observed object or key path. Does nothing
  // without a binding of that name, or while the binding is handing the model's own value to the object.
  void push(std::string_view name, Value value, const BindingPushMessages& messages);

 private:
  struct Entry {
    Binding binding;
    Setter setter;
    ObserverToken observation;
  };
  void deliver(const std::string& name);

  std::map<std::string, Entry, std::less<>> entries_;
  // Set while a value travels one way, so its echo from the other side is not sent back.
  bool delivering_ = false;
  bool pushing_ = false;
};

}  // namespace platform
