#include "platform/ui/gtk_recent_group.h"

#include <giomm/file.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/recentmanager.h>

#include <array>
#include <string>

#include "platform/ui/recent_documents.h"
#include "tests/platform/core/scratch_folder.h"

namespace platform {
namespace {

// GTK itself is the oracle: a group copied to each place of a room aligned to 256 bytes, the first of them at an
// address ending in a zero byte, is recorded with the entry it is handed with.
TEST(GtkRecentGroup, AGroupCopiedAnywhereIsRecordedByGtk) {
  const std::string_view group = RecentDocuments::kGroup;
  alignas(256) std::array<char, 512> buffer{};
  testing::ScratchFolder folder;
  for (const std::size_t offset : {0, 1, 2, 15, 16, 128, 255}) {
    const std::span<char> room = std::span(buffer).subspan(offset, group.size() + 2);
    char* copy = copyGroupGtkRecords(room, group);
    ASSERT_NE(copy, nullptr) << offset;
    EXPECT_EQ(std::string_view(copy), group) << offset;

    const std::string uri = Gio::File::create_for_path((folder / (std::to_string(offset) + ".vard")).string())->get_uri();
    gchar* groups[] = {copy, nullptr};
    GtkRecentData data{};
    data.app_name = const_cast<gchar*>("draftwork-tests");
    data.app_exec = const_cast<gchar*>("draftwork-tests %f");
    data.mime_type = const_cast<gchar*>("application/octet-stream");
    data.groups = groups;
    ASSERT_TRUE(gtk_recent_manager_add_full(gtk_recent_manager_get_default(), uri.c_str(), &data));
    const Glib::RefPtr<Gtk::RecentInfo> item = Gtk::RecentManager::get_default()->lookup_item(uri);
    ASSERT_TRUE(item) << offset;
    EXPECT_TRUE(item->has_group(RecentDocuments::kGroup)) << "copied at offset " << offset;
  }
  EXPECT_EQ(copyGroupGtkRecords(std::span(buffer).first(group.size() + 1), group), nullptr);
}

}  // namespace
}  // namespace platform
