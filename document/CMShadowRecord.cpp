#include "document/CMShadowRecord.h"

#include <cmath>

#include "document/CMColorRecord.h"

platform::Shadow shadowWithDictionary(const platform::DictRef& record, float zoom) {
  const auto number = [&record](const char* key) { return record ? record->get(key).floatValue() : 0.0f; };
  const float alpha = record && record->contains("alpha") ? number("alpha") : 1.0f;
  platform::Shadow shadow;
  shadow.color = colorWithDictionary(record ? record->dictionary("color") : nullptr, alpha);
  shadow.offset = {number("offset_x") * zoom, number("offset_y") * zoom};
  shadow.blurRadius = number("blurRadius") * zoom;
  return shadow;
}

platform::Shadow shadowInBaseSpace(platform::Shadow shadow, const platform::AffineTransform& userToBase) {
  shadow.offset = userToBase.transformSize(shadow.offset);
  // A length of a space scaled unequally (or turned and scaled) is taken at the mean scale, as a circle's blur.
  const double scale = std::sqrt(std::fabs(userToBase.m11 * userToBase.m22 - userToBase.m12 * userToBase.m21));
  shadow.blurRadius *= scale;
  return shadow;
}
