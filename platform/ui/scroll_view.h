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

class RulerView;

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
  ~ScrollView() override;

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
  // Rulers: a horizontal band above the clip view and a vertical one at its left, each shown while rulers are
  // visible and the scroll view has that ruler. Having one makes a ruler in points the first time.
  void setHasHorizontalRuler(bool has);
  void setHasVerticalRuler(bool has);
  bool hasHorizontalRuler() const { return hasHorizontalRuler_; }
  bool hasVerticalRuler() const { return hasVerticalRuler_; }
  void setRulersVisible(bool visible);
  bool rulersVisible() const { return rulersVisible_; }
  // Replaces a ruler (a subclass drawing its own marks); null removes it.
  void setHorizontalRulerView(std::shared_ptr<RulerView> ruler);
  void setVerticalRulerView(std::shared_ptr<RulerView> ruler);
  RulerView* horizontalRulerView() const { return horizontalRuler_.get(); }
  RulerView* verticalRulerView() const { return verticalRuler_.get(); }

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
  void replaceRuler(std::shared_ptr<RulerView>& slot, std::shared_ptr<RulerView> ruler);
  void redisplayRulers();
  bool showsRuler(const std::shared_ptr<RulerView>& ruler, bool has) const;

  std::shared_ptr<ClipView> clip_;
  std::shared_ptr<View> horizontalView_;
  std::shared_ptr<View> verticalView_;
  Gtk::Scrollbar* horizontal_ = nullptr;  // managed by its view
  Gtk::Scrollbar* vertical_ = nullptr;    // managed by its view
  std::vector<sigc::connection> connections_;
  std::shared_ptr<RulerView> horizontalRuler_;
  std::shared_ptr<RulerView> verticalRuler_;
  std::function<void()> boundsDidChange_;
  bool hasHorizontal_ = true;
  bool hasVertical_ = true;
  bool hasHorizontalRuler_ = false;
  bool hasVerticalRuler_ = false;
  bool rulersVisible_ = false;
};

}  // namespace platform
