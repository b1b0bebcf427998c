#pragma once

// A right panel made of sections (the layer style and page panels): the root
// view with a scroll view whose document view, the work view, stacks the
// section views top down. Each section has a description record {"name",
// "viewID", "hidden", "height"} beside its view; a section's collapse state
// is kept per name in the profile ("right_panel_<name>_show", 1 collapsed)
// and read again whenever a section of that name is made.
//
// The panel is the delegate of its sections and of its work view. As itself it
// is the "Layer Style" panel: sections by the type of the current layer
// (general settings, font, each stroke, fill and shadow entry, blur), whose
// changes are written into the layer record with undo and shown by the canvas.
// Subclasses show other records by answering the sections' questions
// (findValue, setValue, isEnable) themselves.
//
// The layer is held by record and found again by its "id" whenever the layers
// change (undo may put a copy in its place): another record rebuilds the
// sections, a layer that is gone leaves none.

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

  // ---- the layer style ----
  enum PanelType : int { kPlainSection = 0, kFillSection = 1, kShadowSection = 2, kStrokeSection = 3 };
  static constexpr int kLastSlot = 9;

  const platform::DictRef& selectedLayer() const { return selectedLayer_; }
  // Another document shows none of this one's layers.
  void setDocument(std::shared_ptr<CMDocument> document) override;
  // Shows the layer (null for none); nothing when it is the one shown.
  void selectLayer(platform::DictRef record);
  // The sections of the shown layer, built again.
  void recreate();
  void show(bool shown) override;
  // A line shape: a shape layer of shape type 4 whose shape is no bezier.
  bool isLineShape() const;
  // The layer can become a mask: it is not the bottom-most entry of its list.
  bool isCanBeMask() const;
  // Moves the shown layer into the "masks" of the layer below it, or back above its owner, as its "ismask" says;
  // false, changing nothing, when the move is impossible.
  bool updateMaskPositionForLayer();

  // ---- CMRightPanelBaseViewDelegate ----
  CMPanelValue findValue(int propertyId, int index) override;
  void setValue(const CMPanelValue& value, int propertyId, int index) override;
  bool isEnable(int propertyId, int index) override;
  void didHide(CMRightPanelBaseView& section) override;
  // A numbered stroke or fill entry after the highest present one; nothing once slot 9 exists.
  void didNew(CMRightPanelBaseView& section) override;
  void didDelete(CMRightPanelBaseView& section) override;
  // ---- CMRightPanelWorkViewDelegate ----
  void didUpdateSections() override {}

  static std::string collapseKey(const std::string& sectionName);

 private:
  void placeSections(bool creating);
  // The style's sections for the layer's type.
  void createStyleSections();
  void addStyleSection(const std::string& name, std::vector<platform::DictRef> rows, int panelType, int slot);
  // The layer's stroke, fill or shadow entry of the slot ("stroke", "stroke1", …), the record holding it (the shape
  // record; the text style record for shadows of a layer without one), and the path of keys to it from the layer.
  struct Entry {
    platform::DictRef record;
    platform::DictRef holder;
    platform::ArrayRef path;
  };
  Entry entry(const char* base, int slot) const;
  platform::DictRef shapeRecord() const;
  platform::DictRef styleRecord() const;
  void writeValue(const CMPanelValue& value, int propertyId, int index);
  // Registers the undo record of a write of the keys into `target` (found from the layer down `path`) when the
  // write opens an editing run (of `runRecord`, the target by default); a type-0 copy of the layer stands in where
  // the keys have no value yet. `previous` holds values from before an edit already made in place. Marks the
  // document edited.
  void regUndoAction(int propertyId, int index, const platform::DictRef& target, const platform::ArrayRef& path,
                     std::vector<std::string> keys, const platform::DictRef& runRecord = nullptr,
                     const platform::DictRef& previous = nullptr);
  void setMask(bool mask);
  // The layer of the same id in the document now: the same record, a copy put in its place, or null.
  platform::DictRef liveLayer() const;
  void layersChanged();

  std::shared_ptr<platform::ScrollView> scrollView_;
  std::shared_ptr<CMRightPanelWorkView> workView_;
  std::vector<platform::DictRef> items_;
  std::vector<std::shared_ptr<CMRightPanelBaseView>> views_;
  platform::DictRef selectedLayer_;
  platform::ObserverToken layerChanged_;
  platform::ObserverToken layersChanged_;
};
