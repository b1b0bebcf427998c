#include "platform/ui/recent_documents.h"

#include <giomm/file.h>
#include <glibmm/miscutils.h>
#include <gtkmm/recentmanager.h>

#include <algorithm>

namespace platform {

void RecentDocuments::noteNewRecentDocumentURL(const std::filesystem::path& path) {
  Gtk::RecentManager::Data data;
  data.app_name = Glib::get_application_name();
  data.app_exec = Glib::get_prgname() + " %f";
  data.mime_type = "application/octet-stream";
  Gtk::RecentManager::get_default()->add_item(Gio::File::create_for_path(path.string())->get_uri(), data);
}

std::vector<std::filesystem::path> RecentDocuments::recentDocumentURLs() {
  std::vector<Glib::RefPtr<Gtk::RecentInfo>> items = Gtk::RecentManager::get_default()->get_items();
  std::ranges::sort(items, [](const auto& a, const auto& b) { return a->get_modified() > b->get_modified(); });
  const std::string application = Glib::get_application_name();
  std::vector<std::filesystem::path> paths;
  for (const Glib::RefPtr<Gtk::RecentInfo>& item : items) {
    if (paths.size() == kMaximumCount) break;
    if (!item->is_local() || !item->has_application(application)) continue;
    const std::string path = Gio::File::create_for_uri(item->get_uri())->get_path();
    if (!path.empty()) paths.emplace_back(path);
  }
  return paths;
}

}  // namespace platform
