#pragma once

// The shared base of text and image layers: an optional outline of their own, kept
// as point records under the record's "points" in layer-local units, which clips
// their content and can be edited point by point on the canvas.

#include <cstdint>
#include <string_view>

#include "document/CMLayer.h"

class CMPathBaseLayer : public CMLayer {
 public:
  using CMLayer::CMLayer;
  using CMLayer::setPathControlPoint1;
  using CMLayer::setPathControlPoint2;
  using CMLayer::setPathPoint;

  // The outline in view units (through `transform`); empty when "points" is missing or empty.
  platform::BezierPath path() override;

  // Map the view point through `backTransform` into every point record with the id;
  // the layer becomes dirty whether or not a record matched.
  void setPathPoint(platform::Point point, std::int32_t pointId) override;
  void setPathControlPoint1(platform::Point point, std::int32_t pointId) override;
  void setPathControlPoint2(platform::Point point, std::int32_t pointId) override;

  // Handles of the outline: 12 for each point, 13 and 14 for its control points. A layer
  // without an outline first gets the rectangle of its own size (ids 1, 2, 4, 5).
  platform::ArrayRef pathEditingPoints() override;

 protected:
  // Intersects the clip with the outline in layer-local units (nothing without an outline).
  void clipToOutline(platform::GraphicsContext& context);

 private:
  void setPointKey(std::string_view key, platform::Point point, std::int32_t pointId);
  // The four-point rectangle of the layer's size in layer-local units.
  platform::ArrayRef defaultOutline();
};
