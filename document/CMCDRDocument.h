#pragma once

// The document class of CorelDRAW files: it opens as a new document (the
// drawing itself arrives through the import command) and cannot be saved in
// that format.

#include "document/CMDocument.h"

class CMCDRDocument : public CMDocument {
 public:
  static constexpr const char* kFileType = "cdr";

  // Succeeds without reading: the file's drawing is brought in by importing it.
  platform::Status readFromData(const platform::Bytes& data, std::string_view type) override;
  // Always fails (OSStatus -4), so every save reports an error.
  platform::Expected<platform::Bytes> dataOfType(std::string_view type) override;
};
