#include "document/CMShapeLibarary.h"

#include <algorithm>
#include <mutex>

#include "platform/core/class_coder_registry.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"

using platform::Value;

namespace {

// What the coders of this file refused while the current thread unarchives.
thread_local std::size_t droppedElements = 0;

std::shared_ptr<CMLibraryItem> libraryItem(const Value& value) {
  return std::dynamic_pointer_cast<CMLibraryItem>(value.object());
}

template <class Item>
class CMLibraryItemCoder final : public platform::ClassCoder {
 public:
  std::vector<std::string> decodedClassNames() const override { return {std::string(Item::kClassName)}; }
  std::vector<std::string> classChain() const override { return {std::string(Item::kClassName), "NSObject"}; }

  void encode(const Value& value, platform::KeyedEncoder& encoder) const override {
    const std::shared_ptr<CMLibraryItem> item = libraryItem(value);
    if (!item) return;
    encoder.encode("name", Value(item->name()));
    encoder.encode("shape", Value(item->shapeData()));
  }

  // An item without a layer record reads as nil; a missing name reads "shape".
  platform::Expected<Value> decode(platform::KeyedDecoder& decoder) const override {
    platform::Expected<Value> shape = decoder.decode("shape");
    if (!shape) return shape.error();
    if (!shape.value().isDictionary()) return Value();
    platform::Expected<Value> name = decoder.decode("name");
    if (!name) return name.error();
    const std::string itemName = name.value().isString() ? name.value().string() : std::string("shape");
    return Value(platform::ObjectRef(std::make_shared<Item>(itemName, shape.value().dictionary())));
  }
};

class CMShapeLibararyCoder final : public platform::ClassCoder {
 public:
  std::vector<std::string> decodedClassNames() const override { return {std::string(CMShapeLibarary::kClassName)}; }
  std::vector<std::string> classChain() const override {
    return {std::string(CMShapeLibarary::kClassName), "NSObject"};
  }

  void encode(const Value& value, platform::KeyedEncoder& encoder) const override {
    const std::shared_ptr<CMShapeLibarary> library = shape_library_archive::library(value);
    if (!library) return;
    platform::ArrayRef items = platform::Array::make();
    for (const auto& item : library->items()) items->add(Value(platform::ObjectRef(item)));
    encoder.encode("name", Value(library->name()));
    encoder.encode("items", Value(items));
  }

  // A library without a name reads as nil; elements of "items" that are not items are dropped.
  platform::Expected<Value> decode(platform::KeyedDecoder& decoder) const override {
    platform::Expected<Value> name = decoder.decode("name");
    if (!name) return name.error();
    if (!name.value().isString()) return Value();
    platform::Expected<Value> items = decoder.decode("items");
    if (!items) return items.error();
    CMShapeLibarary::Items read;
    if (const platform::ArrayRef array = items.value().array()) {
      read.reserve(array->size());
      for (const Value& element : *array) {
        if (auto item = libraryItem(element)) {
          read.push_back(std::move(item));
        } else {
          ++droppedElements;
        }
      }
    } else if (!items.value().isNil()) {
      ++droppedElements;
    }
    return Value(platform::ObjectRef(std::make_shared<CMShapeLibarary>(name.value().string(), std::move(read))));
  }
};

void registerCoders() {
  static std::once_flag once;
  std::call_once(once, [] {
    platform::registerClassCoder(std::make_shared<CMLibraryItemCoder<CMShapeItem>>());
    platform::registerClassCoder(std::make_shared<CMLibraryItemCoder<CMImageShapeItem>>());
    platform::registerClassCoder(std::make_shared<CMShapeLibararyCoder>());
  });
}

}  // namespace

CMShapeLibarary::CMShapeLibarary(std::string name, Items items) : name_(std::move(name)), items_(std::move(items)) {}

platform::Status CMShapeLibarary::exportToURL(const std::filesystem::path& path) const {
  // Archives take values, which hold shared objects: a copy sharing the items stands in for this library.
  auto self = std::make_shared<CMShapeLibarary>(name_, items_);
  return platform::writeFileAtomically(path, shape_library_archive::archive(Value(platform::ObjectRef(self))));
}

void CMShapeLibarary::addShape(const platform::DictRef& itemRecord) { items_.push_back(CMShapeItem::make(itemRecord)); }

void CMShapeLibarary::addImage(const platform::DictRef& itemRecord) {
  items_.push_back(CMImageShapeItem::make(itemRecord));
}

void CMShapeLibarary::deleteItem(const CMLibraryItem* item) {
  std::erase_if(items_, [item](const std::shared_ptr<CMLibraryItem>& candidate) { return candidate.get() == item; });
}

bool CMShapeLibarary::hasSameItems(const CMShapeLibarary& other) const {
  return std::equal(items_.begin(), items_.end(), other.items_.begin(), other.items_.end(),
                    [](const std::shared_ptr<CMLibraryItem>& a, const std::shared_ptr<CMLibraryItem>& b) {
                      if (a->className() != b->className() || a->name() != b->name()) return false;
                      if (!a->shapeData() || !b->shapeData()) return a->shapeData() == b->shapeData();
                      return a->shapeData()->isEqual(*b->shapeData());
                    });
}

namespace shape_library_archive {

platform::Bytes archive(const Value& root) {
  registerCoders();
  return platform::archivedDataWithRootObject(root);
}

platform::Expected<Contents> unarchive(const platform::Bytes& data) {
  registerCoders();
  droppedElements = 0;
  platform::UnarchiveReport report;
  platform::Expected<Value> root = platform::unarchiveObjectWithData(data, report);
  if (!root) return root.error();
  return Contents{std::move(root.value()), report.nilObjects + droppedElements};
}

std::shared_ptr<CMShapeLibarary> library(const Value& value) {
  return std::dynamic_pointer_cast<CMShapeLibarary>(value.object());
}

}  // namespace shape_library_archive
