#include "ui/CMLibraryItemPrototype.h"

#include "document/CMShapeItem.h"
#include "platform/core/notification_center.h"
#include "platform/ui/alert.h"
#include "platform/ui/image_named.h"
#include "ui/CMLibraryGridView.h"
#include "ui/CMMainWindowController.h"
#include "ui/CMPanelWindow.h"
#include "ui/CMShapeItemButton.h"
#include "ui/CMToolbarButton.h"
#include "canvas/CMEditorView.h"

CMShapeItemView::CMShapeItemView(platform::Point origin)
    : platform::View({origin, {kSide, kSide}}),
      button_(std::make_shared<CMShapeItemButton>(platform::Rect{10, 10, 80, 80})),
      removeBt_(std::make_shared<CMToolbarButton>(platform::Rect{2, 6, 20, 20}, platform::ButtonType::MomentaryPush)) {
  removeBt_->setImages(platform::pixbufNamed("delete"), platform::pixbufNamed("delete"));
  addSubview(button_);
  addSubview(removeBt_);
}

CMLibraryItemPrototype::CMLibraryItemPrototype(CMLibraryGridView& grid, std::shared_ptr<CMLibraryItem> item)
    : grid_(&grid), item_(std::move(item)) {}

void CMLibraryItemPrototype::loadView() {
  if (view_) return;
  view_ = std::make_shared<CMShapeItemView>(platform::Point{0, 0});
  const std::weak_ptr<CMLibraryItemPrototype> self = weak_from_this();
  CMShapeItemButton& button = view_->button();
  button.setAction([self](platform::Control&) {
    if (auto cell = self.lock()) cell->OnPressButton();
  });
  button.setImage(item_->thumbnailImage());
  button.setData(item_);
  button.setState(on_ ? 1 : 0);
  view_->removeBt().setAction([self](platform::Control&) {
    if (auto cell = self.lock()) cell->OnRemoveItem();
  });
}

void CMLibraryItemPrototype::deSelect() {
  on_ = false;
  if (view_) view_->button().setState(0);
}

void CMLibraryItemPrototype::OnPressButton() {
  on_ = view_ && view_->button().state() == 1;
  for (const auto& other : grid_->items()) {
    if (other.get() != this) other->deSelect();
  }
  const std::shared_ptr<CMMainWindowController> window = CMMainWindowController::sharedWindowController();
  if (isSelected()) {
    window->selectTool(kCMToolLibraryShape, item_->shapeData());
  } else {
    window->selectTool(kCMToolSelect, nullptr);
  }
}

void CMLibraryItemPrototype::OnRemoveItem() {
  platform::Window* window = CMPanelWindow::shared().sheetParent();
  if (!window) return;
  auto alert = platform::Alert::create();
  alert->setMessageText("Warning");
  alert->setInformativeText("The shape will be removed. Continue?");
  alert->addButtonWithTitle("Yes");
  alert->addButtonWithTitle("No");
  // The completion keeps this cell alive: the panel's reload drops it from the grid while it runs.
  alert->beginSheet(*window, [self = shared_from_this()](int response) {
    if (response == platform::Alert::FirstButtonReturn) {
      platform::NotificationCenter::defaultCenter().post(kNotificationRemoveShape, self.get());
    }
  });
}
