// The layer style: which sections a layer shows, what its rows read, and what their changes write.

#include <cmath>
#include <cstdint>
#include <optional>

#include "document/CMColorRecord.h"
#include "document/CMDocument.h"
#include "document/CMLayerSides.h"
#include "document/CMNotificationNames.h"
#include "document/CMPathShape.h"
#include "document/CMProject.h"
#include "document/CMTextLayer.h"
#include "platform/core/numeric.h"
#include "platform/core/string_utilities.h"
#include "ui/CMColorPicker.h"
#include "ui/CMLayerStyleParameters.h"
#include "ui/CMOptionsPanelView.h"
#include "ui/CPMainView.h"
#include "ui/VDGradientWindowController.h"

namespace {

using platform::Array;
using platform::ArrayRef;
using platform::DictRef;
using platform::Value;
using namespace CMLayerStyleParameters;

constexpr int kShapeLayer = 0;
constexpr int kImageLayer = 1;
constexpr int kTextLayer = 2;
constexpr int kLineShapeType = 4;

// "stroke" for slot 0, "stroke3" for slot 3.
std::string entryKey(const char* base, int slot) {
  return slot == 0 ? std::string(base) : platform::formatString("%s%d", base, slot);
}

std::int64_t truncated(double value) { return platform::saturatingTruncate<std::int64_t>(value); }

CMPanelValue colorOf(const DictRef& holder, const char* key) {
  const DictRef record = holder ? holder->dictionary(key) : nullptr;
  if (!record) return {};
  return colorWithDictionary(record);
}

// Where a shape's outline lies in its layer, as the canvas draws it: an imported shape keeps its points where the
// file had them and point editing moves them, so neither the layer's origin nor its stored sides need say where the
// shape lies and what it measures. None for other layers, and for outlines that are no point records.
std::optional<platform::Rect> outlineOf(const DictRef& layer) {
  if (layer->get("type").intValue() != kShapeLayer) return std::nullopt;
  const DictRef shape = layer->dictionary("shape");
  const platform::BezierPath path = CMPathShape::pathFromPointRecords(shape ? shape->array("points") : nullptr);
  if (path.isEmpty()) return std::nullopt;
  return path.bounds();
}

// The layer's left or top edge on the page.
double shownOrigin(const DictRef& layer, bool x) {
  const std::optional<platform::Rect> outline = outlineOf(layer);
  const double offset = !outline ? 0 : x ? outline->origin.x : outline->origin.y;
  return layer->get(x ? "x" : "y").doubleValue() + offset;
}

// The origin that puts the layer's edge at the typed place.
Value originFor(const DictRef& layer, bool x, double typed) {
  const double offset = shownOrigin(layer, x) - layer->get(x ? "x" : "y").doubleValue();
  return Value(typed - offset);
}

// A shape's side is its outline's; a text layer without a side of its own has the side its text measures.
double shownSide(const DictRef& layer, bool width) {
  if (const std::optional<platform::Rect> outline = outlineOf(layer))
    return width ? outline->size.width : outline->size.height;
  const double stored = layer->get(width ? "width" : "height").doubleValue();
  if (stored != 0 || layer->get("type").intValue() != kTextLayer) return stored;
  CMTextLayer text(layer);
  text.updateLayerRect();
  const platform::Size measured = text.layerRect().size;
  return width ? measured.width : measured.height;
}

enum class Refresh { Update, Layer, Size, Shape };

void refreshCanvas(Refresh refresh) {
  CPMainView* main = CMProject::shareProject().mainView();
  if (!main) return;
  switch (refresh) {
    case Refresh::Update:
      main->update();
      main->updateSelectedLayer();
      break;
    case Refresh::Layer:
      main->updateSelectedLayer();
      break;
    case Refresh::Size:
      // The size, and for text the measured lines of its new font.
      main->updateSelectedLayerSize();
      main->updateSelectedLayer();
      break;
    case Refresh::Shape:
      main->updateSelectedShape();
      break;
  }
}

}  // namespace

void CMOptionsPanelView::show(bool shown) {
  CMBasePanelView::show(shown);
  auto& center = platform::NotificationCenter::defaultCenter();
  if (!shown) {
    layerChanged_ = {};
    layersChanged_ = {};
    return;
  }
  if (!layerChanged_)
    layerChanged_ =
        center.addObserver(kNotificationLayerChanged, [this](const platform::Notification&) { updateValues(); });
  if (!layersChanged_)
    layersChanged_ =
        center.addObserver(kNotificationLayersChanged, [this](const platform::Notification&) { layersChanged(); });
  // What changed while the panel was hidden.
  layersChanged();
}

void CMOptionsPanelView::setDocument(std::shared_ptr<CMDocument> document) {
  const bool other = document != this->document();
  CMBasePanelView::setDocument(std::move(document));
  if (other) selectLayer(nullptr);
}

void CMOptionsPanelView::selectLayer(DictRef record) {
  if (record == selectedLayer_) return;
  selectedLayer_ = std::move(record);
  recreate();
}

void CMOptionsPanelView::recreate() {
  // Neither the colour dialog nor the gradient window may write through a control of the sections going away.
  if (CMColorPicker* active = CMColorPicker::activePicker()) active->deactivate();
  VDGradientWindowController::sharedGradient().setDelegate(nullptr);
  removeSections();
  if (selectedLayer_) createStyleSections();
  createSections();
}

void CMOptionsPanelView::layersChanged() {
  if (!selectedLayer_) return;
  const DictRef live = liveLayer();
  // The same record may have changed in place (a path command gave it another outline and size).
  if (live == selectedLayer_) return updateValues();
  selectedLayer_ = live;
  recreate();
}

bool CMOptionsPanelView::isLineShape() const {
  if (!selectedLayer_ || selectedLayer_->get("type").intValue() != kShapeLayer) return false;
  const DictRef shape = shapeRecord();
  return selectedLayer_->get("shape_type").intValue() == kLineShapeType &&
         !(shape && shape->get("isbezier").boolValue());
}

void CMOptionsPanelView::addStyleSection(const std::string& name, std::vector<DictRef> rows, int panelType, int slot) {
  std::shared_ptr<CMRightPanelBaseView> section = createView(std::move(rows));
  const bool numbered = panelType == kStrokeSection || panelType == kFillSection;
  section->setHasAddButton(numbered);
  section->setHasRemoveButton(panelType != kPlainSection && slot >= 1);
  section->setPanelType(panelType);
  section->setIndexOfSection(slot);
  addSection(name, std::move(section));
}

void CMOptionsPanelView::createStyleSections() {
  const int type = selectedLayer_->get("type").intValue();
  if (type != kShapeLayer && type != kImageLayer && type != kTextLayer) return;
  addStyleSection("Layer", mainParameters(type, isLineShape()), kPlainSection, 0);
  if (type == kTextLayer) {
    addStyleSection("Font", fontParameters(), kPlainSection, 0);
    addStyleSection("Shadow", shadowParameters(0), kShadowSection, 0);
    return;
  }
  if (type != kShapeLayer || selectedLayer_->get("ismask").boolValue()) return;
  const DictRef shape = shapeRecord();
  const auto numbered = [&](const char* base, const char* title, auto parameters, int panelType) {
    addStyleSection(title, parameters(0), panelType, 0);
    for (int slot = 1; slot <= kLastSlot; ++slot) {
      if (shape && shape->dictionary(entryKey(base, slot)))
        addStyleSection(platform::formatString("%s %d", title, slot), parameters(slot), panelType, slot);
    }
  };
  numbered("stroke", "Stroke", strokeParameters, kStrokeSection);
  numbered("fill", "Fill", fillParameters, kFillSection);
  numbered("shadow", "Shadow", shadowParameters, kShadowSection);
  addStyleSection("Blur", blurParameters(), kPlainSection, 0);
}

DictRef CMOptionsPanelView::shapeRecord() const {
  return selectedLayer_ ? selectedLayer_->dictionary("shape") : nullptr;
}

DictRef CMOptionsPanelView::styleRecord() const {
  return selectedLayer_ ? selectedLayer_->dictionary("style") : nullptr;
}

CMOptionsPanelView::Entry CMOptionsPanelView::entry(const char* base, int slot) const {
  const std::string key = entryKey(base, slot);
  const DictRef shape = shapeRecord();
  // A layer without a shape record (text) keeps its shadows in its text style record.
  const bool inStyle = !shape && std::string_view(base) == "shadow";
  const DictRef holder = inStyle ? styleRecord() : shape;
  return {holder ? holder->dictionary(key) : nullptr, holder, Array::make({inStyle ? "style" : "shape", key})};
}

bool CMOptionsPanelView::isEnable(int propertyId, int) {
  if (!selectedLayer_) return false;
  if (propertyId == kIsMask) return selectedLayer_->get("ismask").boolValue() || isCanBeMask();
  return true;
}

CMPanelValue CMOptionsPanelView::findValue(int propertyId, int index) {
  if (!selectedLayer_) return {};
  const DictRef& L = selectedLayer_;
  const DictRef S = shapeRecord();
  const DictRef T = styleRecord();
  const auto shapeFloat = [&](const char* key) -> CMPanelValue {
    if (!S) return {};
    return Value(S->get(key).floatValue());
  };
  const auto styleValue = [&](const char* key) -> CMPanelValue {
    if (!T) return {};
    return T->get(key);
  };
  const auto fromEntry = [&](const char* base, auto read) -> CMPanelValue {
    const DictRef record = entry(base, index).record;
    if (!record) return {};
    return read(record);
  };
  const auto entryFloat = [&](const char* base, const char* key) {
    return fromEntry(base, [&](const DictRef& e) -> CMPanelValue { return Value(e->get(key).floatValue()); });
  };
  const auto entryInteger = [&](const char* base, const char* key) {
    return fromEntry(base, [&](const DictRef& e) -> CMPanelValue { return Value(e->get(key).integerValue()); });
  };
  const auto entryPercent = [&](const char* base) {
    return fromEntry(base, [&](const DictRef& e) -> CMPanelValue {
      return Value(e->contains("alpha") ? e->get("alpha").floatValue() * 100 : 100.0F);
    });
  };
  const auto entryColor = [&](const char* base) {
    return fromEntry(base, [&](const DictRef& e) { return colorOf(e, "color"); });
  };
  const auto entryGradient = [&](const char* base) {
    return fromEntry(base, [&](const DictRef& e) -> CMPanelValue {
      if (const DictRef gradient = e->dictionary("gradient")) return Value(gradient);
      return {};
    });
  };
  switch (propertyId) {
    case kOpacity:
      return Value(L->get("alpha").floatValue() * 100);
    case kX:
      return Value(shownOrigin(L, true));
    case kY:
      return Value(shownOrigin(L, false));
    case kX1:
      return shapeFloat("x1");
    case kY1:
      return shapeFloat("y1");
    case kX2:
      return shapeFloat("x2");
    case kY2:
      return shapeFloat("y2");
    case kWidth:
      return Value(shownSide(L, true));
    case kHeight:
      return Value(shownSide(L, false));
    case kRotate:
      return Value(L->get("rotate").floatValue());
    case kStrokeType:
      return entryInteger("stroke", "type");
    case kStrokeWidth:
      return entryFloat("stroke", "lineWidth");
    case kStrokeColor:
      return entryColor("stroke");
    case kStrokeGradient:
      return entryGradient("stroke");
    case kLineJoin:
      return entryFloat("stroke", "lineJoinStyle");
    case kLineCap:
      return entryFloat("stroke", "lineCapStyle");
    case kDash:
      return entryInteger("stroke", "dashStyle");
    case kFillType:
      return entryInteger("fill", "type");
    case kFillColor:
      return entryColor("fill");
    case kFillGradient:
      return entryGradient("fill");
    case kShadowEnable:
      return fromEntry("shadow", [](const DictRef& e) -> CMPanelValue { return Value(e->get("use").boolValue()); });
    case kShadowBlur:
      return entryInteger("shadow", "blurRadius");
    case kShadowOffsetX:
      return entryFloat("shadow", "offset_x");
    case kShadowOffsetY:
      return entryFloat("shadow", "offset_y");
    case kShadowColor:
      return entryColor("shadow");
    case kRound:
      return shapeFloat("round");
    case kFontColor:
      return colorOf(T, "foregroundColor");
    case kAlignment: {
      const DictRef paragraph = T ? T->dictionary("paragraphStyle") : nullptr;
      if (!paragraph) return {};
      return Value(paragraph->get("aligment").integerValue());
    }
    case kFontSize:
      return T ? CMPanelValue(Value(T->get("fontSize").floatValue())) : CMPanelValue();
    case kUnderline:
      return styleValue("underlilneStyle");
    case kStrikethrough:
      return styleValue("strikethroughStyle");
    case kFontName:
      return styleValue("fontName");
    case kFillOpacity:
      return entryPercent("fill");
    case kStrokeOpacity:
      return entryPercent("stroke");
    case kShadowOpacity:
      return entryPercent("shadow");
    case kBlurAmount: {
      if (!S) return {};
      const DictRef blur = S->dictionary("blur");
      return Value(blur ? blur->get("amount").floatValue() * 50 : 0.0F);
    }
    case kStrokeMode:
      return entryFloat("stroke", "mode");
    case kSaveRatio:
      return Value(L->get("saveratio").boolValue());
    case kIsMask:
      return Value(L->get("ismask").boolValue());
    case kBlendingMode:
      return Value(L->get("blending_mode").integerValue());
    default:
      // 1…7, 39 (a font, which no row shows) and anything past 47.
      return {};
  }
}

void CMOptionsPanelView::setValue(const CMPanelValue& value, int propertyId, int index) {
  if (!selectedLayer_ || !document()) return;
  // The value goes to the layer the document holds now, even when undo put a copy in its place.
  if (const DictRef live = liveLayer(); live && live != selectedLayer_) {
    selectedLayer_ = live;
  } else if (!live) {
    return;
  }
  writeValue(value, propertyId, index);
}

void CMOptionsPanelView::regUndoAction(int propertyId, int index, const DictRef& target, const ArrayRef& path,
                                       std::vector<std::string> keys, const DictRef& runRecord,
                                       const DictRef& previous) {
  if (!target || !beginWrite(propertyId, index, runRecord ? runRecord : target)) return;
  CMUndoManager& undo = document()->undoManager();
  ArrayRef keyArray = Array::make();
  for (std::string& key : keys) keyArray->add(std::move(key));
  // Keys with no value yet could not be taken away again by a key-level record.
  if (!undo.regUndoKeys(selectedLayer_, path, target, keyArray, previous))
    undo.regUndoDictionary(kCMUndoEditing, selectedLayer_);
}

void CMOptionsPanelView::writeValue(const CMPanelValue& value, int propertyId, int index) {
  const DictRef L = selectedLayer_;
  const DictRef S = shapeRecord();
  const DictRef T = styleRecord();
  const Value v = panelValueAsValue(value);
  const auto* color = std::get_if<platform::Color>(&value);
  const ArrayRef layerPath = Array::make();
  const auto toLayer = [&](const char* key, Value written, Refresh refresh) {
    regUndoAction(propertyId, index, L, layerPath, {key});
    L->set(key, std::move(written));
    refreshCanvas(refresh);
  };
  const auto toShape = [&](const char* key, Value written, Refresh refresh) {
    if (!S) return;
    regUndoAction(propertyId, index, S, Array::make({"shape"}), {key});
    S->set(key, std::move(written));
    refreshCanvas(refresh);
  };
  const auto toStyle = [&](const char* key, Value written) {
    if (!T) return;
    regUndoAction(propertyId, index, T, Array::make({"style"}), {key});
    T->set(key, std::move(written));
    refreshCanvas(Refresh::Size);
  };
  const auto toEntry = [&](const char* base, const char* key, Value written) {
    const Entry e = entry(base, index);
    if (!e.record) return;
    regUndoAction(propertyId, index, e.record, e.path, {key});
    e.record->set(key, std::move(written));
    refreshCanvas(Refresh::Layer);
  };
  const auto paintType = [&](const char* base) {
    const Entry e = entry(base, index);
    if (!e.record) return;
    regUndoAction(propertyId, index, e.record, e.path, {"use", "type"});
    e.record->set("use", v.intValue() != 0);
    e.record->set("type", static_cast<float>(v.intValue()));
    refreshCanvas(Refresh::Layer);
  };
  const auto colorInto = [&](const DictRef& holder, const ArrayRef& path, const char* key) {
    const DictRef record = holder ? holder->dictionary(key) : nullptr;
    if (!record || !color) return;
    regUndoAction(propertyId, index, holder, path, {key});
    setColorDict(record, *color);
    refreshCanvas(Refresh::Layer);
  };
  const auto entryColor = [&](const char* base) {
    const Entry e = entry(base, index);
    colorInto(e.record, e.path, "color");
  };
  // The gradient window edited the entry's record in place: undo restores the copy from before the edit.
  const auto gradientEdited = [&](const char* base) {
    const Entry e = entry(base, index);
    const auto* edit = std::get_if<CMGradientEdit>(&value);
    if (!e.record || !edit || e.record->dictionary("gradient") != edit->gradient) return;
    regUndoAction(propertyId, index, e.record, e.path, {"gradient"}, nullptr,
                  edit->previous ? platform::Dictionary::make({{"gradient", edit->previous}}) : nullptr);
    refreshCanvas(Refresh::Layer);
  };
  const float f = v.floatValue();
  switch (propertyId) {
    case kOpacity:
      return toLayer("alpha", f / 100, Refresh::Update);
    case kX:
      return toLayer("x", originFor(L, true, v.doubleValue()), Refresh::Update);
    case kY:
      return toLayer("y", originFor(L, false, v.doubleValue()), Refresh::Update);
    case kX1:
      return toShape("x1", f, Refresh::Layer);
    case kY1:
      return toShape("y1", f, Refresh::Layer);
    case kX2:
      return toShape("x2", f, Refresh::Layer);
    case kY2:
      return toShape("y2", f, Refresh::Layer);
    case kWidth:
    case kHeight: {
      const double side = v.doubleValue();
      if (!std::isfinite(side) || side < 1) return;
      const bool width = propertyId == kWidth;
      // A shape is resized from the size its outline has; the stored sides may be older (point editing). Another
      // layer keeps the other side it has, which for a text may be 0: as wide or high as its text.
      const bool outlined = outlineOf(L).has_value();
      const auto sideOf = [&](bool w) {
        return outlined ? shownSide(L, w) : L->get(w ? "width" : "height").doubleValue();
      };
      const double current = sideOf(width);
      double other = sideOf(!width);
      // The ratio needs both sides; without it the other side stays.
      if (L->get("saveratio").boolValue() && current != 0 && std::isfinite(other / current)) other *= side / current;
      // The points of a shape change with its sides: the step keeps them too, and gives back the shape exactly.
      regUndoAction(propertyId, index, L, layerPath, {"width", "height", "shape"});
      CMSetLayerSides(L, width ? platform::Size{side, other} : platform::Size{other, side});
      return refreshCanvas(Refresh::Size);
    }
    case kRotate:
      return toLayer("rotate", f, Refresh::Update);
    case kStrokeType:
      return paintType("stroke");
    case kStrokeWidth:
      return toEntry("stroke", "lineWidth", f);
    case kStrokeColor:
      return entryColor("stroke");
    case kStrokeGradient:
      return gradientEdited("stroke");
    case kLineJoin:
      return toEntry("stroke", "lineJoinStyle", f);
    case kLineCap:
      return toEntry("stroke", "lineCapStyle", f);
    case kDash:
      return toEntry("stroke", "dashStyle", f);
    case kFillType:
      return paintType("fill");
    case kFillColor:
      return entryColor("fill");
    case kFillGradient:
      return gradientEdited("fill");
    case kShadowEnable:
      return toEntry("shadow", "use", v.boolValue());
    case kShadowBlur:
      return toEntry("shadow", "blurRadius", truncated(v.doubleValue()));
    case kShadowOffsetX:
      return toEntry("shadow", "offset_x", f);
    case kShadowOffsetY:
      return toEntry("shadow", "offset_y", f);
    case kShadowColor:
      return entryColor("shadow");
    case kRound:
      return toShape("round", f, Refresh::Shape);
    case kFontColor:
      return colorInto(T, Array::make({"style"}), "foregroundColor");
    case kAlignment: {
      const DictRef paragraph = T ? T->dictionary("paragraphStyle") : nullptr;
      if (!paragraph) return;
      regUndoAction(propertyId, index, paragraph, Array::make({"style", "paragraphStyle"}), {"aligment"});
      paragraph->set("aligment", truncated(v.doubleValue()));
      return refreshCanvas(Refresh::Layer);
    }
    case kFontSize:
      return toStyle("fontSize", f);
    case kUnderline:
      return toStyle("underlilneStyle", truncated(v.doubleValue()));
    case kStrikethrough:
      return toStyle("strikethroughStyle", truncated(v.doubleValue()));
    case kFontName:
      if (!v.isString()) return;
      return toStyle("fontName", v.string());
    case kFillOpacity:
      return toEntry("fill", "alpha", f / 100);
    case kStrokeOpacity:
      return toEntry("stroke", "alpha", f / 100);
    case kShadowOpacity:
      return toEntry("shadow", "alpha", f / 100);
    case kBlurAmount: {
      if (!S) return;
      DictRef blur = S->dictionary("blur");
      // A blur record made here is taken away again by undo through a copy of the layer.
      // One run for the shape record, the blur record made in it or not.
      if (blur) {
        regUndoAction(propertyId, index, blur, Array::make({"shape", "blur"}), {"amount"}, S);
      } else {
        regUndoAction(propertyId, index, S, Array::make({"shape"}), {"blur"});
        blur = platform::Dictionary::make();
        S->set("blur", blur);
      }
      blur->set("amount", f / 50);
      return refreshCanvas(Refresh::Layer);
    }
    case kStrokeMode:
      return toEntry("stroke", "mode", f);
    case kSaveRatio:
      return toLayer("saveratio", v.boolValue(), Refresh::Size);
    case kIsMask:
      return setMask(v.boolValue());
    case kBlendingMode:
      return toLayer("blending_mode", truncated(v.doubleValue()), Refresh::Update);
    default:
      // 39 is read only.
      return;
  }
}
