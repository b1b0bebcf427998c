#include "io/cdr/CMSVGAttributes.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/core/log.h"
#include "platform/core/xml_text.h"

std::optional<double> pointsOf(const librevenge::RVNGProperty* property) {
  if (!property) return std::nullopt;
  const double value = property->getDouble();
  switch (property->getUnit()) {
    case librevenge::RVNG_INCH: return value * 72;
    case librevenge::RVNG_POINT: return value;
    case librevenge::RVNG_TWIP: return value / 20;
    default: break;
  }
  static bool warned = false;
  if (!warned) {
    warned = true;
    platform::logWarning("CorelDRAW conversion: a length without a known unit is taken as inches.");
  }
  return value * 72;
}

bool isWritableNumber(double value) {
  return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

void appendNumber(std::string& out, double value) {
  char buffer[32];
  // Negative zero reads "-0"; it draws nothing different, so write it plainly.
  if (value == 0) value = 0;
  const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, written.ptr);
}

bool CMSVGAttributes::check(double value) {
  if (!isWritableNumber(value)) valid_ = false;
  return valid_;
}

void CMSVGAttributes::number(std::string_view name, double value) {
  if (!check(value)) return;
  text_ += ' ';
  text_ += name;
  text_ += "=\"";
  appendNumber(text_, value);
  text_ += '"';
}

void CMSVGAttributes::length(std::string_view name, const librevenge::RVNGProperty* property) {
  if (const std::optional<double> points = pointsOf(property)) number(name, *points);
}

void CMSVGAttributes::text(std::string_view name, std::string_view value) {
  text_ += ' ';
  text_ += name;
  text_ += "=\"";
  platform::appendXMLText(text_, value);
  text_ += '"';
}
