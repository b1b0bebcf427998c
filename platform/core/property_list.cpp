#include "platform/core/property_list.h"

#include "platform/core/binary_plist_reader.h"
#include "platform/core/binary_plist_values.h"
#include "platform/core/files.h"
#include "platform/core/xml_plist.h"

namespace platform {

Expected<Value> propertyListFromData(const Bytes& data) {
  return isBinaryPropertyList(data) ? valueFromBinaryPropertyList(data) : valueFromXmlPropertyList(data);
}

Expected<Bytes> dataFromPropertyList(const Value& value, PropertyListFormat format) {
  return format == PropertyListFormat::Binary ? binaryPropertyListFromValue(value) : xmlPropertyListFromValue(value);
}

Expected<Value> readPropertyListFile(const std::filesystem::path& path) {
  auto data = readFile(path);
  if (!data) return data.error();
  return propertyListFromData(data.value());
}

Status writePropertyListFile(const std::filesystem::path& path, const Value& value, PropertyListFormat format) {
  auto data = dataFromPropertyList(value, format);
  if (!data) return data.error();
  return writeFileAtomically(path, data.value());
}

}  // namespace platform
