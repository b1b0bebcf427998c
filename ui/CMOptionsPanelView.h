#pragma once

// A right panel made of sections (the layer style and page panels): the root
// view with a scroll view whose document view, the work view, stacks the
// section views top down. Each section has a description record {"name",
// "viewID", "hidden", "height"} beside its view; a section's collapse state
// is kept per name in the profile ("right_panel_<name>_show", 1 collapsed)
// and read again whenever a section of that name is made.
//
// The panel is the delegate of its sections and of its work view; subclasses
// answer the sections' questions (findValue, setValue, isEnable).

#include <memory>
#include <string>
#include <vector>

#include "platform/core/value.h"
#include "ui/CMBasePanelView.h"
#include "ui/CMRightPanelBaseView.h"
#include "ui/CMRightPanelWorkView.h"

namespace platform {
class ScrollView;
}

class CMOptionsPanelView : public CMBasePanelView,
                           public CMRightPanelBaseViewDelegate,
                           public CMRightPanelWorkViewDelegate {
 public:
  static constexpr double kCollapsedHeight = CMRightPanelBaseView::kHeaderHeight;
  static constexpr double kSectionWidth = 200;

  CMOptionsPanelView();
  ~CMOptionsPanelView() override;

  platform::ScrollView& scrollView() const { return *scrollView_; }
  CMRightPanelWorkView& workView() const { return *workView_; }
  const std::vector<std::shared_ptr<CMRightPanelBaseView>>& views() const { return views_; }
  const std::vector<platform::DictRef>& items() const { return items_; }

  // A section of the records: 200 wide, as high as its rows and header, with this panel as its delegate.
  std::shared_ptr<CMRightPanelBaseView> createView(std::vector<platform::DictRef> records);
  // Lists a made section under its name, with its stored collapse state.
  void addSection(const std::string& name, std::shared_ptr<CMRightPanelBaseView> view);
  // Places the listed sections into the work view, collapsed as stored.
  void createSections();
  // Places them again as they are now collapsed, then reads every section's values again.
  void updateSections();
  void updateFrame() { updateSections(); }
  void updateValues();
  void removeSections();

  // ---- CMRightPanelBaseViewDelegate: the header's "Hide"/"Show"; "New" and "Delete" do nothing here ----
  void didHide(CMRightPanelBaseView& section) override;
  void didNew(CMRightPanelBaseView&) override {}
  void didDelete(CMRightPanelBaseView&) override {}
  // ---- CMRightPanelWorkViewDelegate ----
  void didUpdateSections() override {}

  static std::string collapseKey(const std::string& sectionName);

 private:
  void placeSections(bool creating);

  std::shared_ptr<platform::ScrollView> scrollView_;
  std::shared_ptr<CMRightPanelWorkView> workView_;
  std::vector<platform::DictRef> items_;
  std::vector<std::shared_ptr<CMRightPanelBaseView>> views_;
};
