#include "platform/core/property_list.h"

#include <string_view>

#include "platform/core/binary_plist_reader.h"
#include "platform/core/binary_plist_values.h"
#include "platform/core/files.h"
#include "platform/core/xml_plist.h"

namespace platform {

Expected<Value> propertyListFromData(const Bytes& data) {
  return isBinaryPropertyList(data) ? valueFromBinaryPropertyList(data) : valueFromXmlPropertyList(data);
}

bool mayBePropertyList(const Bytes& data) {
  if (isBinaryPropertyList(data)) return true;
  std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && text[first] == '<';
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
