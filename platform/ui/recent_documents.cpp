#include "platform/ui/recent_documents.h"

#include <giomm/file.h>
#include <glibmm/miscutils.h>
#include <gtk/gtk.h>
#include <gtkmm/recentmanager.h>

#include <algorithm>
#include <string_view>

#include "platform/ui/gtk_recent_group.h"

namespace platform {

void RecentDocuments::noteNewRecentDocumentURL(const std::filesystem::path& path) {
  const std::string name = Glib::get_application_name();
  const std::string exec = Glib::get_prgname() + " %f";
  char room[std::string_view(kGroup).size() + 2];
  char* group = copyGroupGtkRecords(room, kGroup);
  gchar* groups[] = {group, nullptr};
  GtkRecentData data{};
  data.app_name = const_cast<gchar*>(name.c_str());
  data.app_exec = const_cast<gchar*>(exec.c_str());
  data.mime_type = const_cast<gchar*>("application/octet-stream");
  data.groups = groups;
  const std::string uri = Gio::File::create_for_path(path.string())->get_uri();
  gtk_recent_manager_add_full(gtk_recent_manager_get_default(), uri.c_str(), &data);
}

std::vector<std::filesystem::path> RecentDocuments::recentDocumentURLs() {
  std::vector<Glib::RefPtr<Gtk::RecentInfo>> items = Gtk::RecentManager::get_default()->get_items();
  std::ranges::sort(items, [](const auto& a, const auto& b) { return a->get_modified() > b->get_modified(); });
  const std::string application = Glib::get_application_name();
  std::vector<std::filesystem::path> paths;
  for (const Glib::RefPtr<Gtk::RecentInfo>& item : items) {
    if (paths.size() == kMaximumCount) break;
    if (!item->is_local() || !item->has_application(application) || !item->has_group(kGroup)) continue;
    const std::string path = Gio::File::create_for_uri(item->get_uri())->get_path();
    if (!path.empty()) paths.emplace_back(path);
  }
  return paths;
}

}  // namespace platform
