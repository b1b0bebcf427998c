#pragma once

// NSRulerView: a band along the top or the left of a scroll view that marks
// the document view's coordinates in a measurement unit, its zero mark at the
// document's bounds origin plus the origin offset. It follows the scroll.
// Subclasses may draw their own marks by overriding drawHashMarksAndLabelsInRect.

#include <string>

#include "platform/graphics/color.h"
#include "platform/ui/ruler_marks.h"
#include "platform/ui/view.h"

namespace platform {

class ScrollView;

enum class RulerOrientation { Horizontal, Vertical };

class RulerView : public View {
 public:
  explicit RulerView(RulerOrientation orientation);

  RulerOrientation orientation() const { return orientation_; }
  // The band's thickness across the ruler.
  double ruleThickness() const { return thickness_; }
  void setRuleThickness(double thickness);
  // Where the zero mark lies from the document's bounds origin, in document coordinates.
  double originOffset() const { return originOffset_; }
  void setOriginOffset(double offset);
  const std::string& measurementUnits() const { return unit_->name; }
  // False (and the unit kept) for a name that is not a ruler unit.
  bool setMeasurementUnits(const std::string& name);

  ScrollView* scrollView() const { return scrollView_; }
  View* clientView() const;
  // Where a document coordinate (x for a horizontal ruler, y for a vertical one) lies along this ruler, in its own
  // coordinates; the marks' scale as well.
  double locationOfDocumentCoordinate(double value) const;
  RulerScale scale() const;

  // Rulers draw top-down, as AppKit's do.
  bool isFlipped() const override { return true; }
  void drawRect(const Rect& dirtyRect) override;
  virtual void drawHashMarksAndLabelsInRect(const Rect& rect);

 private:
  friend class ScrollView;
  void setScrollView(ScrollView* scrollView) { scrollView_ = scrollView; }

  const RulerUnit* unit_;
  ScrollView* scrollView_ = nullptr;
  RulerOrientation orientation_;
  double thickness_ = 16;
  double originOffset_ = 0;
};

}  // namespace platform
