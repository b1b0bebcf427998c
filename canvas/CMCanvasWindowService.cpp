#include "canvas/CMCanvasWindowService.h"

#include <utility>

#include "document/CMLayer.h"
#include "platform/ui/event.h"

namespace {

class DetachedCanvasWindow final : public CMCanvasWindowService {
 public:
  platform::View* mainView() override { return nullptr; }
  void selectLayer(const platform::DictRef&, const void*) override {}
  void updateProperties() override {}
  void didSelectAll() override {}
  bool isAltPressed() override { return (platform::currentModifierFlags() & platform::modifier::Option) != 0; }
  void zoomIn(platform::Point) override {}
  void zoomOut(platform::Point) override {}
  void showArrangeMenu(platform::Point, platform::View&) override {}
  void selectTool(int, const platform::DictRef&) override {}
  void setScrollPosition(platform::Point) override {}
};

std::shared_ptr<CMCanvasWindowService>& installedService() {
  static std::shared_ptr<CMCanvasWindowService> service;
  return service;
}

}  // namespace

void CMCanvasWindowService::selectLayer(const std::shared_ptr<CMLayer>& layer, const void* sender) {
  selectLayer(layer ? layer->data() : nullptr, sender);
}

void CMCanvasWindowService::showSelection(const std::vector<platform::DictRef>& records, const void* sender) {
  selectLayer(records.empty() ? platform::DictRef() : records.front(), sender);
  updateProperties();
}

CMCanvasWindowService& CMCanvasWindowService::shared() {
  if (installedService()) return *installedService();
  static DetachedCanvasWindow detached;
  return detached;
}

std::shared_ptr<CMCanvasWindowService> CMCanvasWindowService::install(std::shared_ptr<CMCanvasWindowService> service) {
  return std::exchange(installedService(), std::move(service));
}
