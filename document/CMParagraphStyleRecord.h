#pragma once

// Paragraph style records: only "aligment" (spelt so in every stored record), the
// platform's text-alignment number passed through unchanged.

#include "platform/core/value.h"
#include "platform/graphics/text_attributes.h"

// The default paragraph style with the record's alignment; 0 (left) when the key is absent.
platform::ParagraphStyle paragraphStyleWithDictionary(const platform::DictRef& record);
