#include "document/CMShadowRecord.h"

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
