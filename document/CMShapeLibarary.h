#pragma once

// One shape library: a name and its items, in display order. Its class name,
// misspelt, is part of the library file format.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/CMShapeItem.h"
#include "platform/core/error.h"
#include "platform/core/value.h"

class CMShapeLibarary final : public platform::Object {
 public:
  static constexpr std::string_view kClassName = "CMShapeLibarary";
  using Items = std::vector<std::shared_ptr<CMLibraryItem>>;

  CMShapeLibarary() = default;
  explicit CMShapeLibarary(std::string name, Items items = {});
  std::string_view className() const noexcept override { return kClassName; }

  const std::string& name() const noexcept { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  const Items& items() const noexcept { return items_; }
  void setItems(Items items) { items_ = std::move(items); }

  // Writes the library as a library file, atomically.
  platform::Status exportToURL(const std::filesystem::path& path) const;
  // From shape item records {"name", "shape"}.
  void addShape(const platform::DictRef& itemRecord);
  void addImage(const platform::DictRef& itemRecord);
  // Removes that very item; another item with the same contents stays.
  void deleteItem(const CMLibraryItem* item);
  // The same items in the same order: each of the same class and name, with an equal layer record.
  bool hasSameItems(const CMShapeLibarary& other) const;

 private:
  std::string name_;
  Items items_;
};

// Keyed archives of libraries and their items. The coders are registered on
// first use.
namespace shape_library_archive {

platform::Bytes archive(const platform::Value& root);

struct Contents {
  platform::Value root;
  // Libraries, items or elements that were dropped because they could not be read.
  std::size_t dropped = 0;
};
platform::Expected<Contents> unarchive(const platform::Bytes& data);

// A library object inside a value, or null.
std::shared_ptr<CMShapeLibarary> library(const platform::Value& value);

}  // namespace shape_library_archive
