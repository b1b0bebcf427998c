#pragma once

// The document tab strip along the top edge of the main view: one tab per open
// document of the document controller, the shown one lighter, a close mark at
// each tab's left end, and a button that pops up a menu of every document once
// the tabs no longer fit. It keeps no document list of its own: every drawing
// reads the controller's list and remembers where each tab went, and clicks
// go to the document manager.

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/notification_center.h"
#include "platform/graphics/image.h"
#include "ui/CMPanelBase.h"

namespace platform {
class Button;
class Document;
class Menu;
class MenuItem;
}  // namespace platform

// How many of n documents get a tab in a strip of a given width, and how wide the tabs are.
struct CMDocumentTabLayout {
  std::size_t skipped = 0;  // the first documents of the list that get no tab
  std::size_t drawn = 0;
  double tabWidth = 0;
  bool showsAllDocumentsButton = false;
};

class CMDocumentSelectorView : public CMPanelBase {
 public:
  static constexpr double kHeight = 26;
  static constexpr double kTabWidth = 180;
  static constexpr double kMinimumTabWidth = 60;
  // Room kept free at the right end for the all-documents button.
  static constexpr double kButtonRoom = 32;
  static constexpr double kFirstTabX = 10;
  // The leftmost part of a tab that closes its document.
  static constexpr double kCloseAreaWidth = 16;

  struct TabRecord {
    std::shared_ptr<platform::Document> document;
    platform::Rect rect;
  };

  CMDocumentSelectorView();
  ~CMDocumentSelectorView() override;

  static CMDocumentTabLayout tabLayout(std::size_t documentCount, double width);

  void onNeedToUpdateDocumentTab() { setNeedsDisplay(); }
  void update() { setNeedsDisplay(); }
  // Keeps the strip at the top edge of the main view, whatever its height.
  void layoutPane() override;

  void drawRect(const platform::Rect& dirtyRect) override;
  // A click on a tab's close area closes its document; elsewhere on another document's tab it shows that one.
  void mouseDown(const platform::Event& event) override;
  void mouseUp(const platform::Event& event) override;

  void OnShowDocumentsMenu();
  void OnMenuPopup(platform::MenuItem& item);

  // The tabs of the last drawing, in drawing order.
  const std::vector<TabRecord>& tabs() const { return tabs_; }
  platform::Button& allDocumentsButton() const { return *allDocumentsBt_; }
  // The menu last popped up by the all-documents button, or null.
  platform::Menu* documentsMenu() const { return documentsMenu_.get(); }

 protected:
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;

 private:
  // Where a mouse event falls: the tab's document and whether in its close area.
  struct TabHit {
    std::shared_ptr<platform::Document> document;
    bool onClose = false;
  };
  // Where the tabs of the documents open now stand, drawn yet or not: a click right after a document opens finds
  // its tab.
  std::vector<TabRecord> currentTabs() const;
  std::optional<TabHit> tabAt(const platform::Event& event) const;
  void drawTabs();
  void drawTab(const platform::Document& document, const platform::Rect& rect, bool first);
  void drawActiveTab(const platform::Document& document, const platform::Rect& rect);
  void drawDocumentTitle(const platform::Document& document, const platform::Rect& rect);
  void drawCloseBt(const platform::Rect& rect);
  void placeAllDocumentsButton();

  std::vector<TabRecord> tabs_;
  std::optional<TabHit> pressed_;
  std::shared_ptr<platform::Button> allDocumentsBt_;
  std::unique_ptr<platform::Menu> documentsMenu_;
  std::optional<platform::Image> closeImage_;
  platform::ObserverToken tabUpdates_;
};
