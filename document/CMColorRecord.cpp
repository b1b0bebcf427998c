#include "document/CMColorRecord.h"

namespace {

// Read as float, then divided, as the records have always been read.
double component(const platform::DictRef& record, const char* key) {
  return record ? record->get(key).floatValue() / 255.0 : 0;
}

}  // namespace

platform::Color colorWithDictionary(const platform::DictRef& record) {
  return colorWithDictionary(record, static_cast<float>(component(record, "a")));
}

platform::Color colorWithDictionary(const platform::DictRef& record, float alpha) {
  return platform::Color::calibrated(component(record, "r"), component(record, "g"), component(record, "b"), alpha);
}
