#pragma once

// The store of every shape library, kept in "shapes_library.data" in the
// support folder and seeded from the resources. It remembers the selected
// library by index in the user defaults and saves after every change.
//
// Damaged store files are never lost: one that cannot be read is moved aside
// as "<file>.corrupt-<UTC time>" and the seed read instead; one read only in
// part is copied aside before the first save replaces it. Problems the user
// must hear of wait in alertMessages() for the panel to show.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/CMShapeLibarary.h"
#include "platform/core/error.h"
#include "platform/core/value.h"

class CMLayer;

class CMShapeLibraries {
 public:
  using Libraries = std::vector<std::shared_ptr<CMShapeLibarary>>;
  static constexpr const char* kStoreFileName = "shapes_library.data";
  static constexpr const char* kSelectionKey = "selectLibraryIndex";
  // Imports past these are refused; the user's own store is never capped.
  static constexpr std::uintmax_t kLargestImportBytes = 512ull << 20;
  static constexpr std::size_t kMostImportedItems = 10000;

  // Reads the store (seeding it first when there is none) and selects the library stored by index.
  CMShapeLibraries();

  // Copies the seed store into the support folder unless a store is there.
  static void updateShapesLibrary();
  static std::filesystem::path storePath();

  const Libraries& items() const noexcept { return items_; }
  void setItems(Libraries items) { items_ = std::move(items); }
  const std::shared_ptr<CMShapeLibarary>& selectedLibrary() const noexcept { return selectedLibrary_; }
  void setSelectedLibrary(std::shared_ptr<CMShapeLibarary> library) { selectedLibrary_ = std::move(library); }

  // Replaces the list with the store file's; false when there is no store file.
  bool load();
  void loadDefault();
  // Writes the whole list atomically; a failure keeps the previous file and is reported.
  void save();

  // Selects the first library of that name and stores its index; no match selects nothing.
  void selectLibrary(const std::string& name);
  void remove(const std::shared_ptr<CMShapeLibarary>& library);
  // False when another library has the name.
  bool rename(const std::string& name);
  // False when a library has the name; otherwise the new empty library is selected.
  bool createNew(const std::string& name);
  std::string generateNewName() const;
  // Imports a library file under a free name and selects it.
  platform::Status addWithURL(const std::filesystem::path& path);
  // Appends the library under a free name (its own, else numbered from 1), selects it and saves.
  void addLibrary(std::shared_ptr<CMShapeLibarary> library);
  // The library of a library file; an error naming the file when it cannot be read or holds too much.
  static platform::Expected<std::shared_ptr<CMShapeLibarary>> readLibraryFile(const std::filesystem::path& path);

  // Copies of the layers' records, placed at the origin, become items of the selected library.
  void addShapes(const std::vector<CMLayer*>& layers);
  void addImages(const std::vector<CMLayer*>& layers);
  void deleteItem(const CMLibraryItem* item);

  // Messages for the user gathered since the last call ("Error" alerts), each once.
  std::vector<std::string> takeAlertMessages();

 private:
  enum class Read { Missing, Good, Partial, Unreadable };
  Read readStore(std::string& reason);
  void recoverUnreadableStore(const std::string& reason);
  void addLayers(const std::vector<CMLayer*>& layers, bool images);
  bool hasLibraryNamed(const std::string& name, const CMShapeLibarary* except = nullptr) const;
  void tell(std::string message) { alertMessages_.push_back(std::move(message)); }

  Libraries items_;
  std::shared_ptr<CMShapeLibarary> selectedLibrary_;
  std::vector<std::string> alertMessages_;
  bool copyAsideBeforeSave_ = false;  // the store file was read in part
  bool mayWrite_ = true;              // false while a damaged store could not be kept aside
  bool saveFailureTold_ = false;
};
