#pragma once

// The recent-documents list on the desktop's own (Gtk::RecentManager, shared
// with other programs' "Recent" lists): the program's files, newest first, at
// most ten. Files that have gone since stay listed; opening them says so.
// GTK's file dialogs list every file chosen in them under the program's name
// too (exports, pictures, names never written): only the entries noted here,
// in the program's own group, are its documents.

#include <filesystem>
#include <vector>

namespace platform {

class RecentDocuments {
 public:
  static constexpr std::size_t kMaximumCount = 10;
  static constexpr const char* kGroup = "draftwork-documents";
  static void noteNewRecentDocumentURL(const std::filesystem::path& path);
  // The program's recent files, newest first.
  static std::vector<std::filesystem::path> recentDocumentURLs();
};

}  // namespace platform
