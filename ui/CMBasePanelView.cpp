#include "ui/CMBasePanelView.h"

#include <utility>

#include "document/CMDocument.h"
#include "document/CMNotificationNames.h"
#include "platform/ui/view.h"

CMBasePanelView::CMBasePanelView()
    : endTextEditing_(platform::NotificationCenter::defaultCenter().addObserver(
          kNotificationEndTextEditing, [this](const platform::Notification&) { endEditing(); })) {}

CMBasePanelView::~CMBasePanelView() = default;

void CMBasePanelView::setDocument(std::shared_ptr<CMDocument> document) { document_ = std::move(document); }

void CMBasePanelView::setColorDict(const platform::DictRef& record, const platform::Color& color) {
  if (!record) return;
  record->set("a", color.alpha() * 255);
  record->set("r", color.red() * 255);
  record->set("g", color.green() * 255);
  record->set("b", color.blue() * 255);
}

bool CMBasePanelView::beginWrite(int propertyId, int index, const platform::DictRef& record) {
  if (document_) document_->setDirty(true);
  const bool sameRecord = run_ && !run_->record.owner_before(record) && !record.owner_before(run_->record) &&
                          !run_->record.expired();
  if (run_ && run_->propertyId == propertyId && run_->index == index && sameRecord) return false;
  run_ = EditingRun{propertyId, index, record};
  return true;
}
