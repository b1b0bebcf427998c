#include "ui/CMPicturePanelView.h"

#include <algorithm>
#include <cmath>

#include "canvas/CMZoomSteps.h"
#include "document/CMColorRecord.h"
#include "document/CMDocument.h"
#include "document/CMMainWindowService.h"
#include "document/CMNotificationNames.h"
#include "document/CMProject.h"
#include "ui/CPMainView.h"

namespace {

using platform::Array;
using platform::Dictionary;
using platform::DictRef;

constexpr const char* kNotSaveRatio = "not_save_ratio";

DictRef row(const char* name, int type, int propertyId) {
  return Dictionary::make({{"name", name}, {"control_type", type}, {"property_id", propertyId}});
}

}  // namespace

CMPicturePanelView::CMPicturePanelView()
    : pageChanged_(platform::NotificationCenter::defaultCenter().addObserver(
          kNotificationPageChanged, [this](const platform::Notification&) { updateSections(); })) {
  addSection("Resolution", createView(imageParameters()));
  addSection("Background", createView(backgroundParameters()));
  createSections();
}

std::vector<DictRef> CMPicturePanelView::imageParameters() {
  DictRef size = row("Size", CMRightPanelBaseView::kColumns, 0);
  size->set("items", Array::make({row("Width", CMRightPanelBaseView::kNumber, kWidth),
                                  row("Height", CMRightPanelBaseView::kNumber, kHeight)}));
  return {size, row("Save Ratio", CMRightPanelBaseView::kCheckBox, kSaveRatio)};
}

std::vector<DictRef> CMPicturePanelView::backgroundParameters() {
  return {row("Transparent", CMRightPanelBaseView::kCheckBox, kTransparent),
          row("Color", CMRightPanelBaseView::kColor, kColor)};
}

void CMPicturePanelView::setDocument(std::shared_ptr<CMDocument> document) {
  CMBasePanelView::setDocument(std::move(document));
  updateSections();
}

DictRef CMPicturePanelView::backgroundColorRecord() const {
  const DictRef& root = document()->data();
  DictRef background = root->dictionary("background");
  if (!background) {
    background = Dictionary::make();
    root->set("background", background);
  }
  DictRef color = background->dictionary("bg_color");
  if (!color) {
    color = Dictionary::make({{"r", 255}, {"g", 255}, {"b", 255}, {"a", 255}});
    background->set("bg_color", color);
  }
  return color;
}

CMPanelValue CMPicturePanelView::findValue(int propertyId, int) {
  if (!document() || !document()->data()) return {};
  const DictRef& root = document()->data();
  CMGlobalProfile& profile = CMProject::shareProject().profile();
  const DictRef background = root->dictionary("background");
  const DictRef color = background ? background->dictionary("bg_color") : nullptr;
  switch (propertyId) {
    case kWidth:
      return platform::Value(root->get("width").floatValue());
    case kHeight:
      return platform::Value(root->get("height").floatValue());
    case kSaveRatio:
      return platform::Value(!profile.boolForKey(kNotSaveRatio));
    case kWidthDisplayMode:
      return platform::Value(profile.boolForKey("width_display_mode") ? 1 : 0);
    case kHeightDisplayMode:
      return platform::Value(profile.boolForKey("height_display_mode") ? 1 : 0);
    case kTransparent:
      return platform::Value(color && color->get("a").doubleValue() == 0);
    case kColor:
      // A transparent page keeps its colour for when it is opaque again: the well shows that colour.
      if (color && color->get("a").doubleValue() == 0) return colorWithDictionary(color, 1);
      return colorWithDictionary(color);
    default:
      return {};
  }
}

void CMPicturePanelView::setValue(const CMPanelValue& value, int propertyId, int index) {
  if (!document() || !document()->data()) return;
  CMGlobalProfile& profile = CMProject::shareProject().profile();
  const platform::Value plain = panelValueAsValue(value);
  switch (propertyId) {
    case kWidth:
    case kHeight:
      setSide(plain.doubleValue(), propertyId, index);
      break;
    case kSaveRatio:
      profile.setBool(!plain.boolValue(), kNotSaveRatio);
      break;
    case kWidthDisplayMode:
      profile.setInteger(plain.intValue(), "width_display_mode");
      break;
    case kHeightDisplayMode:
      profile.setInteger(plain.intValue(), "height_display_mode");
      break;
    case kTransparent: {
      const DictRef color = backgroundColorRecord();
      beginWrite(propertyId, index, document()->data());
      document()->undoManager().regUndoArray(kCMUndoRootKeys, Array::make({"background"}));
      color->set("a", plain.boolValue() ? 0.0F : 255.0F);
      refreshPage(false);
      break;
    }
    case kColor: {
      const auto* picked = std::get_if<platform::Color>(&value);
      if (!picked) return;
      const DictRef color = backgroundColorRecord();
      if (beginWrite(propertyId, index, document()->data()))
        document()->undoManager().regUndoArray(kCMUndoRootKeys, Array::make({"background"}));
      setColorDict(color, *picked);
      refreshPage(false);
      break;
    }
    default:
      break;
  }
}

bool CMPicturePanelView::acceptsSide(double side) {
  // The page the canvas can show, no smaller than a point, and no larger than the field's stepper goes.
  return side >= 1 && side <= std::min(kCMLargestPageLength, CMRightPanelBaseView::kUnrangedLimit);
}

void CMPicturePanelView::setSide(double value, int propertyId, int index) {
  if (!acceptsSide(value)) return;
  const DictRef& root = document()->data();
  const char* edited = propertyId == kWidth ? "width" : "height";
  const char* other = propertyId == kWidth ? "height" : "width";
  const bool keepRatio = !CMProject::shareProject().profile().boolForKey(kNotSaveRatio);
  const float current = root->get(edited).floatValue();
  const float otherSide = root->get(other).floatValue();
  const float ratio = current / otherSide;
  const bool scalesOther = keepRatio && current != 0 && otherSide != 0 && std::isfinite(ratio);
  if (beginWrite(propertyId, index, root)) {
    document()->undoManager().regUndoArray(
        kCMUndoPageSize, scalesOther ? Array::make({"height", "width"}) : Array::make({edited}));
  }
  root->set(edited, static_cast<float>(value));
  if (scalesOther) root->set(other, static_cast<float>(value) / ratio);
  refreshPage(true);
}

void CMPicturePanelView::refreshPage(bool sizeChanged) {
  if (sizeChanged) {
    CMMainWindowService::shared().setDocument(document());
  } else if (CPMainView* main = CMProject::shareProject().mainView()) {
    main->update();
  }
  if (CPMainView* main = CMProject::shareProject().mainView()) main->updateEditor();
}
