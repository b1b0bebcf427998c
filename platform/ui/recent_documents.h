#pragma once

// The recent-documents list on the desktop's own (Gtk::RecentManager, shared
// with other programs' "Recent" lists): the program's files, newest first, at
// most ten. Files that have gone since stay listed; opening them says so.

#include <filesystem>
#include <vector>

namespace platform {

class RecentDocuments {
 public:
  static constexpr std::size_t kMaximumCount = 10;
  static void noteNewRecentDocumentURL(const std::filesystem::path& path);
  // The program's recent files, newest first.
  static std::vector<std::filesystem::path> recentDocumentURLs();
};

}  // namespace platform
