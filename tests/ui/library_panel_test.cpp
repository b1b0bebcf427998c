// The "Shapes" panel in the main window: made from the top toolbar's button over a store of known libraries, its
// commands through the settings menu and its alerts, its items clicked with real GDK events, their fills probed.

#include <gtkmm/entry.h>
#include <gtkmm/messagedialog.h>
#include <sys/resource.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "../document/shape_library_test_support.h"
#include "main_window_fixture.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/menu.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/scroll_view.h"
#include "ui/CMLibraryGridView.h"
#include "ui/CMLibraryItemPrototype.h"
#include "ui/CMLibraryPanelView.h"
#include "ui/CMShapeItemButton.h"
#include "ui/CMToolbarButton.h"
#include "ui/CMToolsView.h"
#include "ui/CMTopToolbarView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using document_testing::libraryNames;
using document_testing::makeLibrary;

constexpr int kLibraryPanelType = 5;
constexpr const char* kStrokeClothes = "Stroke Clothes";

Gtk::Entry* findEntry(Gtk::Widget& widget) {
  if (auto* entry = dynamic_cast<Gtk::Entry*>(&widget)) return entry;
  if (auto* container = dynamic_cast<Gtk::Container*>(&widget)) {
    for (Gtk::Widget* child : container->get_children()) {
      if (Gtk::Entry* found = findEntry(*child)) return found;
    }
  }
  return nullptr;
}

class LibraryPanel : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    document = newDrawingOnScreen();
    ASSERT_NE(document, nullptr);
  }

  // The store as the user left it, then the "Shapes" button.
  void openPanel(std::vector<std::shared_ptr<CMShapeLibarary>> stored, std::int64_t selectedIndex = 0) {
    document_testing::writeStore(stored);
    platform::UserDefaults::standardUserDefaults().setInteger(selectedIndex, CMShapeLibraries::kSelectionKey);
    auto* button = dynamic_cast<platform::Button*>(window->mainView()->topToolbar().buttonWithTag(kLibraryPanelType));
    ASSERT_NE(button, nullptr);
    platform::test::clickButton(button->gtkButton());
    settle();
    ASSERT_NE(window->libraryPanel(), nullptr);
  }

  CMLibraryPanelView& panel() { return *window->libraryPanel(); }
  std::string selectedName() {
    const auto& selected = panel().libraries().selectedLibrary();
    return selected ? selected->name() : "(none)";
  }
  std::vector<std::string> popUpTitles() {
    std::vector<std::string> titles;
    platform::PopUpButton& popUp = panel().librarySelectorView();
    for (int i = 0; i < popUp.numberOfItems(); ++i) {
      popUp.selectItemAtIndex(i);
      titles.push_back(popUp.titleOfSelectedItem());
    }
    if (const auto& selected = panel().libraries().selectedLibrary()) popUp.selectItemWithTitle(selected->name());
    return titles;
  }

  // The settings menu's item of that title, validated as the menu validates before it shows.
  platform::MenuItem& menuItem(const std::string& title) {
    panel().menuSettings().update();
    for (const auto& entry : panel().menuSettings().items()) {
      if (entry->title() == title) return *entry;
    }
    for (const auto& submenu : panel().menuSettings().submenus()) {
      submenu->update();
      for (const auto& entry : submenu->items()) {
        if (entry->title() == title) return *entry;
      }
    }
    ADD_FAILURE() << "no menu item " << title;
    return *panel().menuSettings().items().front();
  }
  void choose(const std::string& title) {
    platform::MenuItem& item = menuItem(title);
    ASSERT_TRUE(item.isEnabled()) << title;
    item.gtkItem().activate();
    settle();
  }

  // The alert up now (a message dialog over the main window): its texts, then the answer (0 the first button).
  template <class Dialog>
  static Dialog* shownDialog() {
    for (Gtk::Window* toplevel : Gtk::Window::list_toplevels()) {
      auto* dialog = dynamic_cast<Dialog*>(toplevel);
      if (dialog && dialog->get_visible()) return dialog;
    }
    return nullptr;
  }
  static Gtk::MessageDialog* alert() { return shownDialog<Gtk::MessageDialog>(); }
  static std::string alertText(bool informative = true) {
    Gtk::MessageDialog* dialog = alert();
    if (!dialog) return "(no alert)";
    return informative ? dialog->property_secondary_text().get_value() : dialog->property_text().get_value();
  }
  static void answer(int button, const std::string& text = {}) {
    Gtk::MessageDialog* dialog = alert();
    ASSERT_NE(dialog, nullptr);
    if (!text.empty()) findEntry(*dialog)->set_text(text);
    dialog->response(button);
    settle();
  }
  static Gtk::FileChooserDialog* filePanel() { return shownDialog<Gtk::FileChooserDialog>(); }

  CMShapeItemButton& itemButton(std::size_t index) {
    return panel().collectionView().items().at(index)->view()->button();
  }
  void clickItem(std::size_t index) {
    CMShapeItemButton& button = itemButton(index);
    const platform::Point pixel = button.localToGtk({40, 40});
    platform::test::injectButton(button.widget(), GDK_BUTTON_PRESS, 1, pixel.x, pixel.y);
    platform::test::injectButton(button.widget(), GDK_BUTTON_RELEASE, 1, pixel.x, pixel.y);
    settle();
  }
  std::vector<int> itemStates() {
    std::vector<int> states;
    for (const auto& cell : panel().collectionView().items()) states.push_back(cell->isSelected() ? 1 : 0);
    return states;
  }

  // A rectangle on the canvas, selected: what Add Selected Shapes takes.
  void selectANewShape() {
    document->data()->array("layers")->add(document_testing::libraryShape({20, 20, 60, 40}));
    document->data()->array("layers")->last().dictionary()->set("id", 1);
    window->updateDocument();
    settle();
    window->editor().selectAll();
    settle();
  }

  std::shared_ptr<CMDocument> document;
};

TEST_F(LibraryPanel, CreationKeepsTheUsersLibraryAndSelectsTheBuiltInOne) {
  openPanel({makeLibrary("Mine", 2)});
  EXPECT_EQ(libraryNames(panel().libraries()), (std::vector<std::string>{"Mine", kStrokeClothes}));
  EXPECT_EQ(selectedName(), kStrokeClothes);
  EXPECT_EQ(popUpTitles(), (std::vector<std::string>{"Mine", kStrokeClothes}));
  EXPECT_EQ(panel().librarySelectorView().titleOfSelectedItem(), kStrokeClothes);
  EXPECT_EQ(panel().collectionView().items().size(), panel().libraries().selectedLibrary()->items().size());
  // A later panel finds the library there and adds no "…1" copy; the store on disk agrees.
  CMLibraryPanelView second;
  EXPECT_EQ(libraryNames(second.libraries()), (std::vector<std::string>{"Mine", kStrokeClothes}));
  EXPECT_EQ(libraryNames(CMShapeLibraries()), (std::vector<std::string>{"Mine", kStrokeClothes}));
}

TEST_F(LibraryPanel, TheSettingsButtonPopsTheMenuUp) {
  openPanel({});
  platform::test::clickButton(panel().settingsButton().gtkButton());
  settle();
  EXPECT_TRUE(panel().menuSettings().gtkMenu().get_visible());
  panel().menuSettings().gtkMenu().popdown();
  settle();
}

TEST_F(LibraryPanel, ChoosingALibraryInThePopUpShowsItsItemsAndIsRemembered) {
  openPanel({makeLibrary("Mine", 3)});
  platform::PopUpButton& popUp = panel().librarySelectorView();
  popUp.gtkComboBox().set_active(0);  // as the user's pick: GTK's changed signal
  settle();
  EXPECT_EQ(selectedName(), "Mine");
  EXPECT_EQ(panel().collectionView().items().size(), 3u);
  EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey(CMShapeLibraries::kSelectionKey), 0);
}

TEST_F(LibraryPanel, BuiltInCommandsAskBeforeReplacingTheUsersLibrary) {
  openPanel({makeLibrary("Mine", 2)});
  panel().libraries().selectLibrary("Mine");
  panel().reload();
  choose("Numbers");
  EXPECT_EQ(alertText(false), "Warning");
  EXPECT_EQ(alertText(), "The library will be removed. Continue?");
  answer(1);  // No
  EXPECT_EQ(libraryNames(panel().libraries()), (std::vector<std::string>{"Mine", kStrokeClothes}));
  EXPECT_EQ(selectedName(), "Mine");

  choose("Numbers");
  answer(0);  // Yes
  EXPECT_EQ(libraryNames(panel().libraries()), (std::vector<std::string>{kStrokeClothes, "Numbers"}));
  EXPECT_EQ(selectedName(), "Numbers");
  EXPECT_EQ(panel().collectionView().items().size(), 10u);
  EXPECT_EQ(popUpTitles(), (std::vector<std::string>{kStrokeClothes, "Numbers"}));

  // A built-in library is replaced without a question, by a fresh copy of the same name.
  choose("Frames");
  EXPECT_EQ(alert(), nullptr) << alertText();
  EXPECT_EQ(libraryNames(panel().libraries()), (std::vector<std::string>{kStrokeClothes, "Frames"}));
  choose("Frames");
  EXPECT_EQ(libraryNames(panel().libraries()), (std::vector<std::string>{kStrokeClothes, "Frames"}));
  EXPECT_EQ(popUpTitles(), (std::vector<std::string>{kStrokeClothes, "Frames"}));
}

TEST_F(LibraryPanel, ABuiltInLibraryTheUserChangedIsReplacedOnlyAfterAsking) {
  openPanel({});
  choose("Frames");  // over the untouched Stroke Clothes: no question
  EXPECT_EQ(alert(), nullptr) << alertText();
  ASSERT_EQ(libraryNames(panel().libraries()), std::vector<std::string>{"Frames"});
  const std::size_t frames = panel().collectionView().items().size();
  ASSERT_GT(frames, 1u);

  // An item of the built-in library deleted: the next built-in command asks, and No keeps the library as it is.
  clickItem(0);
  choose("Delete Selected Shapes");
  choose("Numbers");
  EXPECT_EQ(alertText(), "The library will be removed. Continue?");
  answer(1);
  EXPECT_EQ(libraryNames(panel().libraries()), std::vector<std::string>{"Frames"});
  EXPECT_EQ(panel().libraries().selectedLibrary()->items().size(), frames - 1);
  // Even the same built-in library asks before it puts its items back.
  choose("Frames");
  EXPECT_EQ(alertText(), "The library will be removed. Continue?");
  answer(0);
  EXPECT_EQ(panel().libraries().selectedLibrary()->items().size(), frames);

  // A shape of the user's added to it, as Add Selected Shapes does: asked again.
  selectANewShape();
  choose("Add Selected Shapes");
  choose("Numbers");
  EXPECT_EQ(alertText(), "The library will be removed. Continue?");
  answer(0);
  EXPECT_EQ(libraryNames(panel().libraries()), std::vector<std::string>{"Numbers"});
}

TEST_F(LibraryPanel, AMissingBuiltInFileIsReportedAndChangesNothing) {
  openPanel({makeLibrary("Mine")});
  const platform::Bytes before = platform::readFile(CMShapeLibraries::storePath()).value();
  panel().importBuiltIn("NoSuchLibrary");
  EXPECT_EQ(alertText(false), "Error");
  EXPECT_EQ(alertText(), "File does not exist!");
  answer(0);
  EXPECT_EQ(platform::readFile(CMShapeLibraries::storePath()).value(), before);
}

TEST_F(LibraryPanel, NewLibrariesTakeTheOfferedNameOrAreRefusedByName) {
  openPanel({makeLibrary("Mine")});
  choose("New Library\u2026");
  EXPECT_EQ(alertText(false), "Name");
  EXPECT_EQ(alertText(), "Please enter Library name.");
  EXPECT_EQ(findEntry(*alert())->get_text(), "Shapes Library1");
  answer(0);
  EXPECT_EQ(selectedName(), "Shapes Library1");
  EXPECT_TRUE(panel().collectionView().items().empty());
  EXPECT_EQ(popUpTitles(), (std::vector<std::string>{"Mine", kStrokeClothes, "Shapes Library1"}));

  choose("New Library\u2026");
  EXPECT_EQ(findEntry(*alert())->get_text(), "Shapes Library2");
  answer(0, "Mine");
  EXPECT_EQ(alertText(false), "Error");
  EXPECT_EQ(alertText(), "This name already exists, enter a unique name.");
  answer(0);
  EXPECT_EQ(panel().libraries().items().size(), 3u);

  choose("New Library\u2026");
  answer(1, "Cancelled");  // Cancel
  EXPECT_EQ(panel().libraries().items().size(), 3u);

  choose("Rename Library\u2026");
  EXPECT_EQ(alertText(), "Please enter new Library name.");
  EXPECT_EQ(findEntry(*alert())->get_text(), "Shapes Library1");
  answer(0, "Collars");
  EXPECT_EQ(popUpTitles(), (std::vector<std::string>{"Mine", kStrokeClothes, "Collars"}));
}

TEST_F(LibraryPanel, CommandsAreEnabledOnlyWhenTheyCanRun) {
  openPanel({});
  EXPECT_TRUE(menuItem("Rename Library\u2026").isEnabled());
  EXPECT_FALSE(menuItem("Add Selected Shapes").isEnabled()) << "nothing selected on the canvas";
  EXPECT_FALSE(menuItem("Delete Selected Shapes").isEnabled()) << "no item on";

  selectANewShape();
  ASSERT_TRUE(menuItem("Add Selected Shapes").isEnabled());
  const std::size_t before = panel().collectionView().items().size();
  choose("Add Selected Shapes");
  EXPECT_EQ(panel().collectionView().items().size(), before + 1);

  clickItem(0);
  EXPECT_TRUE(menuItem("Delete Selected Shapes").isEnabled());
  choose("Delete Selected Shapes");
  EXPECT_EQ(panel().collectionView().items().size(), before);
  EXPECT_EQ(window->editor().currentTool(), kCMToolSelect);

  // The only library removed: nothing to rename, remove or export, and an empty grid.
  choose("Remove Library");
  EXPECT_EQ(alertText(), "The library will be removed. Continue?");
  answer(0);
  EXPECT_EQ(selectedName(), "(none)");
  EXPECT_TRUE(panel().collectionView().items().empty());
  EXPECT_TRUE(popUpTitles().empty());
  for (const char* title : {"Rename Library\u2026", "Remove Library", "Export Library\u2026", "Add Selected Shapes"}) {
    EXPECT_FALSE(menuItem(title).isEnabled()) << title;
  }
}

TEST_F(LibraryPanel, ExportedLibrariesImportUnderANumberedNameAndFailedWritesAreTold) {
  openPanel({});
  platform::testing::ScratchFolder files;
  const auto answerPanel = [&](const std::filesystem::path& file) {
    ASSERT_NE(filePanel(), nullptr);
    Gtk::FileChooserDialog& dialog = *filePanel();
    if (dialog.get_action() == Gtk::FILE_CHOOSER_ACTION_SAVE) {
      dialog.set_current_folder(file.parent_path().string());
      dialog.set_current_name(file.filename().string());
    } else {
      dialog.select_filename(file.string());
    }
    using namespace std::chrono_literals;
    platform::iterateMainLoopUntil([&] { return !dialog.get_filename().empty(); }, 3s);
    dialog.response(Gtk::RESPONSE_ACCEPT);
    ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return filePanel() == nullptr; }, 5s));
    settle();
  };
  choose("Export Library\u2026");
  answerPanel(files / "clothes.slib");
  ASSERT_TRUE(std::filesystem::exists(files / "clothes.slib"));

  choose("Import Library\u2026");
  answerPanel(files / "clothes.slib");
  EXPECT_EQ(libraryNames(panel().libraries()), (std::vector<std::string>{kStrokeClothes, "Stroke Clothes1"}));
  EXPECT_EQ(popUpTitles(), (std::vector<std::string>{kStrokeClothes, "Stroke Clothes1"}));

  // No file may grow past 16 bytes while the export writes: it fails, and says so.
  choose("Export Library\u2026");
  {
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = 16;
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    answerPanel(files / "again.slib");
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
  }
  settle();
  EXPECT_EQ(alertText(), "Can't save file!");
  answer(0);
}

TEST_F(LibraryPanel, AnItemTurnedOnIsTheLibraryToolsShapeAndTheOthersGoOff) {
  openPanel({});
  ASSERT_GE(panel().collectionView().items().size(), 3u);
  clickItem(1);
  EXPECT_EQ(itemStates()[1], 1);
  EXPECT_EQ(window->selectedTool(), kCMToolLibraryShape);
  EXPECT_EQ(window->editor().currentTool(), kCMToolLibraryShape);
  EXPECT_EQ(window->editor().toolsData(), panel().collectionView().items()[1]->shapeItem()->shapeData());
  clickItem(2);
  EXPECT_EQ(itemStates()[1], 0);
  EXPECT_EQ(itemStates()[2], 1);
  clickItem(2);
  EXPECT_EQ(itemStates()[2], 0);
  EXPECT_EQ(window->selectedTool(), kCMToolSelect);

  clickItem(0);
  ASSERT_EQ(itemStates()[0], 1);
  window->selectTool(kCMToolRectangle, nullptr);
  EXPECT_EQ(itemStates()[0], 0) << "another tool turns the items off";
}

TEST_F(LibraryPanel, TheRemoveButtonAsksAndYesRemovesTheItem) {
  openPanel({});
  const std::size_t count = panel().collectionView().items().size();
  const auto second = panel().collectionView().items()[1]->shapeItem();
  clickItem(1);
  CMToolbarButton& remove = panel().collectionView().items()[1]->view()->removeBt();
  platform::test::clickButton(remove.gtkButton());
  settle();
  EXPECT_EQ(alertText(false), "Warning");
  EXPECT_EQ(alertText(), "The shape will be removed. Continue?");
  answer(1);  // No
  EXPECT_EQ(panel().collectionView().items().size(), count);
  EXPECT_EQ(window->selectedTool(), kCMToolLibraryShape);

  platform::test::clickButton(panel().collectionView().items()[1]->view()->removeBt().gtkButton());
  settle();
  answer(0);  // Yes
  const auto& items = panel().libraries().selectedLibrary()->items();
  ASSERT_EQ(items.size(), count - 1);
  EXPECT_EQ(std::find(items.begin(), items.end(), second), items.end());
  EXPECT_EQ(panel().collectionView().items().size(), count - 1);
  EXPECT_EQ(window->selectedTool(), kCMToolSelect);
  EXPECT_EQ(CMShapeLibraries().selectedLibrary()->items().size(), count - 1) << "saved";
}

TEST_F(LibraryPanel, OnlyCellsOnScreenHaveViewsUntilScrolledToAndRowsReflowWithTheWidth) {
  openPanel({makeLibrary("Many", 60)});
  panel().libraries().selectLibrary("Many");
  panel().reload();
  settle();
  const auto& cells = panel().collectionView().items();
  ASSERT_EQ(cells.size(), 60u);
  const double width = panel().collectionView().frame().size.width;
  const std::size_t columns = static_cast<std::size_t>(width / 100);
  ASSERT_GE(columns, 1u);
  EXPECT_EQ(panel().collectionView().frame().size.height, 100.0 * ((60 + columns - 1) / columns));
  EXPECT_TRUE(cells.front()->view());
  EXPECT_FALSE(cells.back()->view()) << "the last row is far below the panel's height";
  // The user drags the scroller to the end: the last cells get their views, in their places.
  auto* scrollView = dynamic_cast<platform::ScrollView*>(panel().collectionView().superview()->superview());
  ASSERT_NE(scrollView, nullptr);
  Gtk::Scrollbar& scroller = scrollView->gtkVerticalScroller();
  scroller.set_value(scroller.get_adjustment()->get_upper());
  settle();
  ASSERT_TRUE(cells.back()->view());
  EXPECT_EQ(cells.back()->view()->frame().origin,
            (platform::Point{100.0 * (59 % columns), 100.0 * (59 / columns)}));

  // Wider by one cell: one more a row, every shown cell moved to its new place.
  platform::View& root = *panel().view();
  root.setFrameSize({root.frame().size.width + 100, root.frame().size.height});
  settle();
  const std::size_t wider = static_cast<std::size_t>(panel().collectionView().frame().size.width / 100);
  EXPECT_EQ(wider, columns + 1);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (!cells[i]->view()) continue;
    EXPECT_EQ(cells[i]->view()->frame().origin, (platform::Point{100.0 * (i % wider), 100.0 * (i / wider)})) << i;
  }
}

// Fills probed on the drawn button: off shows the picture alone, on puts it on 0.7 grey, a held press on 0.5.
TEST_F(LibraryPanel, ItemsAreDrawnOnGreyWhileOnOrPressed) {
  openPanel({});
  CMShapeItemButton& button = itemButton(0);
  // A corner the picture leaves empty, in the widget's pixels.
  const auto cornerGrey = [&] {
    const auto surface = platform::test::renderWidget(button.widget());
    const platform::test::Pixel pixel = platform::test::pixelAt(surface.get(), 1, 1);
    return pixel.alpha == 0 ? -1 : pixel.red;
  };
  EXPECT_EQ(cornerGrey(), -1);
  const platform::Point pixel = button.localToGtk({40, 40});
  platform::test::injectButton(button.widget(), GDK_BUTTON_PRESS, 1, pixel.x, pixel.y);
  settle();
  EXPECT_NEAR(cornerGrey(), 128, 1);
  platform::test::injectButton(button.widget(), GDK_BUTTON_RELEASE, 1, pixel.x, pixel.y);
  settle();
  EXPECT_NEAR(cornerGrey(), 179, 1);
  // The picture is drawn at half strength over the grey.
  EXPECT_EQ(button.state(), 1);
}

}  // namespace
}  // namespace ui_testing
