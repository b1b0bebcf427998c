#include "ui/CMLayerStyleParameters.h"

#include <optional>
#include <utility>

#include "ui/CMRightPanelBaseView.h"

namespace CMLayerStyleParameters {

namespace {

using platform::Array;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;
using Section = CMRightPanelBaseView;

constexpr int kLayerShape = 0;

DictRef row(const char* name, int type, int propertyId, std::optional<int> slot = std::nullopt) {
  DictRef record = Dictionary::make({{"name", name}, {"control_type", type}, {"property_id", propertyId}});
  if (slot) record->set("index", *slot);
  return record;
}

DictRef ranged(DictRef record, int low, int high) {
  record->set("min", low);
  record->set("max", high);
  return record;
}

DictRef withItems(DictRef record, std::vector<Value> items) {
  record->set("items", Array::make(std::move(items)));
  return record;
}

DictRef columns(const char* name, std::vector<Value> members) {
  return withItems(row(name, Section::kColumns, 0), std::move(members));
}

DictRef shownWhile(DictRef record, int hider, int value) {
  record->set("hider_prperty_id", hider);
  record->set("hider_value", value);
  return record;
}

// The colour picker while the entry's type is "Color", the gradient swatch while it is "Gradient".
DictRef colorAlternatives(int typeId, int colorId, int gradientId, int slot) {
  DictRef record = withItems(row("Color", Section::kAlternatives, 0, slot),
                             {shownWhile(row("Color", Section::kColor, colorId, slot), typeId, 1),
                              shownWhile(row("Color", Section::kGradient, gradientId, slot), typeId, 3)});
  record->set("hider", typeId);
  return record;
}

std::vector<Value> paintTypes() { return {"None", "Color", "Pattern", "Gradient"}; }

}  // namespace

std::vector<DictRef> mainParameters(int layerType, bool lineShape) {
  std::vector<DictRef> rows{
      ranged(row("Opacity", Section::kSlider, kOpacity), 0, 100),
      withItems(row("Blending Mode", Section::kPopUp, kBlendingMode),
                {"Normal", "Multiply", "Screen", "Overlay", "Darken", "Light", "Color Dodge", "Color Burn",
                 "Soft Light", "Hard Light", "Difference", "Exclusion", "Hue", "Saturation", "Color", "Luminosity"}),
  };
  if (lineShape) {
    rows.push_back(columns("Point 1", {row("X1", Section::kNumber, kX1), row("Y1", Section::kNumber, kY1)}));
    rows.push_back(columns("Point 2", {row("X2", Section::kNumber, kX2), row("Y2", Section::kNumber, kY2)}));
    return rows;
  }
  rows.push_back(columns("Position", {row("X", Section::kNumber, kX), row("Y", Section::kNumber, kY)}));
  rows.push_back(columns("Size", {row("Width", Section::kNumber, kWidth), row("Height", Section::kNumber, kHeight)}));
  rows.push_back(row("Save Ratio", Section::kCheckBox, kSaveRatio));
  if (layerType == kLayerShape) rows.push_back(row("Is Mask", Section::kCheckBox, kIsMask));
  rows.push_back(ranged(row("Rotate", Section::kSlider, kRotate), -180, 180));
  return rows;
}

std::vector<DictRef> strokeParameters(int slot) {
  return {
      withItems(row("Mode", Section::kPopUp, kStrokeMode, slot), {"Center", "Inside", "Outside"}),
      ranged(row("Opacity", Section::kSlider, kStrokeOpacity, slot), 0, 100),
      ranged(row("Width", Section::kNumber, kStrokeWidth, slot), 1, 100),
      columns("Style", {withItems(row("Type", Section::kPopUp, kDash, slot), {"Line", "Dots"}),
                        withItems(row("Cap", Section::kPopUp, kLineCap, slot), {"Butt", "Round", "Squard"}),
                        withItems(row("Join", Section::kPopUp, kLineJoin, slot), {"Mitter", "Round", "Bevel"})}),
      withItems(row("Type", Section::kPopUp, kStrokeType, slot), paintTypes()),
      colorAlternatives(kStrokeType, kStrokeColor, kStrokeGradient, slot),
  };
}

std::vector<DictRef> fillParameters(int slot) {
  return {
      ranged(row("Opacity", Section::kSlider, kFillOpacity, slot), 0, 100),
      withItems(row("Type", Section::kPopUp, kFillType, slot), paintTypes()),
      colorAlternatives(kFillType, kFillColor, kFillGradient, slot),
  };
}

std::vector<DictRef> shadowParameters(int slot) {
  return {
      row("Enable", Section::kCheckBox, kShadowEnable, slot),
      ranged(row("Opacity", Section::kSlider, kShadowOpacity, slot), 0, 100),
      ranged(row("Blur", Section::kSlider, kShadowBlur, slot), 0, 100),
      columns("Offsets", {ranged(row("X", Section::kNumber, kShadowOffsetX, slot), -100, 100),
                          ranged(row("Y", Section::kNumber, kShadowOffsetY, slot), -100, 100)}),
      row("Color", Section::kColor, kShadowColor, slot),
  };
}

std::vector<DictRef> blurParameters() { return {ranged(row("Amount", Section::kSlider, kBlurAmount), 0, 50)}; }

std::vector<DictRef> fontParameters() {
  DictRef font = columns(
      "Font", {row("Name", Section::kFont, kFontName), ranged(row("Size", Section::kNumber, kFontSize), 4, 1000000)});
  font->set("control_subtype", 1);
  return {
      font,
      row("Color", Section::kColor, kFontColor),
      withItems(row("Aligment", Section::kSegments, kAlignment), {"Left", "Right", "Center"}),
      row("Underline", Section::kCheckBox, kUnderline),
      row("Strikethrough", Section::kCheckBox, kStrikethrough),
  };
}

}  // namespace CMLayerStyleParameters
