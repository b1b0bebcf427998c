#include "document/CMUniversalShape.h"

#include "document/CMProject.h"
#include "document/CMShapeRecordValues.h"

using platform::ArrayRef;
using platform::Point;

void CMUniversalShape::initPath() {
  recordToolOptions();
  CMPathShape::initPath();
}

void CMUniversalShape::recordProfileOption(std::string_view key) const {
  if (data()->contains(key)) return;
  data()->set(key, CMProject::shareProject().profile().integerForKey(key));
}

platform::Rect CMUniversalShape::frame() const {
  const ArrayRef list = points();
  const Point first = list ? shapePoint(list->at(0).dictionary(), "point") : Point{};
  const Point third = list ? shapePoint(list->at(2).dictionary(), "point") : Point{};
  return {first.x, first.y, third.x - first.x, third.y - first.y};
}

void CMUniversalShape::updatePath() {
  if (!pathEditing_ && !isBezier()) {
    setPath(createSimplePath());
  } else {
    CMPathShape::updatePath();
  }
}

void CMUniversalShape::prepareEditing() { convertToPoints(false); }

void CMUniversalShape::convertToPoints(bool fromOrigin) {
  pathEditing_ = true;
  if (data()->get("isbezier").boolValue()) return;
  hasKeptPoints_ = true;
  keptPointsField_ = points();
  // The record keeps its parameters until an edit saves the shape as Bezier: the points
  // are only the editing view, and an undo step registered meanwhile must not keep them.
  storePathAsPoints(path(), fromOrigin);
}

void CMUniversalShape::endEditing() {
  pathEditing_ = false;
  if (hasKeptPoints_ && !isBezier()) setPoints(keptPointsField_);
  hasKeptPoints_ = false;
  keptPointsField_.reset();
}

void CMUniversalShape::saveAsBezier() {
  // Points being edited lie where the outline is drawn and become the record's as they are; otherwise the outline
  // is written from (0, 0) with its offset, which the layer's setSize adds to its origin.
  if (!pathEditing_) convertToPoints(true);
  saveShapeAsBezier(true);
  endEditing();
}
