#include "document/CMMainWindowService.h"

#include <utility>

namespace {

class DetachedMainWindow final : public CMMainWindowService {
 public:
  void updateEditor() override {}
  void updateDocument() override {}
  platform::DictRef selectedLayer() override { return nullptr; }
  std::shared_ptr<CMBaseDocument> document() override { return document_; }
  void setDocument(std::shared_ptr<CMBaseDocument> document) override { document_ = std::move(document); }

 private:
  std::shared_ptr<CMBaseDocument> document_;
};

std::shared_ptr<CMMainWindowService>& installedService() {
  static std::shared_ptr<CMMainWindowService> service;
  return service;
}

}  // namespace

void CMMainWindowService::selectAddedLayers(const CMBaseDocument&, const std::vector<platform::DictRef>&) {}

CMMainWindowService& CMMainWindowService::shared() {
  if (installedService()) return *installedService();
  static DetachedMainWindow detached;
  return detached;
}

std::shared_ptr<CMMainWindowService> CMMainWindowService::install(std::shared_ptr<CMMainWindowService> service) {
  return std::exchange(installedService(), std::move(service));
}
