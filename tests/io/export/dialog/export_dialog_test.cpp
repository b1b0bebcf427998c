// File ▸ Export… on the real main window under Xvfb, driven as a user does, through real events on GDK's queue:
// the menu clicked, the format chosen with the keyboard on its pop-up, the quality slider dragged, the name typed
// and Return pressed; GTK's own question before a file is replaced answered by a click. Also the remembered format,
// the name field following the format and the format following a typed extension, the folder the dialog opens in,
// and the failure alerts.

#include <gmock/gmock.h>
#include <glibmm/main.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/entry.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/menu.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/scale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <tuple>

#include "dialog_test_support.h"
#include "export_tools.h"
#include "io/export/CMExportManager.h"
#include "main_window_fixture.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/pop_up_button.h"
#include "ui_test_harness.h"

namespace {

using namespace std::chrono_literals;
namespace test = platform::test;
using dialog_testing::collect;
using dialog_testing::find;
using dialog_testing::pressClosingKey;
using dialog_testing::pressKey;
using dialog_testing::shown;

// GTK's own question before replacing a file: a message dialog over the file chooser.
bool overChooser(Gtk::MessageDialog& dialog) {
  return dynamic_cast<Gtk::FileChooserDialog*>(dialog.get_transient_for()) != nullptr;
}

class ExportDialogTest : public ui_testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    previous_ = CMExportServiceFactory::install(CMExportManager::makeService);
    ::chmod(folder.path().c_str(), 0755);
    export_testing::sceneA(*(document_ = newDrawing()));
    ASSERT_TRUE(test::showAndSettle(window->window()));
    // Every alert of ours that comes up is recorded (message, informative text, button) and answered; so is GTK's
    // question before replacing a file, which runs in a main loop of its own, once an answer is waiting for it.
    watch_ = Glib::signal_timeout().connect(
        [this] {
          if (auto* question = shown<Gtk::MessageDialog>(overChooser); question && !replaceAnswer_.empty()) {
            question_ = question->property_text().get_value().raw();
            const std::string answer = std::exchange(replaceAnswer_, "");
            std::vector<Gtk::Button*> buttons;
            collect(question->get_action_area(), buttons);
            for (Gtk::Button* button : buttons) {
              if (button->get_label() == answer) test::clickButton(*button);
            }
          } else if (auto* alert = shown<Gtk::MessageDialog>([](auto& d) { return !overChooser(d); })) {
            alert_ = {alert->property_text().get_value().raw(), alert->property_secondary_text().get_value().raw(),
                      find<Gtk::Button>(alert->get_action_area())->get_label().raw()};
            alert->response(0);
          }
          return true;
        },
        50);
  }
  void TearDown() override {
    // A dialog a failed test left open goes, so that the next test starts from the main window alone.
    if (auto* left = shown<Gtk::FileChooserDialog>()) left->response(Gtk::RESPONSE_CANCEL);
    settle();
    watch_.disconnect();
    CMExportServiceFactory::install(previous_);
    MainWindowTest::TearDown();
  }

  // File ▸ Export… chosen from the keyboard; the dialog, its pop-up and its slider found.
  void openExport() {
    ASSERT_TRUE((dialog_ = dialog_testing::openFileDialogFromMenu(window->window().gtkWindow(),
                                                                   item("File", "Export")->gtkItem())));
    combo_ = find<Gtk::ComboBoxText>(dialog_->get_extra_widget());
    scale_ = find<Gtk::Scale>(dialog_->get_extra_widget());
    ASSERT_TRUE(combo_ && scale_);
  }
  // The pop-up's item `index` chosen with the keyboard: Home, then Down.
  void chooseFormat(int index) {
    combo_->grab_focus();
    pressKey(*combo_, GDK_KEY_Home);
    for (int i = 0; i < index; ++i) pressKey(*combo_, GDK_KEY_Down);
    test::processPendingEvents();
  }
  // The slider's knob dragged to `fraction` of the trough.
  void dragQuality(double fraction) {
    const int width = scale_->get_allocated_width(), y = scale_->get_allocated_height() / 2;
    const double from = scale_->get_value() * width, to = fraction * width;
    test::injectButton(*scale_, GDK_BUTTON_PRESS, 1, from, y);
    for (int step = 1; step <= 4; ++step)
      test::injectMotion(*scale_, from + (to - from) * step / 4, y, GDK_BUTTON1_MASK);
    test::injectButton(*scale_, GDK_BUTTON_RELEASE, 1, to, y, GDK_BUTTON1_MASK);
  }
  // The name field: the dialog's visible entry holding the current name.
  Gtk::Entry& nameField() {
    std::vector<Gtk::Entry*> entries;
    collect(dialog_, entries);
    for (Gtk::Entry* entry : entries)
      if (entry->is_visible() && entry->get_text() == dialog_->get_current_name()) return *entry;
    ADD_FAILURE() << "no name field";
    return *entries.front();
  }
  // The name typed over what the field held, then Return unless `confirm` is false.
  void typeName(const std::string& name, bool confirm = true) {
    Gtk::Entry& field = nameField();
    field.grab_focus();
    pressKey(field, GDK_KEY_a, GDK_CONTROL_MASK);
    for (unsigned char c : name) pressKey(field, gdk_unicode_to_keyval(c));
    if (confirm) pressClosingKey(field, GDK_KEY_Return);
  }
  // GTK's next question before replacing a file will be answered with a click on `answer` ("_Cancel" or
  // "_Replace").
  void willAnswerReplaceQuestion(const std::string& answer) {
    replaceAnswer_ = answer;
    question_.clear();
  }
  // The text of the question answered, once it has been.
  std::string replaceQuestion() {
    EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return !question_.empty(); }, 5s));
    return question_;
  }
  // Waits until the dialog has closed and the export it queued has run.
  void waitUntilClosed() {
    EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return !shown<Gtk::FileChooserDialog>(); }, 5s));
    settle();
  }
  // The export dialog opened, the format chosen and the folder gone to.
  void startExport(int index, const std::filesystem::path& into) {
    ASSERT_NO_FATAL_FAILURE(openExport());
    chooseFormat(index);
    dialog_->set_current_folder(into.string());
    platform::iterateMainLoopUntil([&] { return dialog_->get_current_folder() == into.string(); }, 3s);
  }
  // One whole export: the format, the quality, the name typed and Return, the file replaced when there is one.
  void exportAs(int index, const std::string& name, std::optional<double> quality = std::nullopt,
                bool replacing = false) {
    ASSERT_NO_FATAL_FAILURE(startExport(index, folder.path()));
    if (quality) dragQuality(*quality);
    if (replacing) willAnswerReplaceQuestion("_Replace");
    typeName(name);
    if (replacing) {
      EXPECT_NE(replaceQuestion(), "");
    }
    waitUntilClosed();
  }

  std::shared_ptr<CMDocument> document_;
  platform::testing::ScratchFolder folder;
  Gtk::FileChooserDialog* dialog_ = nullptr;
  Gtk::ComboBoxText* combo_ = nullptr;
  Gtk::Scale* scale_ = nullptr;
  std::vector<std::string> alert_;
  std::string replaceAnswer_;
  std::string question_;
  sigc::connection watch_;
  CMExportServiceFactory::Factory previous_;
};

TEST_F(ExportDialogTest, ThePopUpSetsTypeSliderAndRememberedFormatAndOkWritesAtTheSlidersQuality) {
  platform::UserDefaults::standardUserDefaults().setInteger(5, "export_tag");
  ASSERT_NO_FATAL_FAILURE(openExport());
  EXPECT_EQ(combo_->get_active_text().raw(), "JPEG");
  EXPECT_TRUE(scale_->get_sensitive());
  const std::string stem = std::filesystem::path(document_->displayName()).stem().string();
  const std::vector<std::tuple<std::string, std::string, int>> items{
      {"pdf", "pdf", 1},        {"eps", "eps", 2}, {"tiff", "tiff, tif", 3}, {"png", "png", 4},
      {"jpeg", "jpeg, jpg", 5}, {"svg", "svg", 8}, {"gif", "gif", 9},        {"bmp", "bmp", 10}};
  EXPECT_EQ(combo_->get_model()->children().size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto& [extension, filter, tag] = items[i];
    chooseFormat(static_cast<int>(i));
    EXPECT_EQ(dialog_->get_current_name().raw(), stem + "." + extension);
    EXPECT_EQ(dialog_->get_filter()->get_name().raw(), filter);
    EXPECT_EQ(dialog_->list_filters().size(), 1u);
    EXPECT_EQ(scale_->get_sensitive(), extension == "jpeg");
    EXPECT_EQ(platform::UserDefaults("").integerForKey("export_tag"), tag);
  }
  pressClosingKey(*dialog_, GDK_KEY_Escape);
  waitUntilClosed();
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  EXPECT_EQ(platform::UserDefaults("").integerForKey("export_tag"), 10);

  // The quality is the slider's when Return is pressed, whatever it was when JPEG was chosen.
  exportAs(4, "Low", 0.1);
  exportAs(4, "High", 0.95);
  EXPECT_EQ(export_testing::readText(folder / "Low.jpeg").rfind("\xff\xd8\xff", 0), 0u);
  EXPECT_LT(std::filesystem::file_size(folder / "Low.jpeg") * 2, std::filesystem::file_size(folder / "High.jpeg"));
  EXPECT_TRUE(alert_.empty());
}

TEST_F(ExportDialogTest, TheQualitySliderIsDrawnAndFollowsTheDrag) {
  platform::UserDefaults::standardUserDefaults().setInteger(5, "export_tag");
  ASSERT_NO_FATAL_FAILURE(openExport());
  // The slider's own pixels: a trough and a knob, not an empty strip.
  const Gtk::Allocation place = scale_->get_allocation();
  ASSERT_GE(place.get_height(), 20);
  const test::ImageSurface pixels = test::renderWidget(*dialog_->get_extra_widget());
  int inked = 0;
  for (int y = place.get_y(); y < place.get_y() + place.get_height(); ++y)
    for (int x = place.get_x(); x < place.get_x() + place.get_width(); ++x) inked += test::pixelAt(pixels.get(), x, y).alpha > 0;
  EXPECT_GT(inked, place.get_width());
  dragQuality(0.25);
  EXPECT_NEAR(scale_->get_value(), 0.25, 0.1);
  pressKey(*scale_, GDK_KEY_End);
  EXPECT_EQ(scale_->get_value(), 1);
  pressClosingKey(*dialog_, GDK_KEY_Escape);
  waitUntilClosed();
}

TEST_F(ExportDialogTest, ATypedNameGetsItsExtensionBeforeGtkAsksAboutReplacingIt) {
  export_testing::writeBytes(folder / "noext.png", {'k', 'e', 'e', 'p'});
  ASSERT_NO_FATAL_FAILURE(startExport(3, folder.path()));  // PNG
  willAnswerReplaceQuestion("_Cancel");
  typeName("noext");
  EXPECT_NE(replaceQuestion().find("noext.png"), std::string::npos);
  platform::iterateMainLoopUntil([] { return false; }, 300ms);
  EXPECT_EQ(export_testing::readText(folder / "noext.png"), "keep");
  ASSERT_TRUE(shown<Gtk::FileChooserDialog>());
  willAnswerReplaceQuestion("_Replace");
  pressClosingKey(nameField(), GDK_KEY_Return);
  EXPECT_NE(replaceQuestion().find("noext.png"), std::string::npos);
  waitUntilClosed();
  EXPECT_EQ(export_testing::readText(folder / "noext.png").rfind("\x89PNG", 0), 0u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

  // Save As… of the drawing, the same way.
  ASSERT_TRUE(document_->writeToURL(folder / "drawing.vard", CMDocument::kFileType));
  const std::string saved = export_testing::readText(folder / "drawing.vard");
  document_->data()->array("layers")->removeAll();
  pressKey(window->window().gtkWindow(), GDK_KEY_S, GDK_CONTROL_MASK | GDK_SHIFT_MASK);
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return (dialog_ = shown<Gtk::FileChooserDialog>()); }, 3s));
  willAnswerReplaceQuestion("_Cancel");
  typeName("drawing");
  EXPECT_NE(replaceQuestion().find("drawing.vard"), std::string::npos);
  pressClosingKey(*dialog_, GDK_KEY_Escape);
  waitUntilClosed();
  EXPECT_EQ(export_testing::readText(folder / "drawing.vard"), saved);
}

// A name typed with an offered format's extension chooses that format, whatever the pop-up showed; any other name
// gets the chosen format's extension.
TEST_F(ExportDialogTest, ANameEndingInAFormatsExtensionChoosesThatFormat) {
  export_testing::writeBytes(folder / "old.pdf", {'k', 'e', 'e', 'p'});
  struct Case {
    const char* typed;
    bool replacing;
    const char* written;
    std::string starts;  // the written file's first bytes
    int tag;             // the format remembered
  };
  for (const Case& c : {Case{"x.pdf", false, "x.pdf", "%PDF", 1}, Case{"old.pdf", true, "old.pdf", "%PDF", 1},
                        Case{"photo.JPG", false, "photo.JPG", "\xff\xd8\xff", 5},
                        Case{"scan.tif", false, "scan.tif", "II", 3}, Case{"plan.svg", false, "plan.svg", "<", 8},
                        Case{"layers.psd", false, "layers.psd.png", "\x89PNG", 4},
                        Case{"drawing.vard", false, "drawing.vard.png", "\x89PNG", 4},
                        Case{"Release 1.5", false, "Release 1.5.png", "\x89PNG", 4}}) {
    SCOPED_TRACE(c.typed);
    exportAs(3, c.typed, std::nullopt, c.replacing);  // PNG chosen
    EXPECT_EQ(export_testing::readText(folder / c.written).rfind(c.starts, 0), 0u);
    EXPECT_EQ(platform::UserDefaults("").integerForKey("export_tag"), c.tag);
  }
  EXPECT_TRUE(alert_.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "x.pdf.png"));
}

TEST_F(ExportDialogTest, TheNameFieldKeepsWhatTheUserTypedAcrossFormats) {
  std::filesystem::create_directory(folder / "sub");
  // JPEG's other spelling is JPEG: "photo.jpg" is written as it was typed.
  exportAs(4, "photo.jpg");
  EXPECT_EQ(export_testing::readText(folder / "photo.jpg").rfind("\xff\xd8\xff", 0), 0u);
  // The folder of the last export is where the next one of this unsaved drawing starts.
  ASSERT_NO_FATAL_FAILURE(openExport());
  EXPECT_EQ(dialog_->get_current_folder(), folder.path().string());
  for (const auto& [typed, format, shownAfter] : {std::tuple{"Release 1.5", 6, "Release 1.5.gif"},
                                                  {"Drawing.png", 4, "Drawing.jpeg"},
                                                  {"Drawing.tif", 3, "Drawing.png"},
                                                  {"sub/photo.pdf", 2, "sub/photo.tiff"}}) {
    chooseFormat(0);
    typeName(typed, false);
    chooseFormat(format);
    EXPECT_EQ(dialog_->get_current_name().raw(), shownAfter);
  }
  // Clicked rather than Return: the name field may be showing its completions of the folder typed.
  std::vector<Gtk::Button*> buttons;
  collect(dialog_->get_action_area(), buttons);
  for (Gtk::Button* button : buttons) {
    if (button->get_label() == "_Save") test::clickButton(*button);
  }
  waitUntilClosed();
  EXPECT_EQ(export_testing::readText(folder / "sub" / "photo.tiff").substr(0, 2), "II");
  // A saved drawing exports beside itself.
  std::filesystem::create_directory(folder / "saved");
  ASSERT_TRUE(document_->writeToURL(folder / "saved" / "Drawing.vard", CMDocument::kFileType));
  ASSERT_NO_FATAL_FAILURE(openExport());
  EXPECT_EQ(dialog_->get_current_folder(), (folder / "saved").string());
  pressClosingKey(*dialog_, GDK_KEY_Escape);
  waitUntilClosed();
}

TEST_F(ExportDialogTest, AFailedExportShowsItsAlertAndLeavesTheFolderAsItWas) {
  export_testing::writeBytes(folder / "Big.png", {'k', 'e', 'e', 'p'});
  // A page past a format's limit: the alert names the size and the limit it passed.
  struct TooLarge {
    int index;
    double width, height;
    const char* name;
    std::string says;
  };
  for (const TooLarge& page :
       {TooLarge{3, 40000, 300, "New.png", "picture of 40000 x 300 pixels, larger than pictures can be: at most 32767 "
                                           "pixels a side and 67108864 pixels in all."},
        TooLarge{3, 9000, 9000, "New.png", "picture of 9000 x 9000 pixels"},
        TooLarge{0, 300, 14401, "New.pdf", "page of 300 x 14401 points is larger than PDF and EPS files hold: at "
                                           "most 14400 points a side."},
        TooLarge{1, 20000, 20000, "New.eps", "at most 14400 points a side."}}) {
    export_testing::setPage(*document_, page.width, page.height, 255, 255, 255, 255);
    alert_.clear();
    exportAs(page.index, page.name);
    ASSERT_EQ(alert_.size(), 3u) << page.name;
    EXPECT_EQ(alert_[0], "Error");
    EXPECT_THAT(alert_[1], ::testing::HasSubstr(page.says));
    EXPECT_FALSE(std::filesystem::exists(folder / page.name));
  }
  export_testing::setPage(*document_, 40000, 40000, 255, 255, 255, 255);
  // The same failure over an existing file.
  alert_.clear();
  exportAs(3, "Big.png", std::nullopt, true);
  EXPECT_EQ(alert_.size(), 3u);
  EXPECT_EQ(export_testing::readText(folder / "Big.png"), "keep");
  // A folder that takes no file (read-only to the user, even when the tests run as root): the write error's alert.
  export_testing::setPage(*document_, 400, 300, 255, 255, 255, 255);
  std::filesystem::create_directory(folder / "locked");
  export_testing::writeBytes(folder / "locked" / "Big.png", {'k', 'e', 'e', 'p'});
  ::chmod((folder / "locked" / "Big.png").c_str(), 0666);
  ::chmod((folder / "locked").c_str(), 0555);
  alert_.clear();
  ASSERT_NO_FATAL_FAILURE(startExport(3, folder / "locked"));
  const bool root = ::geteuid() == 0;
  constexpr unsigned kNobody = 65534;
  if (root) {
    ASSERT_TRUE(::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0);
  }
  willAnswerReplaceQuestion("_Replace");
  typeName("Big.png");
  waitUntilClosed();
  if (root) {
    ASSERT_TRUE(::seteuid(0) == 0 && ::setegid(0) == 0);
  }
  ASSERT_EQ(alert_.size(), 3u);
  EXPECT_NE(alert_[0].find("Permission denied"), std::string::npos) << alert_[0];
  EXPECT_EQ(export_testing::readText(folder / "locked" / "Big.png"), "keep");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "locked"), {}), 1);
  // A format without output, through the manager's generate: an error, nothing made.
  auto manager = std::make_shared<CMExportManager>();
  manager->formatPopUp().addItemWithTitle("PSD");
  manager->formatPopUp().setTagOfItemAtIndex(8, 6);
  ASSERT_TRUE(manager->formatPopUp().selectItemWithTag(6));
  EXPECT_FALSE(manager->generate(*document_).ok());
}

}  // namespace
