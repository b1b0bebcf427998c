#include "platform/core/class_coder_registry.h"

#include <mutex>

#include "platform/core/archive_coders.h"
#include "platform/core/log.h"

namespace platform {
namespace {

struct Registry {
  std::mutex mutex;
  std::shared_ptr<const ClassCoderTable> table;
};

Registry& registry() {
  static Registry instance{{}, std::make_shared<const ClassCoderTable>(propertyListClassCoders())};
  return instance;
}

// Copy on write: readers hold the table they started with.
template <class Coder>
void registerInTable(std::shared_ptr<const Coder> coder) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  auto table = std::make_shared<ClassCoderTable>(*r.table);
  table->add(std::move(coder));
  r.table = std::move(table);
}

}  // namespace

void ClassCoderTable::add(std::shared_ptr<const ClassCoder> coder) {
  const std::vector<std::string> chain = coder->classChain();
  if (chain.empty()) {
    logWarning("A class coder without a class name was not registered.");
    return;
  }
  coders_[chain.front()] = coder;
  add(std::shared_ptr<const ClassDecoder>(std::move(coder)));
}

void ClassCoderTable::add(std::shared_ptr<const ClassDecoder> decoder) {
  for (const std::string& name : decoder->decodedClassNames()) decoders_[name] = decoder;
}

const ClassCoder* ClassCoderTable::coder(std::string_view className) const {
  auto it = coders_.find(className);
  return it == coders_.end() ? nullptr : it->second.get();
}

const ClassDecoder* ClassCoderTable::decoder(std::string_view className) const {
  auto it = decoders_.find(className);
  return it == decoders_.end() ? nullptr : it->second.get();
}

std::shared_ptr<const ClassCoderTable> classCoders() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  return r.table;
}

void registerClassCoder(std::shared_ptr<const ClassCoder> coder) {
  if (coder) registerInTable(std::move(coder));
}

void registerClassDecoder(std::shared_ptr<const ClassDecoder> decoder) {
  if (decoder) registerInTable(std::move(decoder));
}

}  // namespace platform
