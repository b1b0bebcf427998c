#include "platform/ui/scroll_view.h"

#include <gtkmm/adjustment.h>

#include <algorithm>
#include <cmath>

#include "platform/ui/ruler_view.h"
#include "platform/ui/signal_guard.h"

namespace platform {

namespace {
constexpr double kScrollerWidth = 14;
// One wheel notch scrolls this many points, as a line of AppKit's default line scroll.
constexpr double kLineScroll = 10;
}  // namespace

bool ClipView::isFlipped() const {
  const View* document = documentView();
  return document && document->isFlipped();
}

class ScrollView::Scroller : public View {
 public:
  Scroller(Gtk::Orientation orientation, Gtk::Scrollbar*& out) : View(Rect{}) {
    out = Gtk::make_managed<Gtk::Scrollbar>(Gtk::Adjustment::create(0, 0, 1, 1, 1, 1), orientation);
    setContentWidget(*out);
  }
};

ScrollView::ScrollView(Rect frame) : View(frame), clip_(std::make_shared<ClipView>()) {
  horizontalView_ = std::make_shared<Scroller>(Gtk::ORIENTATION_HORIZONTAL, horizontal_);
  verticalView_ = std::make_shared<Scroller>(Gtk::ORIENTATION_VERTICAL, vertical_);
  addSubview(clip_);
  addSubview(horizontalView_);
  addSubview(verticalView_);
  connections_.push_back(horizontal_->get_adjustment()->signal_value_changed().connect([this] { userScrolled(); }));
  connections_.push_back(vertical_->get_adjustment()->signal_value_changed().connect([this] { userScrolled(); }));
  tile();
}

ScrollView::~ScrollView() {
  // Rulers kept elsewhere must not point back at a scroll view that is gone.
  for (const auto& ruler : {horizontalRuler_, verticalRuler_})
    if (ruler) ruler->setScrollView(nullptr);
}

void ScrollView::setDocumentView(std::shared_ptr<View> view) {
  while (!clip_->subviews().empty()) clip_->subviews().front()->removeFromSuperview();
  if (view) {
    clip_->addSubview(view);
    view->setFrameOrigin({0, 0});
  }
  tile();
}

void ScrollView::setHasHorizontalScroller(bool has) {
  hasHorizontal_ = has;
  tile();
}

void ScrollView::setHasVerticalScroller(bool has) {
  hasVertical_ = has;
  tile();
}

void ScrollView::setHasHorizontalRuler(bool has) {
  hasHorizontalRuler_ = has;
  if (has && !horizontalRuler_)
    replaceRuler(horizontalRuler_, std::make_shared<RulerView>(RulerOrientation::Horizontal));
  tile();
}

void ScrollView::setHasVerticalRuler(bool has) {
  hasVerticalRuler_ = has;
  if (has && !verticalRuler_) replaceRuler(verticalRuler_, std::make_shared<RulerView>(RulerOrientation::Vertical));
  tile();
}

void ScrollView::setRulersVisible(bool visible) {
  rulersVisible_ = visible;
  tile();
}

void ScrollView::setHorizontalRulerView(std::shared_ptr<RulerView> ruler) {
  replaceRuler(horizontalRuler_, std::move(ruler));
  tile();
}

void ScrollView::setVerticalRulerView(std::shared_ptr<RulerView> ruler) {
  replaceRuler(verticalRuler_, std::move(ruler));
  tile();
}

void ScrollView::replaceRuler(std::shared_ptr<RulerView>& slot, std::shared_ptr<RulerView> ruler) {
  if (slot) {
    slot->setScrollView(nullptr);
    slot->removeFromSuperview();
  }
  slot = std::move(ruler);
  if (!slot) return;
  if (slot->scrollView() && slot->scrollView() != this) {
    ScrollView& previous = *slot->scrollView();
    if (previous.horizontalRuler_ == slot) previous.setHorizontalRulerView(nullptr);
    if (previous.verticalRuler_ == slot) previous.setVerticalRulerView(nullptr);
  }
  slot->setScrollView(this);
  addSubview(slot);
}

bool ScrollView::showsRuler(const std::shared_ptr<RulerView>& ruler, bool has) const {
  return ruler && has && rulersVisible_;
}

void ScrollView::resizeSubviewsWithOldSize(Size) { tile(); }

void ScrollView::tile() {
  const Size size = frame().size;
  const double bar = kScrollerWidth;
  const double bottom = hasHorizontal_ ? bar : 0;
  const double right = hasVertical_ ? bar : 0;
  const bool showsTop = showsRuler(horizontalRuler_, hasHorizontalRuler_);
  const bool showsLeft = showsRuler(verticalRuler_, hasVerticalRuler_);
  const double top = showsTop ? horizontalRuler_->ruleThickness() : 0;
  const double left = showsLeft ? verticalRuler_->ruleThickness() : 0;
  horizontalView_->setHidden(!hasHorizontal_);
  verticalView_->setHidden(!hasVertical_);
  horizontalView_->setFrame({0, 0, std::max(0.0, size.width - right), bar});
  verticalView_->setFrame({size.width - bar, bottom, bar, std::max(0.0, size.height - bottom)});
  const double clipWidth = std::max(0.0, size.width - right - left);
  const double clipHeight = std::max(0.0, size.height - bottom - top);
  clip_->setFrame({left, bottom, clipWidth, clipHeight});
  if (horizontalRuler_) {
    horizontalRuler_->setHidden(!showsTop);
    horizontalRuler_->setFrame({left, bottom + clipHeight, clipWidth, top});
  }
  if (verticalRuler_) {
    verticalRuler_->setHidden(!showsLeft);
    verticalRuler_->setFrame({0, bottom, left, clipHeight});
  }
  scrollToPoint(clip_->bounds().origin);
  redisplayRulers();
}

void ScrollView::redisplayRulers() {
  for (const auto& ruler : {horizontalRuler_, verticalRuler_})
    if (ruler) ruler->setNeedsDisplay();
}

Point ScrollView::clampedOrigin(Point origin) const {
  const View* document = documentView();
  const Size visible = clip_->frame().size;
  const Rect area = document ? document->frame() : Rect{};
  const auto clampAxis = [](double value, double start, double length, double window) {
    const double highest = std::max(start, start + length - window);
    return std::isfinite(value) ? std::clamp(value, start, highest) : start;
  };
  return {clampAxis(origin.x, area.origin.x, area.size.width, visible.width),
          clampAxis(origin.y, area.origin.y, area.size.height, visible.height)};
}

void ScrollView::scrollToPoint(Point point) {
  const Point origin = clampedOrigin(point);
  const bool moved = origin != clip_->bounds().origin;
  clip_->setBoundsOrigin(origin);
  updateScrollers();
  if (!moved) return;
  redisplayRulers();
  if (boundsDidChange_) boundsDidChange_();
}

void ScrollView::updateScrollers() {
  SignalGuard blocked(connections_);
  const View* document = documentView();
  const Rect area = document ? document->frame() : Rect{};
  const Rect visible = clip_->bounds();
  const auto set = [](Gtk::Scrollbar& bar, double value, double length, double page) {
    auto adjustment = bar.get_adjustment();
    adjustment->configure(value, 0, std::max(length, page), page / 10, page * 0.9, page);
  };
  set(*horizontal_, visible.origin.x - area.origin.x, area.size.width, visible.size.width);
  // GTK's scroll bars count from the top; an unflipped document's origin is at its bottom.
  const double fromTop = clip_->isFlipped()
                             ? visible.origin.y - area.origin.y
                             : area.origin.y + area.size.height - (visible.origin.y + visible.size.height);
  set(*vertical_, fromTop, area.size.height, visible.size.height);
}

void ScrollView::userScrolled() {
  const View* document = documentView();
  if (!document) return;
  const Rect area = document->frame();
  const Size visible = clip_->frame().size;
  const double x = area.origin.x + horizontal_->get_adjustment()->get_value();
  const double fromTop = vertical_->get_adjustment()->get_value();
  const double y =
      clip_->isFlipped() ? area.origin.y + fromTop : area.origin.y + area.size.height - fromTop - visible.height;
  scrollToPoint({x, y});
}

void ScrollView::scrollWheel(const Event& event) {
  const Point origin = clip_->bounds().origin;
  // deltaY > 0 scrolls up: toward the document's top.
  const double dy = event.deltaY * kLineScroll;
  scrollToPoint({origin.x - event.deltaX * kLineScroll, clip_->isFlipped() ? origin.y - dy : origin.y + dy});
}

}  // namespace platform
