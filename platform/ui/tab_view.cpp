#include "platform/ui/tab_view.h"

#include <gtkmm/box.h>

namespace platform {

TabView::Strip::Strip(Rect frame) : Control(frame), notebook_(Gtk::make_managed<Gtk::Notebook>()) {
  notebook_->set_show_border(false);
  setContent(*notebook_);
}

TabView::TabView(Rect frame) : View(frame), strip_(std::make_shared<Strip>(Rect{0, 0, frame.size.width, kTabHeight})) {
  addSubview(strip_);
  switched_ = strip_->notebook().signal_switch_page().connect(
      [this](Gtk::Widget*, guint page) { show(static_cast<int>(page)); });
}

TabView::~TabView() { switched_.disconnect(); }

Rect TabView::itemFrame() const {
  const Size size = frame().size;
  return {0, kTabHeight, size.width, std::max(0.0, size.height - kTabHeight)};
}

void TabView::addTabViewItem(const std::string& label, std::shared_ptr<View> view) {
  view->setFrame(itemFrame());
  view->setHidden(true);
  addSubview(view);
  items_.push_back(view);
  auto* page = Gtk::make_managed<Gtk::Box>();
  page->show();
  // Appending the first page switches to it, which shows its view.
  strip_->notebook().append_page(*page, label);
}

void TabView::selectTabViewItemAtIndex(int index) {
  if (index < 0 || index >= numberOfTabViewItems()) return;
  if (strip_->notebook().get_current_page() == index) {
    show(index);
  } else {
    strip_->notebook().set_current_page(index);  // switch-page shows it
  }
}

void TabView::show(int index) {
  if (index < 0 || index >= numberOfTabViewItems()) return;
  for (int i = 0; i < numberOfTabViewItems(); ++i) items_[static_cast<std::size_t>(i)]->setHidden(i != index);
  selected_ = index;
  if (didSelect_) didSelect_(index);
}

void TabView::resizeSubviewsWithOldSize(Size) {
  strip_->setFrame({0, 0, frame().size.width, kTabHeight});
  for (const std::shared_ptr<View>& item : items_) item->setFrame(itemFrame());
}

}  // namespace platform
