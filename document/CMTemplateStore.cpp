#include "document/CMTemplateStore.h"

#include <system_error>

#include "document/CMUserNotices.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"

platform::ArrayRef readTemplateRecords(const platform::Bytes& bytes) {
  platform::Expected<platform::Value> archived = platform::unarchiveObjectWithData(bytes);
  if (!archived || !archived.value().isArray()) return nullptr;
  platform::ArrayRef records = platform::Array::make();
  for (const platform::Value& entry : *archived.value().array()) {
    const platform::DictRef record = entry.dictionary();
    if (record && record->get("data").isData()) records->add(platform::Value(platform::dictionaryCopy(record)));
  }
  return records;
}

platform::ArrayRef readTemplateFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return nullptr;
  platform::Expected<platform::Bytes> bytes = platform::readFile(path);
  return bytes ? readTemplateRecords(bytes.value()) : nullptr;
}

platform::ArrayRef readUserTemplateStore(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found) {
    return platform::Array::make();
  }
  if (platform::ArrayRef records = readTemplateFile(path)) return records;
  const std::string problem = "Your templates in \u201c" + path.string() + "\u201d could not be read.";
  platform::Expected<std::filesystem::path> aside = platform::setAsideCorruptFile(path, platform::AsideMethod::Move);
  if (!aside) {
    CMUserNotices::post(problem + " The file could not be moved aside (" + aside.error().description +
                        "), so no template is saved over it.");
    return nullptr;
  }
  CMUserNotices::post(problem + " The file was kept as \u201c" + aside.value().string() +
                      "\u201d and a new store is started.");
  return platform::Array::make();
}

platform::DictRef templateRootRecord(const platform::DictRef& record) {
  if (!record || !record->get("data").isData()) return nullptr;
  platform::Expected<platform::Value> root = platform::unarchiveObjectWithData(record->get("data").data());
  if (!root) return nullptr;
  const platform::DictRef document = root.value().dictionary();
  return document && document->get("layers").isArray() ? document : nullptr;
}

std::string templateImageName(const platform::DictRef& record) {
  const std::string name = record ? record->get("imagefilename").string() : std::string();
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) return {};
  return name;
}
