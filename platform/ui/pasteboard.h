#pragma once

// NSPasteboard as far as drag and drop needs it: a set of declared types, each
// with its bytes, and the mapping between the program's type names and the
// GTK targets that carry them between widgets and applications.

#include <gtkmm/targetentry.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

namespace pasteboard_type {
inline constexpr const char* FileNames = "NSFilenamesPboardType";
inline constexpr const char* Shape = "NSPasteboardTypeShape";
inline constexpr const char* LayerRows = "NSMutableDictionary";
}  // namespace pasteboard_type

// The GTK target that carries a type (file names travel as a URI list, as other programs send them);
// unknown types travel under their own name.
std::string gtkTargetForType(const std::string& type);
std::string typeForGtkTarget(const std::string& target);
// Layer rows mean nothing outside the program that wrote them, so they never leave it.
Gtk::TargetFlags targetFlagsForType(const std::string& type);

class Pasteboard {
 public:
  using Bytes = std::vector<std::uint8_t>;

  // Replaces the types (duplicates dropped, order kept) and forgets all data.
  void declareTypes(const std::vector<std::string>& types);
  const std::vector<std::string>& types() const { return types_; }
  bool hasType(const std::string& type) const;
  // The first of `wanted` that is declared, as availableTypeFromArray: gives it.
  std::optional<std::string> availableTypeFrom(const std::vector<std::string>& wanted) const;

  // False (and nothing stored) for a type that was not declared.
  bool setData(Bytes data, const std::string& type);
  std::optional<Bytes> dataForType(const std::string& type) const;

  // File names under the file-names type, carried as a URI list; names that are not absolute paths are refused.
  bool setFileNames(const std::vector<std::string>& paths);
  std::vector<std::string> fileNames() const;

 private:
  std::vector<std::string> types_;
  std::vector<std::optional<Bytes>> data_;  // parallel to types_
};

}  // namespace platform
