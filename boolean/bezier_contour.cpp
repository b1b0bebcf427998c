#include "boolean/bezier_contour.h"

#include "boolean/bezier_curve.h"

void PBBezierContour::addCurve(std::shared_ptr<PBBezierCurve> curve) {
  curve->setContour(this);
  curve->setIndex(edges_.size());
  edges_.push_back(std::move(curve));
}
