#include "platform/core/window_menu.h"

#include <algorithm>
#include <utility>

namespace platform {

void WindowMenu::addWindowsItem(const void* window, std::string title, std::string filename,
                                std::function<void()> bringToFront) {
  auto found = std::ranges::find(items_, window, &Item::window);
  if (found != items_.end()) {
    found->title = std::move(title);
    found->filename = std::move(filename);
    found->bringToFront = std::move(bringToFront);
  } else {
    items_.push_back({window, std::move(title), std::move(filename), std::move(bringToFront)});
  }
  notifyChanged();
}

void WindowMenu::removeWindowsItem(const void* window) {
  const auto removed = std::erase_if(items_, [window](const Item& item) { return item.window == window; });
  if (removed > 0) notifyChanged();
}

bool WindowMenu::contains(const void* window) const {
  return std::ranges::find(items_, window, &Item::window) != items_.end();
}

void WindowMenu::choose(std::size_t index) {
  if (index >= items_.size()) return;
  // A copy: bringing a window to the front usually rebuilds the menu.
  std::function<void()> bringToFront = items_[index].bringToFront;
  if (bringToFront) bringToFront();
}

void WindowMenu::notifyChanged() {
  if (changed_) changed_();
}

}  // namespace platform
