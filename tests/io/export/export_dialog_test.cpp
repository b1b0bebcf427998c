// File ▸ Export… on the real main window under Xvfb: the GTK save dialog with the format pop-up and quality slider,
// the remembered format, cancelling, writing at the slider's quality, and the failure alerts.

#include <glibmm/main.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/scale.h>

#include "export_tools.h"
#include "io/export/CMExportManager.h"
#include "main_window_fixture.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/pop_up_button.h"

namespace {

using namespace std::chrono_literals;

template <class Widget>
Widget* find(Gtk::Widget* widget) {
  auto* container = dynamic_cast<Gtk::Container*>(widget);
  for (Gtk::Widget* child : container ? container->get_children() : std::vector<Gtk::Widget*>{})
    if (Widget* found = find<Widget>(child)) return found;
  return dynamic_cast<Widget*>(widget);
}
template <class Window>
Window* shown() {
  for (Gtk::Window* window : Gtk::Window::list_toplevels())
    if (auto* found = dynamic_cast<Window*>(window); found && found->get_visible()) return found;
  return nullptr;
}

class ExportDialogTest : public ui_testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    previous_ = CMExportServiceFactory::install(CMExportManager::makeService);
    export_testing::sceneA(*(document_ = newDrawing()));
    // Every alert that comes up is recorded (message, informative text, button) and answered.
    watch_ = Glib::signal_timeout().connect(
        [this] {
          if (auto* alert = shown<Gtk::MessageDialog>()) {
            alert_ = {alert->property_text().get_value().raw(), alert->property_secondary_text().get_value().raw(),
                      find<Gtk::Button>(alert->get_action_area())->get_label().raw()};
            alert->response(0);
          }
          return true;
        },
        50);
  }
  void TearDown() override {
    watch_.disconnect();
    CMExportServiceFactory::install(previous_);
    MainWindowTest::TearDown();
  }
  // File ▸ Export… chosen through GTK's menu item, the pop-up set to item `index` and the dialog answered with the
  // name.
  void exportAs(int index, int response, const std::string& name, double quality = 0.9) {
    platform::MenuItem* command = item("File", "Export");
    ASSERT_TRUE(command && command->validate());
    command->gtkItem().activate();
    settle();
    ASSERT_TRUE(dialog_ = shown<Gtk::FileChooserDialog>());
    combo_ = find<Gtk::ComboBoxText>(dialog_->get_extra_widget());
    scale_ = find<Gtk::Scale>(dialog_->get_extra_widget());
    ASSERT_TRUE(combo_ && scale_);
    if (index < 0) return;
    combo_->set_active(index);
    scale_->set_value(quality);
    dialog_->set_current_folder(folder.path().string());
    dialog_->set_current_name(name);
    platform::iterateMainLoopUntil([&] { return !dialog_->get_filename().empty(); }, 3s);
    dialog_->response(response);
    platform::iterateMainLoopUntil([&] { return !shown<Gtk::FileChooserDialog>(); }, 5s);
    platform::iterateMainLoopUntil([] { return false; }, 500ms);
  }

  std::shared_ptr<CMDocument> document_;
  platform::testing::ScratchFolder folder;
  Gtk::FileChooserDialog* dialog_ = nullptr;
  Gtk::ComboBoxText* combo_ = nullptr;
  Gtk::Scale* scale_ = nullptr;
  std::vector<std::string> alert_;
  sigc::connection watch_;
  CMExportServiceFactory::Factory previous_;
};

TEST_F(ExportDialogTest, ThePopUpSetsTypeSliderAndRememberedFormatAndOkWritesAtTheSlidersQuality) {
  platform::UserDefaults::standardUserDefaults().setInteger(5, "export_tag");
  exportAs(-1, 0, "");
  EXPECT_EQ(combo_->get_active_text().raw(), "JPEG");
  EXPECT_TRUE(scale_->get_sensitive());
  const std::string stem = std::filesystem::path(document_->displayName()).stem().string();
  const std::vector<std::pair<std::string, int>> items{{"pdf", 1},  {"eps", 2}, {"tiff", 3}, {"png", 4},
                                                       {"jpeg", 5}, {"svg", 8}, {"gif", 9},  {"bmp", 10}};
  EXPECT_EQ(combo_->get_model()->children().size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    combo_->set_active(static_cast<int>(i));
    EXPECT_EQ(dialog_->get_current_name().raw(), stem + "." + items[i].first);
    EXPECT_EQ(dialog_->get_filter()->get_name().raw(), items[i].first);
    EXPECT_EQ(dialog_->list_filters().size(), 1u);
    EXPECT_EQ(scale_->get_sensitive(), items[i].first == "jpeg");
    EXPECT_EQ(platform::UserDefaults("").integerForKey("export_tag"), items[i].second);
  }
  dialog_->response(Gtk::RESPONSE_CANCEL);
  exportAs(6, Gtk::RESPONSE_CANCEL, "Cancelled.gif");
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  EXPECT_EQ(platform::UserDefaults("").integerForKey("export_tag"), 9);
  exportAs(4, Gtk::RESPONSE_ACCEPT, "Low.jpeg", 0.2);
  exportAs(4, Gtk::RESPONSE_ACCEPT, "High.jpeg", 0.9);
  EXPECT_EQ(export_testing::readText(folder / "Low.jpeg").rfind("\xff\xd8\xff", 0), 0u);
  EXPECT_LT(std::filesystem::file_size(folder / "Low.jpeg"), std::filesystem::file_size(folder / "High.jpeg"));
  EXPECT_TRUE(alert_.empty());
}

TEST_F(ExportDialogTest, AFailedExportShowsItsAlertAndLeavesTheFolderAsItWas) {
  export_testing::writeBytes(folder / "Big.png", {'k', 'e', 'e', 'p'});
  export_testing::setPage(*document_, 40000, 40000, 255, 255, 255, 255);
  exportAs(3, Gtk::RESPONSE_ACCEPT, "New.png");
  EXPECT_EQ(alert_, (std::vector<std::string>{"Error", "Can't create file. Format does not support.", "OK"}));
  // The same failure over an existing file, and a folder that takes no file: the write error's own alert.
  auto manager = std::make_shared<CMExportManager>();
  manager->formatPopUp().selectItemWithTag(4);
  manager->exportToURL(*document_, folder / "Big.png");
  export_testing::setPage(*document_, 400, 300, 255, 255, 255, 255);
  manager->exportToURL(*document_, "/proc/1/draftwork/Drawing.png");
  EXPECT_TRUE(alert_.size() == 3 && alert_[0] != "Error" && alert_[0] != "") << alert_[0];
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
  EXPECT_EQ(export_testing::readText(folder / "Big.png"), "keep");
}

}  // namespace
