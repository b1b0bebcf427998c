#pragma once

// The Window menu's model: one item per window that asked to be listed, in the
// order they were added. The menu bar shows the titles and calls choose() with
// the picked index; the window layer rebuilds the menu when told it changed.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace platform {

class WindowMenu {
 public:
  struct Item {
    const void* window = nullptr;  // identity only, never dereferenced
    std::string title;
    std::string filename;
    std::function<void()> bringToFront;
  };

  // A window already listed is updated in place.
  void addWindowsItem(const void* window, std::string title, std::string filename, std::function<void()> bringToFront);
  void removeWindowsItem(const void* window);
  bool contains(const void* window) const;
  // Out of range does nothing.
  void choose(std::size_t index);

  const std::vector<Item>& items() const noexcept { return items_; }
  void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

 private:
  void notifyChanged();

  std::vector<Item> items_;
  std::function<void()> changed_;
};

}  // namespace platform
