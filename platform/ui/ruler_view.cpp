#include "platform/ui/ruler_view.h"

#include <cmath>
#include <string>

#include "platform/graphics/attributed_string.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/scroll_view.h"

namespace platform {
namespace {

const Color kBandColor{0.96, 0.96, 0.96, 1};
const Color kMarkColor{0.4, 0.4, 0.4, 1};
constexpr double kLabelSize = 9;

}  // namespace

RulerView::RulerView(RulerOrientation orientation) : unit_(rulerUnitNamed("Points")), orientation_(orientation) {}

void RulerView::setRuleThickness(double thickness) {
  thickness_ = std::isfinite(thickness) && thickness > 0 ? thickness : 0;
  if (scrollView_) scrollView_->tile();
}

void RulerView::setOriginOffset(double offset) {
  originOffset_ = std::isfinite(offset) ? offset : 0;
  setNeedsDisplay();
}

bool RulerView::setMeasurementUnits(const std::string& name) {
  const RulerUnit* unit = rulerUnitNamed(name);
  if (!unit) return false;
  unit_ = unit;
  setNeedsDisplay();
  return true;
}

View* RulerView::clientView() const { return scrollView_ ? scrollView_->documentView() : nullptr; }

double RulerView::locationOfDocumentCoordinate(double value) const {
  const View* document = clientView();
  if (!document) return value;
  const bool horizontal = orientation_ == RulerOrientation::Horizontal;
  const Point inRuler = convertPointFromView(horizontal ? Point{value, 0} : Point{0, value}, document);
  return horizontal ? inRuler.x : inRuler.y;
}

RulerScale RulerView::scale() const {
  const View* document = clientView();
  const bool horizontal = orientation_ == RulerOrientation::Horizontal;
  const double origin = document ? (horizontal ? document->bounds().origin.x : document->bounds().origin.y) : 0;
  const double zero = locationOfDocumentCoordinate(origin + originOffset_);
  return {zero, locationOfDocumentCoordinate(origin + originOffset_ + 1) - zero};
}

void RulerView::drawRect(const Rect& dirtyRect) {
  GraphicsContext* context = GraphicsContext::current();
  if (!context) return;
  context->setFillColor(kBandColor);
  context->rectFill(bounds());
  drawHashMarksAndLabelsInRect(dirtyRect);
}

void RulerView::drawHashMarksAndLabelsInRect(const Rect& rect) {
  GraphicsContext* context = GraphicsContext::current();
  if (!context || !clientView()) return;
  const bool horizontal = orientation_ == RulerOrientation::Horizontal;
  const Rect area = bounds();
  const double start = horizontal ? rect.origin.x : rect.origin.y;
  const double length = horizontal ? rect.size.width : rect.size.height;
  // The marks rise from the edge next to the document: the bottom of a top band, the right of a left band.
  const double edge = horizontal ? area.origin.y + area.size.height : area.origin.x + area.size.width;
  BezierPath marks;
  for (const RulerMark& mark : rulerMarks(*unit_, scale(), start, start + length)) {
    const double reach = mark.level == 0 ? thickness_ : thickness_ / (mark.level == 1 ? 2 : 4);
    const double along = std::floor(mark.position) + 0.5;  // on a pixel's centre, so the line stays crisp
    marks.moveTo(horizontal ? Point{along, edge} : Point{edge, along});
    marks.lineTo(horizontal ? Point{along, edge - reach} : Point{edge - reach, along});
    if (mark.level != 0) continue;
    TextAttributes attributes;
    attributes.font = Font::systemFont(kLabelSize);
    attributes.foregroundColor = kMarkColor;
    AttributedString(std::to_string(mark.label), attributes)
        .drawAtPoint(horizontal ? Point{along + 2, area.origin.y} : Point{area.origin.x + 1, along + 1});
  }
  marks.setLineWidth(1);
  context->setStrokeColor(kMarkColor);
  context->strokePath(marks);
}

}  // namespace platform
