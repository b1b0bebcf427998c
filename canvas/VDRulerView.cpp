#include "canvas/VDRulerView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/graphics/attributed_string.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"

namespace {

const platform::Color kBandColor = platform::Color::device(250.0 / 255, 250.0 / 255, 250.0 / 255, 0.2);
const platform::Color kTickColor = platform::Color::calibrated(100.0 / 255, 100.0 / 255, 100.0 / 255, 1);
// The platform's label colour, for a ruler given none.
const platform::Color kLabelColor = platform::Color::white(0, 0.85);

}  // namespace

VDRulerView::VDRulerView(platform::RulerOrientation orientation) : platform::RulerView(orientation) {
  setRuleThickness(kThickness);
}

void VDRulerView::setZoom(float zoom) {
  zoom_ = zoom;
  setNeedsDisplay();
}

double VDRulerView::pageOrigin() const { return scale().zeroPosition; }

std::vector<VDRulerTick> VDRulerView::ticks() const {
  const platform::View* document = clientView();
  if (!document) return {};
  const bool horizontal = orientation() == platform::RulerOrientation::Horizontal;
  // The document's extent along the ruler, limited to the band itself.
  const platform::Rect documentBounds = document->bounds();
  const double documentStart = horizontal ? documentBounds.origin.x : documentBounds.origin.y;
  const double documentLength = horizontal ? documentBounds.size.width : documentBounds.size.height;
  double start = locationOfDocumentCoordinate(documentStart);
  double end = locationOfDocumentCoordinate(documentStart + documentLength);
  if (start > end) std::swap(start, end);
  const platform::Rect band = bounds();
  start = std::max(start, horizontal ? band.origin.x : band.origin.y);
  end = std::min(end, horizontal ? band.origin.x + band.size.width : band.origin.y + band.size.height);
  return VDRulerTicks(VDRulerSchemeForUnit(measurementUnits(), zoom_), pageOrigin(), start, end,
                      [this](const std::string& text) { return labelWidth(text); });
}

void VDRulerView::drawRect(const platform::Rect& dirtyRect) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  context->setFillColor(kBandColor);
  context->fillPath(platform::BezierPath::rect(bounds()));
  drawHashMarksAndLabelsInRect(dirtyRect);
}

void VDRulerView::drawHashMarksAndLabelsInRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context || !clientView()) return;
  const bool horizontal = orientation() == platform::RulerOrientation::Horizontal;
  // The picture is laid out along the band and across it from the outer edge; the vertical band swaps the axes.
  const auto at = [horizontal](double along, double across) {
    return horizontal ? platform::Point{along, across} : platform::Point{across, along};
  };
  const std::vector<VDRulerTick> marks = ticks();
  const double thickness = ruleThickness();
  const platform::Rect band = bounds();
  const double bandStart = horizontal ? band.origin.x : band.origin.y;
  const double bandEnd = bandStart + (horizontal ? band.size.width : band.size.height);

  platform::BezierPath lines;
  lines.moveTo(at(bandStart, kBaseline));
  lines.lineTo(at(bandEnd, kBaseline));
  for (const VDRulerTick& tick : marks) {
    const double reach = tick.length == kVDRulerFullTick ? thickness : std::min(thickness, kTickStart + tick.length);
    // On the pixel that starts at the tick's place, the one the pointer reads that place on.
    const double along = std::floor(tick.position) + 0.5;
    lines.moveTo(at(along, kTickStart));
    lines.lineTo(at(along, reach));
  }
  lines.setLineWidth(1);
  context->saveGraphicsState();
  context->setShouldAntialias(false);
  context->setStrokeColor(kTickColor);
  context->strokePath(lines);
  context->restoreGraphicsState();

  for (const VDRulerTick& tick : marks)
    if (tick.label) drawLabel(*tick.label, tick.position);
}

platform::Font VDRulerView::labelFont() const { return font_ ? *font_ : platform::Font::systemFont(kDefaultFontSize); }

double VDRulerView::labelWidth(const std::string& text) const {
  platform::TextAttributes attributes;
  attributes.font = labelFont();
  return platform::AttributedString(text, attributes).size().width;
}

void VDRulerView::drawLabel(const std::string& text, double position) const {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  platform::TextAttributes attributes;
  attributes.font = labelFont();
  attributes.foregroundColor = color_ ? *color_ : kLabelColor;
  const platform::AttributedString label(text, attributes);
  if (orientation() == platform::RulerOrientation::Horizontal) {
    label.drawAtPoint({position + 2, kLabelTop});
    return;
  }
  // Along the vertical band the label reads upwards and still starts 2 units after its tick.
  context->saveGraphicsState();
  context->translateCTM(kLabelTop, position + 2 + label.size().width);
  context->rotateCTM(-std::numbers::pi_v<float> / 2);
  label.drawAtPoint({0, 0});
  context->restoreGraphicsState();
}
