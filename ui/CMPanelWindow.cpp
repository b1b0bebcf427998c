#include "ui/CMPanelWindow.h"

#include <utility>

namespace {

class DetachedPanelWindow final : public CMPanelWindow {
 public:
  void selectLayers(const std::vector<platform::DictRef>&, const void*) override {}
  bool isShiftPressed() override { return false; }
  void groupLayers(const std::vector<platform::DictRef>&) override {}
  void ungroupLayers(const std::vector<platform::DictRef>&) override {}
  platform::Window* sheetParent() override { return nullptr; }
};

std::shared_ptr<CMPanelWindow>& installedWindow() {
  static std::shared_ptr<CMPanelWindow> window;
  return window;
}

}  // namespace

CMPanelWindow& CMPanelWindow::shared() {
  if (installedWindow()) return *installedWindow();
  static DetachedPanelWindow detached;
  return detached;
}

std::shared_ptr<CMPanelWindow> CMPanelWindow::install(std::shared_ptr<CMPanelWindow> window) {
  return std::exchange(installedWindow(), std::move(window));
}
