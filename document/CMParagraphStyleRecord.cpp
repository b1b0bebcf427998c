#include "document/CMParagraphStyleRecord.h"

platform::ParagraphStyle paragraphStyleWithDictionary(const platform::DictRef& record) {
  platform::ParagraphStyle style;
  style.alignment = static_cast<platform::TextAlignment>(record ? record->get("aligment").intValue() : 0);
  return style;
}
