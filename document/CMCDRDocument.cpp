#include "document/CMCDRDocument.h"

platform::Status CMCDRDocument::readFromData(const platform::Bytes&, std::string_view) { return platform::success(); }

platform::Expected<platform::Bytes> CMCDRDocument::dataOfType(std::string_view) {
  return platform::Error::osStatus(-4);
}
