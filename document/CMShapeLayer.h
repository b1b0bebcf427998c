#pragma once

// The layer object of shape layer records (layer type 0). It owns the shape object
// chosen by the record's "shape_type" and built over the record's "shape", and adds
// everything that depends on the shape: bounds and frame, drawing, line and point
// handles, point edits written straight into the shape record, and the canvas
// handles of a gradient fill. An unknown shape type gives a layer without a shape:
// every forward then does nothing and every value read from it is zero or empty.
//
// CMShapeLayer.cpp (construction, geometry, forwards, drawing),
// CMShapeLayerHandles.cpp, CMShapeLayerPointEdits.cpp, CMShapeLayerPointTypes.cpp,
// CMShapeLayerLines.cpp, CMShapeLayerGradient.cpp.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/bezier_path.h"

#include "document/CMLayer.h"
#include "document/CMShape.h"

class CMPathShape;
class CMLineShape;

class CMShapeLayer : public CMLayer {
 public:
  // initWithDictionary:viewZoom: with the drawer's exact zoom, which the shape keeps as
  // its view zoom until the next setVectorViewMode.
  explicit CMShapeLayer(platform::DictRef data, float zoom = 1.0f);

  // Null for a shape type outside 0 to 7.
  CMShape* shape() const noexcept { return shape_.get(); }
  // The record the shape object was built over; null without a shape object.
  platform::DictRef shapeRecord() const override;
  // Shape type 4 or 6 not yet written back as Bezier points.
  bool isLineShape() const;
  bool isBezierShape() const;

  // ---- geometry ----
  platform::Rect layerRect() override;
  platform::Size originalSize() const override;
  float layerOffset() const override;
  platform::BezierPath framePath(bool zoomed) override;
  platform::Point originPoint() const override;
  platform::BezierPath path() override;

  // ---- geometry writes ----
  void setOriginPoint(platform::Point point) override;
  void setLinePosition(platform::Point point);
  void setOriginSize(platform::Size size) override;
  // Floats; "x" and "y" divided by the zoom in vector view mode, the size never.
  void setLayerRect(const platform::Rect& rect) override;
  // After a curve or multi-point tool built the shape: its size, and its offsets added to the origin.
  void setSize();
  void setVectorViewMode(bool vectorViewMode) override;
  void applyMatrix(const platform::AffineTransform& matrix) override;

  // Shapes draw from their own path and record alone.
  bool drawsOffMainThread() const override { return true; }

  // ---- forwarded to the shape ----
  void update() override;
  void prepareEditing() override;
  void endEditing() override;
  void saveAsBezier() override;
  // Written as point records without moving: the origin takes the conversion's offset. Shapes in point records
  // already (and layers without a shape) stay as they are.
  void saveAsBezierInPlace();

  // ---- path operations with another shape layer (CMShapeLayerPathOperations.cpp) ----
  enum PathOperation : std::int32_t { kPathDifference = 0, kPathIntersection = 1, kPathSubtract = 2, kPathUnion = 3 };
  // The receiver's outline becomes its combination with the other's (subtract: the exclusive-or), as both lie on
  // the page; the other layer's shape is then written as point records in place. Throws platform::Exception
  // "invalid type" when either layer has no shape, before anything changes. False when the result does not fit
  // a record (a coordinate that is not finite or beyond float range): then nothing changed.
  bool pathUnion(CMShapeLayer& other);
  bool pathSubtract(CMShapeLayer& other);
  bool pathIntersect(CMShapeLayer& other);
  bool pathDifference(CMShapeLayer& other);
  // The same with another shape whose outline lies at `offset` on the page; its record is not changed.
  bool unionPaths(CMShape& shape, platform::Point offset);
  bool subtractPaths(CMShape& shape, platform::Point offset);
  bool intersectPaths(CMShape& shape, platform::Point offset);
  bool differencePaths(CMShape& shape, platform::Point offset);
  bool pathOperation(CMShape& shape, platform::Point offset, std::int32_t type);
  // The receiver combined with each other layer in turn, its point records written once at the end; for each
  // other, whether it took part (one whose result the record could not hold is passed over, unchanged).
  std::vector<bool> combineWith(const std::vector<CMShapeLayer*>& others, std::int32_t type);
  // The engine's operations, with the first path as receiver.
  static platform::BezierPath unionPaths(const platform::BezierPath& path1, const platform::BezierPath& path2);
  static platform::BezierPath subtractPaths(const platform::BezierPath& path1, const platform::BezierPath& path2);
  static platform::BezierPath differencePaths(const platform::BezierPath& path1, const platform::BezierPath& path2);
  static platform::BezierPath intersectPaths(const platform::BezierPath& path1, const platform::BezierPath& path2);

  void drawL(platform::GraphicsContext& context, const platform::Rect& rect) override;
  std::int32_t selectedFrameType() override;

  // ---- handles (CMShapeLayerHandles.cpp) ----
  platform::ArrayRef editingPoints() override;
  platform::ArrayRef lineEditingPoints() override;
  platform::ArrayRef pathEditingPoints() override;
  // The pen clicks' own points, not transformed.
  platform::ArrayRef bezierEditingPoints() const;

  // ---- point edits (CMShapeLayerPointEdits.cpp, CMShapeLayerPointTypes.cpp) ----
  void setPathPoint(platform::Point point, const platform::DictRef& handle) override;
  void setPathControlPoint1(platform::Point point, const platform::DictRef& handle) override;
  void setPathControlPoint2(platform::Point point, const platform::DictRef& handle) override;
  void addPoint(platform::Point point) override;
  void removePoint(const platform::DictRef& handle) override;
  // 0 makes the point a corner, anything else a curve point.
  void changePointType(std::int32_t type, const platform::DictRef& handle) override;
  static void setTypeCurveForPoint(const platform::DictRef& point, bool isVirtual);
  // A control point for `point` on the line through it parallel to prev→next; the side
  // follows `centralPoint`'s y. Always finite for finite input.
  static platform::Point findControlPoint(platform::Point point, platform::Point next, platform::Point prev,
                                          platform::Point centralPoint);

  // ---- line ends (CMShapeLayerLines.cpp) ----
  void setLineStartPoint(platform::Point point) override;
  void setLineEndPoint(platform::Point point) override;

  // ---- gradient handles of the first fill (CMShapeLayerGradient.cpp) ----
  // [radius handle 18, centre handle 17], or null when the fill is no gradient of type 0, 1 or 2.
  platform::ArrayRef gradientEditingPoints() override;
  void setGradientPoint(platform::Point point) override;
  void setGradientCentralPoint(platform::Point point) override;
  // The point of the first gradient handle of that type, or (0, 0).
  platform::Point findPoint(std::int32_t handleType);
  static platform::AffineTransform transformRotatingAroundPoint(platform::Point center, double degrees);
  // The largest point id + 1; none when the ids are exhausted.
  static std::optional<std::int64_t> freePointId(const platform::ArrayRef& points);

 private:
  CMPathShape* pathShape() const;
  CMLineShape* lineShape() const;
  // The shape's point records after writing a parametric shape back as Bezier points.
  platform::ArrayRef bezierPoints();
  void markChanged();
  // Building or moving a line rebuilds it with the stroke width of its "def_width": the picture the canvas keeps of
  // it at another width (the one given) shows another line, even where it would lie on the pixel grid as before.
  void forgetPictureUnlessOfWidth(float width);
  bool combineWith(CMShapeLayer& other, std::int32_t type);
  // The engine's result for two outlines on the page, or nothing when a record cannot hold it.
  static std::optional<platform::BezierPath> combinedPath(const platform::BezierPath& page,
                                                          const platform::BezierPath& theirs, std::int32_t type);
  // The turn the canvas gives the layer, in page units; none when the layer is not rotated.
  platform::AffineTransform pageRotation();
  // The shape's outline where the canvas draws it on the page.
  platform::BezierPath outlineOnPage();
  // A result on the page as the receiver's path, to be drawn where it lies with the receiver's rotation.
  platform::BezierPath inReceiverFrame(platform::BezierPath page);
  void takeCombinedPath(platform::BezierPath path);
  void changeToCorner(const platform::ArrayRef& points, std::ptrdiff_t& index);
  void changeToCurve(const platform::ArrayRef& points, std::ptrdiff_t index, platform::Point center);
  // Appends a hidden copy of the first point that closes its contour with a curve from `control1`.
  static void appendClosingCopy(const platform::ArrayRef& points, platform::Point control1);
  // The gradient record of the first fill when that fill is a gradient, else null.
  platform::DictRef fillGradient() const;
  platform::Point gradientCenter(const platform::DictRef& gradient, const platform::Rect& frame) const;
  void gradientChanged();

  std::unique_ptr<CMShape> shape_;
};
