#include "document/CMShapeLibraries.h"

#include <algorithm>
#include <system_error>

#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/core/files.h"
#include "platform/core/log.h"
#include "platform/core/resources.h"
#include "platform/core/user_defaults.h"

using platform::Value;

namespace {

// NSFileReadCorruptFileError.
constexpr std::int64_t kUnreadableFileCode = 259;

platform::Error importError(std::string message) {
  return platform::Error::make(platform::Error::cocoaDomain, kUnreadableFileCode, std::move(message));
}

std::string quoted(const std::filesystem::path& path) { return "\"" + path.filename().string() + "\""; }

}  // namespace

CMShapeLibraries::CMShapeLibraries() {
  if (!load()) {
    loadDefault();
    // The seed just copied is the store from now on; an empty list would be saved over it at the first change.
    load();
  }
  if (items_.empty()) return;
  const std::int64_t stored = platform::UserDefaults::standardUserDefaults().integerForKey(kSelectionKey);
  const std::size_t index = stored < 0 || static_cast<std::uint64_t>(stored) >= items_.size()
                                ? 0
                                : static_cast<std::size_t>(stored);
  selectedLibrary_ = items_[index];
}

std::filesystem::path CMShapeLibraries::storePath() { return CMProject::appFilePath(kStoreFileName); }

void CMShapeLibraries::updateShapesLibrary() {
  const std::filesystem::path store = storePath();
  std::error_code error;
  if (std::filesystem::symlink_status(store, error).type() != std::filesystem::file_type::not_found) return;
  const std::filesystem::path seed = platform::pathForResource("shapes_library", "data");
  if (seed.empty()) {
    platform::logWarning("The built-in shape libraries are missing from the resources.");
    return;
  }
  std::filesystem::copy_file(seed, store, error);
  if (error) platform::logWarning("Could not copy the built-in shape libraries: " + error.message());
}

bool CMShapeLibraries::load() {
  items_.clear();
  selectedLibrary_ = nullptr;
  std::string reason;
  switch (readStore(reason)) {
    case Read::Missing: return false;
    case Read::Good: break;
    case Read::Partial: copyAsideBeforeSave_ = true; break;
    case Read::Unreadable: recoverUnreadableStore(reason); break;
  }
  return true;
}

void CMShapeLibraries::loadDefault() { updateShapesLibrary(); }

CMShapeLibraries::Read CMShapeLibraries::readStore(std::string& reason) {
  const std::filesystem::path path = storePath();
  std::error_code error;
  if (std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found) {
    return Read::Missing;
  }
  platform::Expected<platform::Bytes> bytes = platform::readFile(path);
  if (!bytes) {
    reason = bytes.error().description;
    return Read::Unreadable;
  }
  platform::Expected<shape_library_archive::Contents> contents = shape_library_archive::unarchive(bytes.value());
  if (!contents) {
    reason = contents.error().description;
    return Read::Unreadable;
  }
  const platform::ArrayRef root = contents.value().root.array();
  if (!root) {
    reason = "it does not hold a list of shape libraries";
    return Read::Unreadable;
  }
  std::size_t dropped = contents.value().dropped;
  for (const Value& element : *root) {
    if (auto library = shape_library_archive::library(element)) {
      items_.push_back(std::move(library));
    } else {
      ++dropped;
    }
  }
  return dropped == 0 ? Read::Good : Read::Partial;
}

void CMShapeLibraries::recoverUnreadableStore(const std::string& reason) {
  const std::filesystem::path path = storePath();
  const std::string problem = "The shape libraries in " + quoted(path) + " could not be read (" + reason + ").";
  platform::Expected<std::filesystem::path> aside = platform::setAsideCorruptFile(path, platform::AsideMethod::Move);
  if (!aside) {
    mayWrite_ = false;
    tell(problem + " The file could not be kept aside (" + aside.error().description +
         "), so changes to the libraries will not be saved over it.");
    return;
  }
  updateShapesLibrary();
  std::string ignored;
  if (readStore(ignored) == Read::Partial) copyAsideBeforeSave_ = true;
  tell(problem + " It was kept as " + quoted(aside.value()) + " and the built-in libraries were restored.");
}

void CMShapeLibraries::save() {
  const std::filesystem::path path = storePath();
  if (!mayWrite_) {
    platform::logWarning("Not saving the shape libraries over the damaged " + path.string());
    return;
  }
  if (copyAsideBeforeSave_) {
    platform::Expected<std::filesystem::path> aside = platform::setAsideCorruptFile(path, platform::AsideMethod::Copy);
    if (!aside) {
      mayWrite_ = false;
      tell("Some of the shape libraries in " + quoted(path) + " could not be read, and the file could not be kept (" +
           aside.error().description + "), so changes to the libraries will not be saved over it.");
      return;
    }
    copyAsideBeforeSave_ = false;
    tell("Some of the shape libraries in " + quoted(path) + " could not be read. The file as it was is kept as " +
         quoted(aside.value()) + ".");
  }
  platform::ArrayRef list = platform::Array::make();
  for (const auto& library : items_) list->add(Value(platform::ObjectRef(library)));
  const platform::Status written = platform::writeFileAtomically(path, shape_library_archive::archive(Value(list)));
  if (written) {
    saveFailureTold_ = false;
  } else if (!saveFailureTold_) {
    saveFailureTold_ = true;
    tell("The shape libraries could not be saved: " + written.error().description);
  }
}

void CMShapeLibraries::selectLibrary(const std::string& name) {
  selectedLibrary_ = nullptr;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->name() != name) continue;
    selectedLibrary_ = items_[i];
    platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
    defaults.setInteger(static_cast<std::int64_t>(i), kSelectionKey);
    if (const platform::Status written = defaults.synchronize(); !written) {
      platform::logWarning("The selected shape library is not remembered: " + written.error().description);
    }
    return;
  }
}

void CMShapeLibraries::remove(const std::shared_ptr<CMShapeLibarary>& library) {
  const auto found = std::find(items_.begin(), items_.end(), library);
  if (found == items_.end()) return;
  if (library == selectedLibrary_) {
    // The one before it, else the one after it, else none.
    if (found != items_.begin()) {
      selectedLibrary_ = *(found - 1);
    } else {
      selectedLibrary_ = found + 1 != items_.end() ? *(found + 1) : nullptr;
    }
  }
  items_.erase(found);
  save();
}

bool CMShapeLibraries::hasLibraryNamed(const std::string& name, const CMShapeLibarary* except) const {
  return std::any_of(items_.begin(), items_.end(), [&](const std::shared_ptr<CMShapeLibarary>& library) {
    return library.get() != except && library->name() == name;
  });
}

bool CMShapeLibraries::rename(const std::string& name) {
  if (hasLibraryNamed(name, selectedLibrary_.get())) return false;
  if (selectedLibrary_) selectedLibrary_->setName(name);
  save();
  return true;
}

bool CMShapeLibraries::createNew(const std::string& name) {
  if (hasLibraryNamed(name)) return false;
  items_.push_back(std::make_shared<CMShapeLibarary>(name));
  selectedLibrary_ = items_.back();
  save();
  return true;
}

std::string CMShapeLibraries::generateNewName() const {
  for (std::size_t n = 1;; ++n) {
    std::string name = "Shapes Library" + std::to_string(n);
    if (!hasLibraryNamed(name)) return name;
  }
}

platform::Expected<std::shared_ptr<CMShapeLibarary>> CMShapeLibraries::readLibraryFile(
    const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > kLargestImportBytes) {
    return importError("The file " + quoted(path) + " is too large to be a shape library.");
  }
  platform::Expected<platform::Bytes> bytes = platform::readFile(path);
  if (!bytes) return importError("The file " + quoted(path) + " could not be read.");
  platform::Expected<shape_library_archive::Contents> contents = shape_library_archive::unarchive(bytes.value());
  std::shared_ptr<CMShapeLibarary> library = contents ? shape_library_archive::library(contents.value().root) : nullptr;
  if (!library) return importError("The file " + quoted(path) + " is not a shape library.");
  if (library->items().size() > kMostImportedItems) {
    return importError("The library in " + quoted(path) + " holds more than 10,000 shapes and was not imported.");
  }
  return library;
}

platform::Status CMShapeLibraries::addWithURL(const std::filesystem::path& path) {
  platform::Expected<std::shared_ptr<CMShapeLibarary>> library = readLibraryFile(path);
  if (!library) return library.error();
  addLibrary(std::move(library).value());
  return platform::success();
}

void CMShapeLibraries::addLibrary(std::shared_ptr<CMShapeLibarary> library) {
  const std::string ownName = library->name();
  std::string candidate = ownName;
  for (std::size_t n = 1; hasLibraryNamed(candidate); ++n) candidate = ownName + std::to_string(n);
  library->setName(candidate);
  items_.push_back(library);
  selectedLibrary_ = std::move(library);
  save();
}

void CMShapeLibraries::addLayers(const std::vector<CMLayer*>& layers, bool images) {
  if (!selectedLibrary_) return;
  for (CMLayer* layer : layers) {
    if (!layer || !layer->data()) continue;
    platform::DictRef copy = platform::dictionaryCopy(layer->data());
    copy->set("x", Value(0.0f));
    copy->set("y", Value(0.0f));
    copy->set("rotation", Value(0.0f));
    const platform::DictRef itemRecord = platform::Dictionary::make({{"name", Value("shape")}, {"shape", Value(copy)}});
    if (images) {
      selectedLibrary_->addImage(itemRecord);
    } else {
      selectedLibrary_->addShape(itemRecord);
    }
  }
  save();
}

void CMShapeLibraries::addShapes(const std::vector<CMLayer*>& layers) { addLayers(layers, false); }

void CMShapeLibraries::addImages(const std::vector<CMLayer*>& layers) { addLayers(layers, true); }

void CMShapeLibraries::deleteItem(const CMLibraryItem* item) {
  if (!selectedLibrary_) return;
  selectedLibrary_->deleteItem(item);
  save();
}

std::vector<std::string> CMShapeLibraries::takeAlertMessages() { return std::exchange(alertMessages_, {}); }
