#include "ui/CMDocumentSelectorView.h"

#include <gtk/gtk.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/menu.h>

#include <algorithm>
#include <utility>

#include "document/CMDocumentManager.h"
#include "platform/core/document_controller.h"
#include "platform/core/numeric.h"
#include "platform/core/resources.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/button.h"
#include "platform/ui/image_named.h"
#include "platform/ui/menu.h"

namespace {
constexpr double kButtonSize = 18;
constexpr double kButtonRightInset = 20;
constexpr double kButtonY = 3;
// The documents menu hangs this far below the button.
constexpr int kMenuDrop = 2;
}  // namespace

CMDocumentSelectorView::CMDocumentSelectorView()
    : CMPanelBase({0, 0, 100, kHeight}, kCMPaneDocumentTabs),
      allDocumentsBt_(std::make_shared<platform::Button>(platform::Rect{0, 0, kButtonSize, kButtonSize},
                                                         platform::ButtonType::MomentaryPush)) {
  allDocumentsBt_->setImage(platform::pixbufNamed("next_items_bt"));
  // Borderless, and the theme's padding would not fit an 18-point picture in an 18-point button.
  auto css = Gtk::CssProvider::create();
  css->load_from_data("button { min-height: 0; min-width: 0; padding: 0; border-width: 0; }");
  allDocumentsBt_->gtkButton().get_style_context()->add_provider(css, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  allDocumentsBt_->gtkButton().set_focus_on_click(false);
  allDocumentsBt_->setAction([this](platform::Control&) { OnShowDocumentsMenu(); });
  allDocumentsBt_->setHidden(true);
  addSubview(allDocumentsBt_);
  placeAllDocumentsButton();

  if (auto image = platform::Image::fromFile(platform::pathForResource("close_bt", "png", "images")))
    closeImage_.emplace(std::move(image).value());

  tabUpdates_ = platform::NotificationCenter::defaultCenter().addObserver(
      kNotificationNeedToUpdateDocumentTab, [this](const platform::Notification&) { onNeedToUpdateDocumentTab(); });
}

CMDocumentSelectorView::~CMDocumentSelectorView() = default;

CMDocumentTabLayout CMDocumentSelectorView::tabLayout(std::size_t documentCount, double width) {
  CMDocumentTabLayout layout;
  if (documentCount == 0) return layout;
  const double room = width - kButtonRoom;
  const double count = static_cast<double>(documentCount);
  if (!(count * kTabWidth > room)) {
    layout.drawn = documentCount;
    layout.tabWidth = kTabWidth;
    return layout;
  }
  layout.showsAllDocumentsButton = true;
  layout.drawn = documentCount;
  layout.tabWidth = room / count;
  if (layout.tabWidth < kMinimumTabWidth) {
    // Only as many minimum-width tabs as fit, for the last documents of the list.
    const std::size_t fitting = platform::saturatingTruncate<std::size_t>(room / kMinimumTabWidth);
    layout.drawn = std::min(fitting, documentCount);
    layout.skipped = documentCount - layout.drawn;
    layout.tabWidth = layout.drawn > 0 ? room / static_cast<double>(layout.drawn) : 0;
  }
  return layout;
}

void CMDocumentSelectorView::layoutPane() {
  // The pane layout keeps the strip's y, so pin it to the top edge first.
  const double top = superview() ? superview()->frame().size.height : 0;
  setFrameOrigin({frame().origin.x, top - frame().size.height});
  CMPanelBase::layoutPane();
}

void CMDocumentSelectorView::resizeSubviewsWithOldSize(platform::Size oldSize) {
  CMPanelBase::resizeSubviewsWithOldSize(oldSize);
  placeAllDocumentsButton();
}

void CMDocumentSelectorView::placeAllDocumentsButton() {
  allDocumentsBt_->setFrame({frame().size.width - kButtonRightInset, kButtonY, kButtonSize, kButtonSize});
}

std::optional<CMDocumentSelectorView::TabHit> CMDocumentSelectorView::tabAt(const platform::Event& event) const {
  const platform::Point point = convertPointFromWindow(event.locationInWindow);
  for (const TabRecord& tab : currentTabs()) {
    if (!platform::pointInRect(point, tab.rect)) continue;
    const platform::Rect closeArea{tab.rect.origin.x, tab.rect.origin.y, kCloseAreaWidth, tab.rect.size.height};
    return TabHit{tab.document, platform::pointInRect(point, closeArea)};
  }
  return std::nullopt;
}

void CMDocumentSelectorView::mouseDown(const platform::Event& event) { pressed_ = tabAt(event); }

void CMDocumentSelectorView::mouseUp(const platform::Event& event) {
  // A tab acts only on a click that went down and up in the same part of it.
  const std::optional<TabHit> pressed = std::exchange(pressed_, std::nullopt);
  const std::optional<TabHit> released = tabAt(event);
  if (!pressed || !released || pressed->document != released->document || pressed->onClose != released->onClose)
    return;
  if (released->onClose) {
    CMDocumentManager::sharedDocumentManager().closeDocument(released->document);
    setNeedsDisplay();
    return;
  }
  if (released->document != platform::DocumentController::shared().currentDocument()) {
    CMDocumentManager::sharedDocumentManager().openDocument(released->document);
    setNeedsDisplay();
  }
}

void CMDocumentSelectorView::OnShowDocumentsMenu() {
  const platform::DocumentController& controller = platform::DocumentController::shared();
  auto menu = std::make_unique<platform::Menu>();
  const auto& documents = controller.documents();
  for (std::size_t index = 0; index < documents.size(); ++index) {
    platform::MenuItem& item = menu->addItem(
        documents[index]->displayName(), [this](platform::MenuItem& sender) { OnMenuPopup(sender); }, {"", 0});
    item.setTag(platform::saturatingTruncate<int>(static_cast<double>(index)));
    if (documents[index] == controller.currentDocument()) item.setState(1);
  }
  documentsMenu_ = std::move(menu);
  GdkEvent* trigger = gtk_get_current_event();
  if (!trigger) {
    // Not from a click (a shortcut, the main queue): GTK needs an event to place a menu by.
    documentsMenu_->popUpAtPointer();
    return;
  }
  Gtk::Menu& shown = documentsMenu_->gtkMenu();
  shown.property_rect_anchor_dy() = kMenuDrop;
  shown.popup_at_widget(&allDocumentsBt_->widget(), Gdk::GRAVITY_SOUTH_WEST, Gdk::GRAVITY_NORTH_WEST, trigger);
  gdk_event_free(trigger);
}

void CMDocumentSelectorView::OnMenuPopup(platform::MenuItem& item) {
  const platform::DocumentController& controller = platform::DocumentController::shared();
  const auto& documents = controller.documents();
  // The list may have changed while the menu was open.
  if (item.tag() < 0 || static_cast<std::size_t>(item.tag()) >= documents.size()) return;
  const std::shared_ptr<platform::Document> chosen = documents[static_cast<std::size_t>(item.tag())];
  if (chosen == controller.currentDocument()) return;
  CMDocumentManager::sharedDocumentManager().openDocument(chosen);
  setNeedsDisplay();
}
