#include "io/cdr/TMPManager.h"

#include <glib.h>

#include <memory>

#include "platform/core/files.h"
#include "platform/core/folders.h"
#include "platform/core/notification_center.h"
#include "platform/core/uuid.h"

TMPManager& TMPManager::instance() {
  static TMPManager manager;
  return manager;
}

TMPManager::TMPManager() : folder_(platform::temporaryFolder()) {}

std::optional<std::string> TMPManager::saveData(const unsigned char* bytes, std::size_t length) {
  if (length > kLargestFile || bytesWritten_ + length > kMostBytes) return std::nullopt;
  std::filesystem::path path = folder_ / platform::makeUUIDString();
  path.replace_extension("bmp");
  if (!platform::writeFileAtomically(path, bytes, length)) return std::nullopt;
  const std::unique_ptr<char, decltype(&g_free)> uri(g_filename_to_uri(path.c_str(), nullptr, nullptr), g_free);
  if (!uri) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return std::nullopt;
  }
  bytesWritten_ += length;
  files_.insert(path.string());
  const platform::DictRef userInfo = platform::Dictionary::make();
  userInfo->set("FilePath", std::string(uri.get()));
  platform::NotificationCenter::defaultCenter().post(kTMPManagerDidSavedFileNotification, nullptr, userInfo);
  return std::string(uri.get());
}

void TMPManager::removeAllFiles() {
  for (const std::string& file : files_) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
  files_.clear();
  bytesWritten_ = 0;
}

std::optional<std::string> getFileURL(const librevenge::RVNGProperty& property) {
  gsize length = 0;
  const std::unique_ptr<guchar, decltype(&g_free)> bytes(g_base64_decode(property.getStr().cstr(), &length), g_free);
  return TMPManager::instance().saveData(bytes.get(), length);
}
