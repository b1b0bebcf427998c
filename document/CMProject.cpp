#include "document/CMProject.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "document/CMUserNotices.h"
#include "platform/core/bundle.h"
#include "platform/core/folders.h"
#include "platform/core/log.h"
#include "platform/core/resources.h"

namespace {

constexpr const char* kRightPanelShowTypeKey = "rightPanelShowType";

std::unique_ptr<CMProject>& sharedProject() {
  static std::unique_ptr<CMProject> project;
  return project;
}

// The default objects of the resource file, read once for as long as the same file is found: an import makes a
// record from them for every element it reads.
platform::DictRef defaultObjects() {
  static std::mutex mutex;
  static std::filesystem::path readFrom;
  static platform::DictRef objects;
  const std::lock_guard lock(mutex);
  const std::filesystem::path path = platform::pathForResource("data", "plist");
  if (!objects || path != readFrom) {
    const platform::DictRef data = platform::dictionaryResource("data");
    objects = data ? data->dictionary("objects") : nullptr;
    readFrom = path;
  }
  return objects;
}

// The settings hold the tool keys too, so a damaged settings file resets both.
void tellOfDamagedSettings(platform::UserDefaults& settings) {
  const std::optional<platform::UserDefaults::DamagedFile> damaged = settings.takeDamagedFile();
  if (!damaged) return;
  const std::string problem =
      "The settings file \u201c" + settings.filePath().string() + "\u201d could not be read (" + damaged->reason + ").";
  if (damaged->keptAs.empty()) {
    CMUserNotices::post(problem +
                        " Settings and tool keys start from their defaults; the file could not be moved aside, so "
                        "changes to them will not be saved over it.");
  } else {
    CMUserNotices::post(problem + " Settings and tool keys were reset to their defaults; the old file was kept as \u201c" +
                        damaged->keptAs.string() + "\u201d.");
  }
}

}  // namespace

CMProject& CMProject::shareProject() {
  if (!sharedProject()) sharedProject() = std::make_unique<CMProject>();
  return *sharedProject();
}

void CMProject::resetSharedProject() { sharedProject().reset(); }

CMProject::CMProject()
    : profile_(std::make_unique<CMGlobalProfile>()), keyBindings_(std::make_unique<CMKeyBindingManager>()) {
  tellOfDamagedSettings(settings());
  rightPanelShowType_ = profile_->integerForKey(kRightPanelShowTypeKey);
  if (platform::DictRef settingsDefaults = platform::dictionaryResource("settings")) {
    settings().registerDefaults(settingsDefaults);
  }
}

void CMProject::setRightPanelShowType(std::int32_t type) {
  rightPanelShowType_ = type;
  profile_->setInteger(type, kRightPanelShowTypeKey);
}

platform::UserDefaults& CMProject::settings() const { return platform::UserDefaults::standardUserDefaults(); }

void CMProject::saveSettings() const {
  if (const platform::Status written = settings().synchronize(); !written) {
    platform::logWarning("The settings were not saved: " + written.error().description);
  }
}

platform::DictRef CMProject::defaultObject(std::string_view name) {
  const platform::DictRef objects = defaultObjects();
  if (!objects) return nullptr;
  platform::DictRef record = objects->dictionary(name);
  return record ? platform::dictionaryCopy(record) : nullptr;
}

std::filesystem::path CMProject::appFilePath(std::string_view fileName) {
  std::filesystem::path folder = platform::applicationSupportDirectory() / platform::bundleName();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) platform::logWarning("cannot create the support folder " + folder.string() + ": " + error.message());
  return folder / fileName;
}
