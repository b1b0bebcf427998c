#pragma once

// The rows of the layer style panel's sections, as panel parameter records: each row's title, control type,
// property id, range or items, and the slot ("index") of the stroke, fill or shadow entry it edits.

#include <vector>

#include "platform/core/value.h"

namespace CMLayerStyleParameters {

// Property ids the rows report and the panel reads and writes.
enum PropertyId : int {
  kOpacity = 0,
  kX = 8,
  kY = 9,
  kX1 = 10,
  kY1 = 11,
  kX2 = 12,
  kY2 = 13,
  kWidth = 14,
  kHeight = 15,
  kRotate = 16,
  kStrokeType = 17,
  kStrokeWidth = 18,
  kStrokeColor = 19,
  kStrokeGradient = 20,
  kLineJoin = 21,
  kLineCap = 22,
  kDash = 23,
  kFillType = 24,
  kFillColor = 25,
  kFillGradient = 26,
  kShadowEnable = 27,
  kShadowBlur = 28,
  kShadowOffsetX = 29,
  kShadowOffsetY = 30,
  kShadowColor = 31,
  kRound = 32,
  kFontColor = 33,
  kAlignment = 34,
  kFontSize = 35,
  kUnderline = 36,
  kStrikethrough = 37,
  kFontName = 38,
  kFont = 39,
  kFillOpacity = 40,
  kStrokeOpacity = 41,
  kShadowOpacity = 42,
  kBlurAmount = 43,
  kStrokeMode = 44,
  kSaveRatio = 45,
  kIsMask = 46,
  kBlendingMode = 47,
};

// "Layer": opacity and blending, then the two points of a line shape, or position, size, ratio, "Is Mask" (shape
// layers only) and rotation.
std::vector<platform::DictRef> mainParameters(int layerType, bool lineShape);
std::vector<platform::DictRef> strokeParameters(int slot);
std::vector<platform::DictRef> fillParameters(int slot);
std::vector<platform::DictRef> shadowParameters(int slot);
std::vector<platform::DictRef> blurParameters();
std::vector<platform::DictRef> fontParameters();

}  // namespace CMLayerStyleParameters
