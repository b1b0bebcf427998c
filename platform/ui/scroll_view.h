#pragma once

// NSScrollView: a clip view showing part of a document view, with scroll bars.
// Scrolling moves the clip view's bounds origin, so the document view keeps
// its frame and every point conversion stays exact, as in AppKit.

#include <gtkmm/scrollbar.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/view.h"

namespace platform {

// NSClipView: flipped exactly when its document view is, so scroll offsets read the document's way.
class ClipView : public View {
 public:
  using View::View;
  bool isFlipped() const override;
  View* documentView() const { return subviews().empty() ? nullptr : subviews().front().get(); }
};

class ScrollView : public View {
 public:
  explicit ScrollView(Rect frame);

  void setDocumentView(std::shared_ptr<View> view);
  View* documentView() const { return clip_->documentView(); }
  ClipView& contentView() { return *clip_; }
  // The part of the document shown, in its coordinates.
  Rect documentVisibleRect() const { return clip_->bounds(); }
  // Scrolls so the visible rect starts at `point` (document coordinates), within the document.
  void scrollToPoint(Point point);
  // Lays out again after the document's frame or the scroller choice changed (reflectScrolledClipView:).
  void tile();
  void setHasHorizontalScroller(bool has);
  void setHasVerticalScroller(bool has);
  // Called whenever the visible rect moved, by code or by the user (live scroll notifications).
  void setBoundsDidChange(std::function<void()> callback) { boundsDidChange_ = std::move(callback); }

  void scrollWheel(const Event& event) override;

  Gtk::Scrollbar& gtkHorizontalScroller() { return *horizontal_; }
  Gtk::Scrollbar& gtkVerticalScroller() { return *vertical_; }

 protected:
  void resizeSubviewsWithOldSize(Size oldSize) override;

 private:
  class Scroller;
  Point clampedOrigin(Point origin) const;
  void updateScrollers();
  void userScrolled();

  std::shared_ptr<ClipView> clip_;
  std::shared_ptr<View> horizontalView_;
  std::shared_ptr<View> verticalView_;
  Gtk::Scrollbar* horizontal_ = nullptr;  // managed by its view
  Gtk::Scrollbar* vertical_ = nullptr;    // managed by its view
  std::vector<sigc::connection> connections_;
  std::function<void()> boundsDidChange_;
  bool hasHorizontal_ = true;
  bool hasVertical_ = true;
};

}  // namespace platform
