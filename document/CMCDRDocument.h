#pragma once

// The document class of CorelDRAW files: opening one reads its drawing, through the CorelDRAW reader the import
// layer installs, into a new document; it cannot be saved in that format (Save As offers the program's own).

#include "document/CMDocument.h"

class CMCDRDocument : public CMDocument {
 public:
  static constexpr const char* kFileType = "cdr";

  // The drawing's records become the document's layers; "Unsupported file format!" when it cannot be read.
  platform::Status readFromData(const platform::Bytes& data, std::string_view type) override;
  // Saving in the CorelDRAW format always fails (OSStatus -4), so Save asks for a drawing file of the program's own
  // type, as Save As does; saved as that type, the drawing keeps its edits.
  platform::Expected<platform::Bytes> dataOfType(std::string_view type) override;
  bool canWriteType(std::string_view type) const override { return type == CMDocument::kFileType; }
};
