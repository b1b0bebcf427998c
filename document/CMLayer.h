#pragma once

// A layer object: a typed, short-lived view of one layer record of the document.
// The record is shared, so every edit made here is at once part of the document.
// Selection, dirtiness, rotation locking and the drawer's zoom transforms live only
// in the object. Geometry is measured in view units: document units times the view
// zoom, which is 1 outside vector view mode.
//
// Model half: CMLayer.cpp (geometry, transforms, handles, selection),
// CMLayerRotation.cpp, CMLayerTransformStrings.cpp, CMLayerMasks.cpp.
// Drawing half: CMLayerDrawing.cpp, CMLayerEditingMarks.cpp.

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/bezier_path.h"

#include "document/CMLayerExtent.h"

namespace platform {
class GraphicsContext;
class Image;
}  // namespace platform

// The rendering of one layer's image ahead of its draw, so that the images of many layers can be rendered side by
// side. render() reads only its layer and the layer's record and draws on an image surface of its own, so it may run
// on any thread while neither changes; store() then runs on the main thread and hands the image to the layer, whose
// next draw takes it instead of rendering.
class CMLayerImageJob {
 public:
  virtual ~CMLayerImageJob() = default;
  virtual void render() = 0;
  virtual void store() = 0;
};

// Editing handle types. 1 to 8 resize, 10 and 11 rotate; the rest belong to the
// point, line, gradient and pen-curve handles of the layer kinds.
enum CMHandleType : std::int32_t {
  kCMHandleRight = 1,
  kCMHandleLeft = 2,
  kCMHandleBottom = 3,  // (midX, minY)
  kCMHandleTop = 4,     // (midX, maxY)
  kCMHandleBottomRight = 5,
  kCMHandleTopRight = 6,
  kCMHandleBottomLeft = 7,
  kCMHandleTopLeft = 8,
  kCMHandleRotateTop = 10,     // (midX, midY + d)
  kCMHandleRotateBottom = 11,  // (midX, midY - d)
  kCMHandlePathPoint = 12,
  kCMHandleControlPoint1 = 13,
  kCMHandleControlPoint2 = 14,
  kCMHandleLineStart = 15,
  kCMHandleLineEnd = 16,
  kCMHandleGradientCentre = 17,
  kCMHandleGradientRadius = 18,
  kCMHandleBezierPoint = 19,
  kCMHandleBezierControl1 = 20,
  kCMHandleBezierControl2 = 21,
};

// The editing type while a rotation is being applied (read by the rotation frame mark).
inline constexpr std::int32_t kCMEditingTypeRotating = 9;

class CMLayer {
 public:
  // The layer-style panel's blur "amount" (0 to 1) times this is the blur radius in layer units.
  static constexpr double kBlurRadiusPerAmount = 50;

  // initWithDictionary: keeps the record; a record "dirty" of YES makes this object
  // dirty and is consumed (set to NO), so only the first object over a record sees it.
  explicit CMLayer(platform::DictRef data);
  virtual ~CMLayer() = default;
  CMLayer(const CMLayer&) = delete;
  CMLayer& operator=(const CMLayer&) = delete;

  // ---- geometry read from the record (view units) ----
  virtual platform::Point originPoint() const;
  virtual platform::Size originalSize() const;
  virtual platform::Rect layerRect();
  virtual float layerOffset() const { return 0; }
  bool isVisible() const;
  platform::BezierPath framePath() { return framePath(true); }
  // The outline of the layer's frame; `zoomed` maps it through the zoom transform onto the canvas.
  // Empty (no elements) when the layer has no frame.
  virtual platform::BezierPath framePath(bool zoomed);
  // The layer's Bezier path; empty when the layer has none.
  virtual platform::BezierPath path();

  // ---- geometry written to the record (integers, saturated) ----
  // Writes "x", "y"; updates the cached rect; posts "notificationLayerChanged"; not dirty.
  virtual void setOriginPoint(platform::Point point);
  // Writes "width", "height"; dirty; updates; posts.
  virtual void setOriginSize(platform::Size size);
  // Writes "width", "height", "x", "y"; dirty; updates; posts nothing.
  virtual void setLayerRect(const platform::Rect& rect);
  // The record's sides were given elsewhere (typed, CMSetLayerSides): writes nothing; dirty; updates; posts.
  void storedSizeChanged();
  // Writes "rotate" (float degrees); posts; editing type becomes kCMEditingTypeRotating.
  void setRotation(float degrees);
  void setFrameRect(const platform::Rect& rect) { frameRect_ = rect; }
  const platform::Rect& frameRect() const noexcept { return frameRect_; }

  // ---- transforms between the layer and the canvas (o = record origin, z = view zoom) ----
  platform::AffineTransform transform() const;       // z·(p + o)
  platform::AffineTransform transform2() const;      // p + z·o
  platform::AffineTransform backTransform() const;   // (p − o)/z
  platform::AffineTransform backTransform2() const;  // p − o

  // ---- editing handles: arrays of {"point": point string, "type": int, ...} ----
  virtual platform::ArrayRef editingPoints();
  virtual platform::ArrayRef lineEditingPoints() { return nullptr; }
  virtual platform::ArrayRef gradientEditingPoints() { return nullptr; }
  virtual platform::ArrayRef pathEditingPoints() { return nullptr; }
  // 2 for a member of a selected group (or of the multi-selection) that is not the selected layer itself: its frame
  // alone, as part of the group's; 1 for a line; 0 otherwise.
  virtual std::int32_t selectedFrameType() { return selectedAsPartOfGroup_ && !selected_ ? 2 : 0; }

  // ---- selection ----
  // Selecting in path-point edit mode prepares editing once; deselecting ends it once.
  void setSelected(bool selected);
  bool selected() const noexcept { return selected_; }
  void setSelectedAsPartOfGroup(bool selected) noexcept {
    if (selectedAsPartOfGroup_ != selected) noteChange();
    selectedAsPartOfGroup_ = selected;
  }
  bool selectedAsPartOfGroup() const noexcept { return selectedAsPartOfGroup_; }

  // ---- rotation (record "rotate" in degrees; radians in single precision) ----
  platform::AffineTransform rotateTransform(const platform::BezierPath* path,
                                            const platform::AffineTransform* backZoomTransform) const;
  platform::AffineTransform rotateTransform(const platform::BezierPath* path) const {
    return rotateTransform(path, nullptr);
  }
  // Never short-cuts a rotation of 0.
  platform::AffineTransform rotateTransformInRect(const platform::Rect& rect) const;
  // Concatenate the rotation onto the current graphics context when the record has "rotate".
  void rotate();
  void rotate(const platform::BezierPath* path);
  void rotate(const platform::BezierPath* path, const platform::AffineTransform* backZoomTransform);
  void rotateInRect(const platform::Rect& rect);
  platform::AffineTransform backRotateTransform(platform::Point center) const;
  platform::AffineTransform backRotateTransform(const platform::BezierPath* path,
                                                const platform::AffineTransform* backZoomTransform) const;
  platform::AffineTransform backRotateTransform(const platform::BezierPath* path) const {
    return backRotateTransform(path, nullptr);
  }
  void lockCenter(const platform::BezierPath* path);
  // Moves the origin so turning about the frame's own centre gives the same picture.
  void unlockCenter();
  bool centerLocked() const noexcept { return lockCenterPoint_; }
  platform::Point centerPoint() const noexcept { return centerPoint_; }
  std::int32_t editingType() const noexcept { return editingType_; }

  // ---- transforms imported from other files ----
  void applyTransformation(const platform::ArrayRef& transforms);
  // "transforms" (only while the record has no "rotate" of its own), then applyRotate, then applyMatrix.
  void applyTransformation();
  // Centres the cached rect on ("rotate_x", "rotate_y") when both are present.
  void applyRotate();
  virtual void applyMatrix() {}
  virtual void applyMatrix(const platform::AffineTransform&) {}

  // ---- masks ----
  // Rebuilds the clip paths from the record's visible "masks" with "ismask".
  void applyClipPaths();
  void addClipPath(platform::BezierPath path);
  void erasePaths() { clipPaths_.clear(); }
  const std::vector<platform::BezierPath>& clipPaths() const noexcept { return clipPaths_; }
  // Save once per clip path and intersect; endClipPath restores as many times as beginClipPath saved.
  void beginClipPath(platform::GraphicsContext& context);
  void endClipPath(platform::GraphicsContext& context);

  // ---- point, line and gradient edits (shape, path-based and text/image layers) ----
  virtual void setPathPoint(platform::Point, std::int32_t /*pointId*/) {}
  virtual void setPathControlPoint1(platform::Point, std::int32_t /*pointId*/) {}
  virtual void setPathControlPoint2(platform::Point, std::int32_t /*pointId*/) {}
  virtual void setPathPoint(platform::Point, const platform::DictRef& /*handle*/) {}
  virtual void setPathControlPoint1(platform::Point, const platform::DictRef& /*handle*/) {}
  virtual void setPathControlPoint2(platform::Point, const platform::DictRef& /*handle*/) {}
  virtual void setLineStartPoint(platform::Point) {}
  virtual void setLineEndPoint(platform::Point) {}
  virtual void setGradientPoint(platform::Point) {}
  virtual void setGradientCentralPoint(platform::Point) {}
  virtual void addPoint(platform::Point) {}
  virtual void changePointType(std::int32_t /*type*/, const platform::DictRef& /*handle*/) {}
  virtual void removePoint(const platform::DictRef& /*handle*/) {}
  virtual void updateLayerRect() {}
  virtual void update() {}
  virtual void prepareEditing() {}
  virtual void endEditing() {}
  virtual void saveAsBezier() {}

  // ---- zoom and mode ----
  // Switching vector view mode off resets the view zoom to 1.
  virtual void setVectorViewMode(bool vectorViewMode);
  bool vectorViewMode() const noexcept { return vectorViewMode_; }
  void setViewZoom(float zoom) noexcept {
    if (viewZoom_ != zoom) noteChange();
    viewZoom_ = zoom;
  }
  float viewZoom() const noexcept { return viewZoom_; }
  void setZoom(float zoom) noexcept {
    if (zoom_ != zoom) noteChange();
    zoom_ = zoom;
  }
  float zoom() const noexcept { return zoom_; }
  void setZoomTransform(const platform::AffineTransform& t) { zoomTransform_ = t; }
  const platform::AffineTransform& zoomTransform() const noexcept { return zoomTransform_; }
  // Absent (nullptr) until the drawer sets one.
  void setBackZoomTransform(const platform::AffineTransform& t) {
    // Set for every layer on every draw: a new object only when the transform changes.
    if (backZoomTransform_ && *backZoomTransform_ == t) return;
    backZoomTransform_ = std::make_shared<platform::AffineTransform>(t);
    noteChange();
  }
  const platform::AffineTransform* backZoomTransform() const noexcept { return backZoomTransform_.get(); }
  void setDesign(bool design) noexcept {
    if (design_ != design) noteChange();
    design_ = design;
  }
  bool design() const noexcept { return design_; }
  void setHidden(bool hidden) noexcept { hidden_ = hidden; }
  bool hidden() const noexcept { return hidden_; }
  // Marking dirty also measures the layer again on its next draw.
  void setDirty(bool dirty) noexcept {
    dirty_ = dirty;
    if (!dirty) return;
    ++dirtyMarks_;
    noteChange();
  }
  bool dirty() const noexcept { return dirty_; }
  void setSelEditingPoint(platform::DictRef point) { selEditingPoint_ = std::move(point); }
  const platform::DictRef& selEditingPoint() const noexcept { return selEditingPoint_; }
  const platform::DictRef& data() const noexcept { return data_; }
  // The "shape" record the layer draws, which its extent is measured from: the record's own, unless the layer drew
  // from one it was built over that an undo has since swapped out of the record.
  virtual platform::DictRef shapeRecord() const { return data_->dictionary("shape"); }
  // The record holding the shadows the layer casts, whose reach its image makes room for: the shape record, or a
  // text's style.
  virtual platform::DictRef shadowRecords() const { return shapeRecord(); }
  // The record's "id" (0 when missing).
  std::int32_t layerId() const;
  // Sets the context's fill colour to opaque black.
  static void setFillColor(platform::GraphicsContext& context);

  // ---- drawing (the drawer calls draw for every visible layer) ----
  // Nothing when hidden; else mask clip, then vector or cached drawing.
  void draw(platform::GraphicsContext& context, const platform::Rect& dirtyRect, bool addToCache);
  void drawWithCaches(platform::GraphicsContext& context, const platform::Rect& dirtyRect, bool addToCache);
  void drawWithVector(platform::GraphicsContext& context, const platform::Rect& dirtyRect, bool addToCache);
  // The rectangle the layer's image covers; `margin` receives the room for strokes and shadows.
  platform::Rect findDisplayRect(float& margin);
  // The watcher hears, with `slot`, of each later change of what the extent is measured from or of the selection;
  // null stops it. Changes of the record itself are for the watcher to watch.
  void setWatcher(CMLayerWatcher* watcher, std::uint32_t slot) noexcept {
    watcher_ = watcher;
    watcherSlot_ = slot;
  }
  // The layer's extent, measured when anything it depends on changed since the last call (CMLayerExtent.cpp).
  const CMLayerExtent& extent();
  // The next extent() measures again.
  void forgetExtent() noexcept { measured_ = false; }
  // False when draw() cannot mark anything inside `rect`, a cullingRect (drawer coordinates before the zoom).
  bool mayDrawIn(const platform::Rect& rect);
  // Where the layer could mark the target at its last measure, through `zoomTransform`, with room for rounding;
  // empty before the first measure, unbounded when unknown.
  platform::Rect lastReach(const platform::AffineTransform& zoomTransform) const;
  // The job that renders the image draw() would render now into `context` in its present state (cached mode on the
  // canvas), or null when draw() would render none: a clean cached image, no picture, an image that misses the clip,
  // or a kind whose drawL must run on the main thread.
  std::unique_ptr<CMLayerImageJob> imageJob(platform::GraphicsContext& context);
  // The image such a job rendered, for the next draw alone.
  void keepImageRenderedAhead(std::shared_ptr<const platform::Image> image) {
    imageRenderedAhead_ = std::move(image);
  }
  // The layer's own content with its origin at the rectangle's origin.
  virtual void drawL(platform::GraphicsContext& context, const platform::Rect& rect);
  // True when drawL reads nothing but the layer and its record (no shared fonts or caches), so it may run on a
  // worker thread.
  virtual bool drawsOffMainThread() const { return false; }
  void drawEditing(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawSelectedFrame(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawRotateFrame(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawPathFrame(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawSelectedLine(platform::GraphicsContext& context);
  void drawGradientEditing(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawEditingPoint(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawLineEditingPoint(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawEditingPoint(platform::GraphicsContext& context, const platform::Rect& rect, bool drawLine,
                        const platform::ArrayRef& editingPoints);
  bool isSelectedEditPoint(const platform::DictRef& editingPoint) const;

 protected:
  void postLayerChanged() const;
  CMLayerExtent measureExtent();
  // A record "isDirty" of YES makes the layer dirty; the mark is then cleared.
  void consumeIsDirtyMark();
  void markRotating() noexcept { editingType_ = kCMEditingTypeRotating; }
  void noteChange() noexcept {
    if (watcher_) watcher_->layerChanged(watcherSlot_);
  }

  platform::DictRef data_;
  platform::Rect layerRect_{};
  platform::Rect frameRect_{};
  platform::Point centerPoint_{};
  platform::AffineTransform zoomTransform_{};
  std::shared_ptr<platform::AffineTransform> backZoomTransform_;
  platform::DictRef selEditingPoint_;
  std::vector<platform::BezierPath> clipPaths_;
  std::int32_t editingType_ = 0;
  float zoom_ = 1;
  float viewZoom_ = 1;
  bool selected_ = false;
  bool selectedAsPartOfGroup_ = false;
  bool dirty_ = false;
  bool lockCenterPoint_ = false;
  bool hidden_ = false;
  bool design_ = false;
  bool vectorViewMode_ = false;
  std::size_t savedClipStates_ = 0;
  std::uint64_t dirtyMarks_ = 0;
  std::shared_ptr<const platform::Image> imageRenderedAhead_;
  CMLayerExtentKey extentKey_;
  CMLayerExtent extent_;
  bool measured_ = false;
  CMLayerWatcher* watcher_ = nullptr;
  std::uint32_t watcherSlot_ = 0;
};
