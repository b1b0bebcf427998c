#include "document/CMStyle.h"

namespace {

constexpr double kDocumentTabFontSize = 12;
constexpr double kLineWhite = 130.0 / 255.0;

}  // namespace

CMTextAttributes CMStyle::textAttributes(CMTextAlignment alignment) {
  CMTextAttributes attributes;
  attributes.paragraphStyle.alignment = alignment;
  return attributes;
}

CMTextAttributes CMStyle::textAttributesForDocumentTabs(bool truncate) {
  CMTextAttributes attributes = textAttributes(CMTextAlignment::Center);
  if (truncate) attributes.paragraphStyle.lineBreakMode = CMLineBreakMode::TruncatingTail;
  attributes.font = CMFontDescription{"", kDocumentTabFontSize};
  return attributes;
}

CMDeviceColor CMStyle::lineColor() { return CMDeviceColor{kLineWhite, kLineWhite, kLineWhite, 1.0}; }
