#include "document/CMGradientEditorService.h"

#include <utility>

namespace {

class DetachedGradientEditor final : public CMGradientEditorService {
 public:
  void update() override {}
};

std::shared_ptr<CMGradientEditorService>& installedService() {
  static std::shared_ptr<CMGradientEditorService> service;
  return service;
}

}  // namespace

CMGradientEditorService& CMGradientEditorService::sharedGradient() {
  if (installedService()) return *installedService();
  static DetachedGradientEditor detached;
  return detached;
}

std::shared_ptr<CMGradientEditorService> CMGradientEditorService::install(
    std::shared_ptr<CMGradientEditorService> service) {
  return std::exchange(installedService(), std::move(service));
}
