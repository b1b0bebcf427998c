#pragma once

// The general path shape (shape type 7), built from the point records under the
// record's "points"; the parametric shapes reuse its drawing, bounds, resizing and
// point-record machinery.
//
// Point record "type" bits: 1 move (to the point named by "correction_point_id" when
// present), 2 line, 4 cubic curve with "control_point1"/"control_point2" (bit 2 wins),
// 8 close. A non-zero "virtual_type" is used in place of "type".

#include <cstdint>
#include <string_view>

#include "document/CMShape.h"
#include "platform/graphics/bezier_path.h"

class CMPathShape : public CMShape {
 public:
  using CMShape::CMShape;

  // Reads "isbezier", takes the record's "points" (storing the default 100 by 100
  // outline when missing) and builds the path.
  void initPath() override;
  virtual void updatePath();
  void update() override { updatePath(); }

  platform::Rect rect() const override;
  void draw(platform::GraphicsContext& context, const platform::Rect& rect) override;
  void drawFrame(platform::GraphicsContext& context, const platform::Rect& rect) override;
  float layerOffset() const override;
  void setSize(platform::Size size) override;

  // Write into the first point record with the id; found or not, the shape becomes a
  // Bezier shape for good and is rebuilt.
  void setPathPoint(platform::Point point, std::int32_t pointId);
  void setPathControlPoint1(platform::Point point, std::int32_t pointId);
  void setPathControlPoint2(platform::Point point, std::int32_t pointId);
  // Saved as Bezier, the shape's point records become the record's "points".
  void saveShapeAsBezier(bool bezier);
  // The path as the shape's path and its point records, moved with `fromOrigin` so that its bounds start at (0, 0);
  // the move is written to "x_offset" and "y_offset" (the layer adds them to its origin to keep the outline in
  // place), zero when the path stays where it lies. The record takes the points when the shape is saved as Bezier.
  void storePathAsPoints(platform::BezierPath path, bool fromOrigin = true);

  bool hasEditingPoint() const { return true; }
  // The path moved so its bounds start at (0, 0), scaled by the view zoom.
  platform::BezierPath drawingPath() const;
  void shadow() const;
  bool isShadow() const;
  bool isFill() const;
  void fill(const platform::BezierPath& path) const;
  void stroke(platform::BezierPath& path) const;
  // The mask outline: a black and white dashed line, width 2.
  void drawFrameStroke(platform::GraphicsContext& context, const platform::BezierPath& path) const;

  const platform::ArrayRef& points() const noexcept { return points_; }
  void setPoints(platform::ArrayRef points) { points_ = std::move(points); }
  const platform::BezierPath& path() const noexcept { return path_; }
  virtual void setPath(platform::BezierPath path) { path_ = std::move(path); }
  bool isBezier() const noexcept { return isBezier_; }
  void setIsBezier(bool bezier) { isBezier_ = bezier; }

  // Point records (ids from 1) that build the path again, as pathFromPointRecords reads them.
  static platform::ArrayRef pointRecordsFromPath(const platform::BezierPath& path);
  // The path of a list of point records, as updatePath builds it.
  static platform::BezierPath pathFromPointRecords(const platform::ArrayRef& points);
  // The closed 100 by 100 square a record without "points" starts with.
  static platform::ArrayRef defaultOutline();

 private:
  void setPathPointKey(std::string_view key, platform::Point point, std::int32_t pointId);
  bool anySlotUsed(std::string_view base) const;

  platform::BezierPath path_;
  platform::ArrayRef points_;
  bool isBezier_ = false;
};
