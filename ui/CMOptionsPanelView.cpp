#include "ui/CMOptionsPanelView.h"

#include <utility>

#include "document/CMProject.h"
#include "platform/ui/scroll_view.h"
#include "ui/CMPanelRootView.h"

namespace {

constexpr double kInitialWidth = 250;
constexpr double kInitialHeight = 400;

}  // namespace

CMOptionsPanelView::CMOptionsPanelView()
    : scrollView_(std::make_shared<platform::ScrollView>(platform::Rect{0, 0, kInitialWidth, kInitialHeight})),
      workView_(std::make_shared<CMRightPanelWorkView>(platform::Rect{0, 0, kInitialWidth, 0})) {
  auto root = std::make_shared<CMPanelRootView>(platform::Rect{0, 0, kInitialWidth, kInitialHeight},
                                                [this](platform::Size size) {
                                                  scrollView_->setFrame({0, 0, size.width, size.height});
                                                  updateSections();
                                                });
  scrollView_->setHasHorizontalScroller(false);
  scrollView_->setDocumentView(workView_);
  root->addSubview(scrollView_);
  workView_->setDelegate(this);
  setView(std::move(root));
}

CMOptionsPanelView::~CMOptionsPanelView() = default;

std::string CMOptionsPanelView::collapseKey(const std::string& sectionName) {
  return "right_panel_" + sectionName + "_show";
}

std::shared_ptr<CMRightPanelBaseView> CMOptionsPanelView::createView(std::vector<platform::DictRef> records) {
  const double height = CMRightPanelBaseView::sectionHeight(records);
  auto section = std::make_shared<CMRightPanelBaseView>(platform::Rect{0, 0, kSectionWidth, height});
  section->setDelegate(this);
  section->setParameters(std::move(records));
  return section;
}

void CMOptionsPanelView::addSection(const std::string& name, std::shared_ptr<CMRightPanelBaseView> view) {
  const std::int32_t hidden = CMProject::shareProject().profile().integerForKey(collapseKey(name));
  items_.push_back(platform::Dictionary::make({{"name", name},
                                               {"viewID", static_cast<std::int64_t>(items_.size())},
                                               {"hidden", hidden},
                                               {"height", view->frame().size.height}}));
  views_.push_back(std::move(view));
}

void CMOptionsPanelView::createSections() { placeSections(true); }

void CMOptionsPanelView::updateSections() {
  placeSections(false);
  updateValues();
}

void CMOptionsPanelView::placeSections(bool creating) {
  const auto collapsed = [&](std::size_t i) {
    return creating ? items_[i]->get("hidden").intValue() != 0 : views_[i]->itemsIsHidden();
  };
  double total = 0;
  for (std::size_t i = 0; i < items_.size(); ++i)
    total += collapsed(i) ? kCollapsedHeight : items_[i]->get("height").doubleValue();
  // The scroller shows only when the sections do not fit.
  scrollView_->setHasVerticalScroller(total > scrollView_->frame().size.height);
  scrollView_->tile();
  const double width = scrollView_->contentView().frame().size.width;
  workView_->setFrame({workView_->frame().origin, {width, total}});
  double offset = 0;
  for (std::size_t i = items_.size(); i-- > 0;) {
    CMRightPanelBaseView& section = *views_[i];
    if (creating) {
      section.setName(items_[i]->get("name").string());
      items_[i]->set("height", section.frame().size.height);
    }
    const double height = collapsed(i) ? kCollapsedHeight : items_[i]->get("height").doubleValue();
    section.setFrame({0, total - height - offset, width, height});
    if (creating) {
      section.setItemsIsHidden(collapsed(i));
      section.setDelegate(this);
      workView_->addSubview(views_[i]);
    }
    offset += height;
  }
  scrollView_->tile();
}

void CMOptionsPanelView::updateValues() {
  for (const auto& section : views_) section->updateValues();
}

void CMOptionsPanelView::removeSections() {
  for (const auto& section : views_) section->removeFromSuperview();
  views_.clear();
  items_.clear();
}

void CMOptionsPanelView::didHide(CMRightPanelBaseView& section) {
  const bool collapse = !section.itemsIsHidden();
  section.setItemsIsHidden(collapse);
  CMProject::shareProject().profile().setInteger(collapse ? 1 : 0, collapseKey(section.name()));
  updateSections();
}
