#pragma once

// A factory the upper layer installs at start-up for a service the model
// creates afresh for each use (an export manager, an output format). Until
// something is installed, make() gives null and callers skip the service.

#include <functional>
#include <memory>
#include <utility>

template <class Service>
class CMInstalledFactory {
 public:
  using Factory = std::function<std::unique_ptr<Service>()>;

  // Returns the previous factory, so a test can put it back.
  static Factory install(Factory factory) { return std::exchange(slot(), std::move(factory)); }
  static std::unique_ptr<Service> make() { return slot() ? slot()() : nullptr; }

 private:
  static Factory& slot() {
    static Factory factory;
    return factory;
  }
};
