// The shape library panel: its views, the grid and pop-up kept in step with the store, and the settings menu.

#include "ui/CMLibraryPanelView.h"

#include "canvas/CMEditorView.h"
#include "platform/ui/button.h"
#include "platform/ui/menu.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/scroll_view.h"
#include "ui/CMLibraryGridView.h"
#include "ui/CMLibraryItemPrototype.h"
#include "ui/CMMainWindowController.h"
#include "ui/CMPanelRootView.h"
#include "ui/CMToolboxView.h"

namespace {

constexpr double kInitialWidth = 250;
constexpr double kInitialHeight = 400;
constexpr double kSettingsWidth = 70;

CMLibraryPanelView*& sharedPanel() {
  static CMLibraryPanelView* panel = nullptr;
  return panel;
}

}  // namespace

const std::vector<CMLibraryPanelView::BuiltInLibrary>& CMLibraryPanelView::builtInLibraries() {
  static const std::vector<BuiltInLibrary> libraries{
      {"Stroke Clothes", "StrokeClothes"},
      {"Casual Wear", "CasualWear"},
      {"Numbers", "Numbers"},
      {"Common Shapes", "CommonShapes"},
      {"Simple Shapes", "SimpleShapes"},
      {"Frames", "Frames"},
      {"Man Shirt Back", "ManShirtBack"},
      {"Man Shirt Back 2", "ManShirtBack2"},
      {"Man Shirt Front", "ManShirtFront"},
      {"Man Shirt Front 2", "ManShirtFront2"},
      {"Man Army T-shirt", "ManArmyT-shirt1"},
      {"Woman T-shirt Front 1", "WomanTShirtFront1"},
      {"Woman T-shirt Front 2", "WomanT-ShirtFront2"},
      {"Woman T-shirt Front 3", "WomanT-ShirtFront3"},
      {"Simple T-shirt Front and Back", "SimpleT-ShirtFrontandBack"},
      {"Patterns", "Patterns"},
      {"Woman T-shirt Template", "WomanT-ShirtTemplate"},
      {"Holiday Elements", "HolidayElements"},
      {"Simple Summer Collection", "SimpleSummerCollection"},
      {"Everyday Casual", "EverydayCasual"},
      {"Everyday Casual Elements", "EverydayCasualElements"},
      {"Mockups", "Mockups"},
      {"Sport Collection", "SportCollection"},
      {"Techno Shapes", "TechnoShapes"},
      {"Scattered Shapes", "ScatteredShapes"},
  };
  return libraries;
}

CMLibraryPanelView::CMLibraryPanelView()
    : toolbar_(std::make_shared<CMToolboxView>(
          platform::Rect{0, kInitialHeight - kButtonRowHeight, kInitialWidth, kButtonRowHeight})),
      settingsButton_(std::make_shared<platform::Button>(platform::Rect{6, 4, kSettingsWidth, 28},
                                                         platform::ButtonType::MomentaryPush, "Settings")),
      librarySelectorView_(std::make_shared<platform::PopUpButton>(
          platform::Rect{kSettingsWidth + 12, 4, kInitialWidth - kSettingsWidth - 18, 28})),
      scrollView_(std::make_shared<platform::ScrollView>(
          platform::Rect{0, 0, kInitialWidth, kInitialHeight - kButtonRowHeight})),
      collectionView_(std::make_shared<CMLibraryGridView>(platform::Rect{0, 0, kInitialWidth, 0})) {
  sharedPanel() = this;
  auto root = std::make_shared<CMPanelRootView>(platform::Rect{0, 0, kInitialWidth, kInitialHeight},
                                                [this](platform::Size size) { layout(size); });
  scrollView_->setHasHorizontalScroller(false);
  scrollView_->setDocumentView(collectionView_);
  scrollView_->setBoundsDidChange([this] { collectionView_->setVisibleRect(scrollView_->documentVisibleRect()); });
  root->addSubview(scrollView_);
  root->addSubview(toolbar_);
  toolbar_->addSubview(settingsButton_);
  toolbar_->addSubview(librarySelectorView_);
  settingsButton_->setAction([this](platform::Control&) { OnSettings(); });
  librarySelectorView_->setAction([this](platform::Control&) { OnSelectLibrary(); });
  setView(std::move(root));
  buildSettingsMenu();
  removeShape_ = platform::NotificationCenter::defaultCenter().addObserver(
      kNotificationRemoveShape, [this](const platform::Notification& note) { OnRemoveShape(note.object); });
  layout(view()->frame().size);
  loadfirstlibrary();
  showStoreMessages();
}

CMLibraryPanelView::~CMLibraryPanelView() {
  if (sharedPanel() == this) sharedPanel() = nullptr;
}

CMLibraryPanelView* CMLibraryPanelView::sharedLibraryPanel() { return sharedPanel(); }

void CMLibraryPanelView::buildSettingsMenu() {
  menuSettings_ = std::make_unique<platform::Menu>();
  platform::Menu& menu = *menuSettings_;
  const auto item = [](platform::Menu& into, const std::string& title, std::function<void()> action,
                       std::function<bool()> enabled = {}) {
    platform::MenuItem& made = into.addItem(title, [action = std::move(action)](platform::MenuItem&) { action(); });
    if (enabled) made.setValidator([enabled = std::move(enabled)](platform::MenuItem&) { return enabled(); });
  };
  item(menu, "New Library\u2026", [this] { OnNewShapeLibrary(); });
  item(menu, "Rename Library\u2026", [this] { OnRename(); }, [this] { return canRemoveRenameOrExport(); });
  item(menu, "Remove Library", [this] { OnRemoveShapeLibrary(); }, [this] { return canRemoveRenameOrExport(); });
  menu.addSeparator();
  item(menu, "Import Library\u2026", [this] { OnImport(); });
  item(menu, "Export Library\u2026", [this] { OnExport(); }, [this] { return canRemoveRenameOrExport(); });
  menu.addSeparator();
  item(menu, "Add Selected Shapes", [this] { OnAddSelectedShapesToLibrary(); },
       [this] { return canAddSelectedShapes(); });
  item(menu, "Add Selected Image", [this] { OnAddSelectedImageToLibrary(); });
  item(menu, "Delete Selected Shapes", [this] { OnDeleteShape(); }, [this] { return canDeleteShape(); });
  menu.addSeparator();
  platform::Menu& builtIn = menu.addSubmenu("Built-in Libraries");
  for (const BuiltInLibrary& library : builtInLibraries()) {
    item(builtIn, library.title, [this, resource = std::string(library.resource)] { importBuiltIn(resource); });
  }
}

void CMLibraryPanelView::layout(platform::Size size) {
  toolbar_->setFrame({0, size.height - kButtonRowHeight, size.width, kButtonRowHeight});
  librarySelectorView_->setFrame({kSettingsWidth + 12, 4, std::max(40.0, size.width - kSettingsWidth - 18), 28});
  scrollView_->setFrame({0, 0, size.width, std::max(0.0, size.height - kButtonRowHeight)});
  fitGrid();
}

void CMLibraryPanelView::fitGrid() {
  // The scroller shows only when the rows do not fit the whole width.
  collectionView_->fitWidth(scrollView_->frame().size.width);
  scrollView_->setHasVerticalScroller(collectionView_->frame().size.height > scrollView_->frame().size.height);
  scrollView_->tile();
  collectionView_->fitWidth(scrollView_->contentView().frame().size.width);
  scrollView_->tile();
  collectionView_->setVisibleRect(scrollView_->documentVisibleRect());
}

void CMLibraryPanelView::loadItems() {
  const auto& selected = libraries_.selectedLibrary();
  collectionView_->setContent(selected ? selected->items() : CMLibraryGridView::Items{});
  fitGrid();
  updateLibraryNames();
}

void CMLibraryPanelView::reload() { loadItems(); }

void CMLibraryPanelView::updateLibraryNames() {
  librarySelectorView_->removeAllItems();
  for (const auto& library : libraries_.items()) librarySelectorView_->addItemWithTitle(library->name());
  if (const auto& selected = libraries_.selectedLibrary()) librarySelectorView_->selectItemWithTitle(selected->name());
}

void CMLibraryPanelView::deselectAll() {
  for (const auto& cell : collectionView_->items()) cell->deSelect();
}

bool CMLibraryPanelView::hasSelectedShape() const {
  for (const auto& cell : collectionView_->items()) {
    if (cell->isSelected()) return true;
  }
  return false;
}

bool CMLibraryPanelView::canRemoveRenameOrExport() const { return libraries_.selectedLibrary() != nullptr; }

bool CMLibraryPanelView::canAddSelectedShapes() const {
  CMEditorView* canvas = CMEditorView::activeEditor();
  return libraries_.selectedLibrary() && canvas && !canvas->selectedLayers().empty();
}
