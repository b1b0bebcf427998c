// Drawing half of CMLayer: the layer's content is rendered into an image with a margin
// for strokes and shadows, blurred when asked, and composited once with the layer's
// opacity and blend mode inside its mask clip. A turned layer is rendered turned, on the
// target's own pixel grid, so that its picture is as sharp as its drawing.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "document/CMCaches.h"
#include "document/CMLayer.h"
#include "document/CMLayerExtent.h"
#include "document/CMShapeRecordValues.h"
#include "platform/graphics/blend_modes.h"
#include "platform/graphics/gaussian_blur.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image.h"
#include "platform/graphics/rect_functions.h"

namespace {

using platform::GraphicsContext;
using platform::Image;
using platform::Rect;

// Beyond this many pixels a side, or this area, a layer is drawn straight into the target instead
// of through an image: image surfaces stop at 32767 pixels and memory runs out first.
constexpr double kMaxLayerImageSide = 8192;
constexpr double kMaxLayerImageArea = 4096.0 * 4096.0;
// A blurred layer's picture is never larger than this, which with the blur's own working plane stays within a few
// tens of megabytes; a larger layer is blurred in a copy scaled down to it.
constexpr double kMaxReducedBlurSide = 2048;
constexpr double kMaxReducedBlurArea = 2048.0 * 2048.0;
// A blurred picture of more pixels than this is made no finer than kBlurPixelsPerRadius pixels to the blur's radius:
// what a Gaussian leaves holds no detail at a fraction of its radius, so a coarser copy blurred and drawn back at full
// size looks the same, and the blur's kernel stays short. Smaller pictures keep the pixels they are drawn at.
constexpr double kMaxFullSizeBlurArea = 1024.0 * 1024.0;
constexpr double kBlurPixelsPerRadius = 2;
// "shadow" and its numbered siblings, spelt out: this runs for every layer on every redraw.
constexpr std::string_view kShadowKeys[] = {"shadow",  "shadow1", "shadow2", "shadow3", "shadow4",
                                            "shadow5", "shadow6", "shadow7", "shadow8", "shadow9"};
// A Gaussian's ink is all but gone three standard deviations (radii) out.
constexpr double kBlurReach = 3;
// Pictures of layers on a page description (a blurred layer in a PDF) are made at print resolution, 300 ppi.
constexpr double kPagePixelsPerUnit = 300.0 / 72;

// The layer draws into `context` through calls that use the current context, so it is made current meanwhile.
class FocusScope {
 public:
  explicit FocusScope(GraphicsContext& context) : pushed_(GraphicsContext::current() != &context) {
    if (pushed_) GraphicsContext::push(context);
  }
  ~FocusScope() {
    if (pushed_) GraphicsContext::pop();
  }
  FocusScope(const FocusScope&) = delete;
  FocusScope& operator=(const FocusScope&) = delete;

 private:
  bool pushed_;
};

// The room the layer's shadows need beyond its bounds: twice the blur plus the larger offset.
float shadowMargin(const platform::DictRef& shape) {
  float margin = 0;
  for (const std::string_view key : kShadowKeys) {
    const platform::DictRef shadow = usedShapeSlot(shape, key);
    if (!shadow) continue;
    const float spread = 2 * shadow->get("blurRadius").floatValue() +
                         std::max(std::fabs(shadow->get("offset_x").floatValue()),
                                  std::fabs(shadow->get("offset_y").floatValue()));
    if (spread > margin) margin = spread;
  }
  return margin;
}

double blurRadius(const platform::DictRef& shape) {
  const platform::DictRef blur = shape ? shape->dictionary("blur") : nullptr;
  const double amount = blur ? blur->get("amount").doubleValue() : 0;
  // Held to the panel's range: a foreign amount would make every redraw blur an image of millions of pixels.
  return std::isfinite(amount) ? std::clamp(amount, 0.0, 1.0) * CMLayer::kBlurRadiusPerAmount : 0;
}

// The canvas and output pages draw y-down, where an image is laid in upside down. Stored with its rows
// turned over and drawn turned over again, the picture is the same, but the image now reaches the
// target as a plain copy of rows rather than through a mirroring transform, several times faster.
void turnRowsOver(cairo_surface_t* surface) {
  if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return;
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const int height = cairo_image_surface_get_height(surface);
  if (!data) return;
  std::vector<unsigned char> row(static_cast<std::size_t>(stride));
  for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
    unsigned char* upper = data + static_cast<std::ptrdiff_t>(top) * stride;
    unsigned char* lower = data + static_cast<std::ptrdiff_t>(bottom) * stride;
    std::memcpy(row.data(), upper, row.size());
    std::memcpy(upper, lower, row.size());
    std::memcpy(lower, row.data(), row.size());
  }
  cairo_surface_mark_dirty(surface);
}

// Everything the layer's image covers: in the target's frame, where a turned layer's picture is made already turned,
// and in the layer's own frame, where its content is drawn.
class LayerPlacement {
 public:
  LayerPlacement(CMLayer& layer, GraphicsContext& context) : layer_(layer), context_(context) {
    const CMLayerExtent& extent = layer.extent();
    display_ = extent.display;
    margin_ = extent.margin;
    alpha_ = extent.alpha;
    blendMode_ = extent.blendMode;
    blurRadius_ = extent.blurRadius;
    blurRoom_ = extent.blurRoom;
    placed_ = extent.placed;
    rotation_ = extent.rotation;
    // A turn the target would refuse (not finite) leaves the layer unturned, as it always has.
    const platform::AffineTransform& r = rotation_;
    turned_ = extent.turned && r != platform::AffineTransform{} &&
              std::isfinite(r.m11 + r.m12 + r.m21 + r.m22 + r.tX + r.tY);
    // A page description takes the layer as a drawing, sharp at any size, unless a blur makes it a picture.
    // Pictures are made at the resolution of the target: print resolution on a page, the pixels of an output
    // image or of the canvas at its zoom, so that a stroke magnified stays as sharp as at 100 %. Below 100 % the
    // canvas keeps one pixel a unit: its layers' reach counts on a picture rounding to whole pixels within a unit.
    drawsVectors_ = context.drawsVectors();
    if (drawsVectors_) {
      pixelsPerUnit_ = kPagePixelsPerUnit;
    } else {
      pixelsPerUnit_ = context.deviceUnitsPerUserUnit();
      // A blurred picture holds no detail finer than its blur: magnified, it needs no more pixels than at 100 %.
      if (layer.design() && blurRadius_ > 0)
        pixelsPerUnit_ = std::min(pixelsPerUnit_, kBlurPixelsPerRadius / blurRadius_);
      if (layer.design()) pixelsPerUnit_ = std::max(1.0, pixelsPerUnit_);
    }
    const Rect reachInFrame = platform::insetRect(placed_, -blurRoom_, -blurRoom_);
    const Rect reach = onTarget(reachInFrame);
    image_ = inWholePixels(reach);
    // A blur is always drawn, on the canvas and in pictures at a cost bounded whatever the layer's size and the
    // blur's radius: a large one from a copy no finer and no larger than the blur needs, blurred with the blur shrunk
    // by the same factor and drawn scaled back up. A page keeps its print resolution up to the picture limits: its
    // viewer may not smooth the pixels of a coarser copy.
    if (blurRadius_ > 0 && (!fitsInPicture() || (!drawsVectors_ && pictureArea() > kMaxFullSizeBlurArea))) {
      pixelsPerUnit_ = std::min({pixelsPerUnit_, kMaxReducedBlurSide / reach.size.width,
                                 kMaxReducedBlurSide / reach.size.height,
                                 std::sqrt(kMaxReducedBlurArea / (reach.size.width * reach.size.height))});
      if (!drawsVectors_) pixelsPerUnit_ = std::min(pixelsPerUnit_, kBlurPixelsPerRadius / blurRadius_);
      image_ = inWholePixels(reach);
    }
    frame_ = turned_ ? inWholePixels(reachInFrame) : image_;
  }

  // Nothing to draw: an empty rectangle, or a layer that would leave no trace.
  bool drawsNothing() const {
    const bool finite = std::isfinite(display_.origin.x) && std::isfinite(display_.origin.y) &&
                        std::isfinite(display_.size.width) && std::isfinite(display_.size.height);
    return !finite || platform::isEmptyRect(display_) || (blendMode_ == platform::BlendMode::Normal && !(alpha_ > 0));
  }

  // Where the content lies in its picture and how large the picture is, in its pixels (see CMCaches).
  Rect pictureGrid() const {
    return {(display_.origin.x - image_.origin.x) * pixelsPerUnit_,
            (display_.origin.y - image_.origin.y) * pixelsPerUnit_, image_.size.width * pixelsPerUnit_,
            image_.size.height * pixelsPerUnit_};
  }
  // The canvas's kept picture of the layer, when it was made on the pixel grid as the layer lies now.
  std::shared_ptr<const Image> keptImage() const {
    const CMCaches::KeptImage* kept =
        CMCaches::sharedCaches().findImage(layer_.data(), layer_.design(), layer_.viewZoom());
    return kept && kept->grid == pictureGrid() && kept->turn == turn() ? kept->image : nullptr;
  }
  void keepImage(std::shared_ptr<const Image> image) const {
    CMCaches::sharedCaches().addImage({std::move(image), pictureGrid(), turn()}, layer_.data(), layer_.design(),
                                      layer_.viewZoom());
  }

  // The layer goes through a picture: not on a page unless blurred, and not past the image limits.
  bool takesPicture() const { return fitsInPicture() && (!drawsVectors_ || blurRadius_ > 0); }

  // The layer's own content, origin at the margin, in an image with room for the blur around it.
  std::shared_ptr<const Image> render() {
    auto image = std::make_shared<Image>(
        platform::Size{image_.size.width * pixelsPerUnit_, image_.size.height * pixelsPerUnit_});
    if (turned_) {
      renderTurned(*image);
    } else {
      image->lockFocus();
      if (GraphicsContext* imageContext = GraphicsContext::current()) drawContent(*imageContext);
      image->unlockFocus();
    }
    // The blur counts pixels of the image.
    platform::gaussianBlur(image->surface().get(), blurRadius_ * pixelsPerUnit_);
    turnRowsOver(image->surface().get());
    return image;
  }

  // Tells whether the image meets the clip at all, and enters the layer's turned frame when its content is drawn
  // straight. With `onlyVisible` the image shrinks to what the clip can show, plus the blur's reach, so a layer
  // magnified far beyond the view renders only what is seen.
  bool enterFrame(bool onlyVisible) {
    context_.saveGraphicsState();
    const Rect clip = context_.clipBoundingBox();
    if (!platform::intersectsRect(clip, image_)) return false;
    if (onlyVisible) {
      // Everything the blur carries into the clip, so that the part blurred is the whole picture blurred there.
      const double blurReach = platform::blurReach(blurRadius_ * pixelsPerUnit_) / pixelsPerUnit_;
      const double room = std::max(blurRoom_, blurReach);
      const Rect reach = inWholePixels(platform::insetRect(clip, -room, -room));
      const Rect visible = platform::intersectionRect(image_, reach);
      partial_ = visible != image_;
      image_ = visible;
    }
    if (turned_ && !takesPicture()) context_.concatCTM(rotation_);
    return true;
  }
  // The image holds only part of the layer.
  bool partial() const { return partial_; }
  void leaveFrame() { context_.restoreGraphicsState(); }

  // The image composited once, so overlapping parts of the content never darken each other.
  void composite(const Image& image) {
    if (blendMode_ == platform::BlendMode::Normal) {
      // A single source-over draw at the alpha is already one composite.
      drawTurnedOver(image, alpha_);
      return;
    }
    withinTransparencyLayer(image_, [&] { drawTurnedOver(image, 1); });
  }

  // The content straight into the target, bounded by the clip: on a page, or where a picture would be too large.
  void drawDirectly() {
    withinTransparencyLayer(placed_, [&] {
      context_.translateCTM(display_.origin.x, display_.origin.y);
      layer_.drawL(context_, contentRect());
    });
  }

 private:
  double pictureArea() const { return image_.size.width * pixelsPerUnit_ * image_.size.height * pixelsPerUnit_; }

  bool fitsInPicture() const {
    const double width = image_.size.width * pixelsPerUnit_;
    const double height = image_.size.height * pixelsPerUnit_;
    return width <= kMaxLayerImageSide && height <= kMaxLayerImageSide && width * height <= kMaxLayerImageArea;
  }

  // Where the layer's own frame lies on the target.
  Rect onTarget(const Rect& rect) const { return turned_ ? transformedBounds(rotation_, rect) : rect; }
  platform::AffineTransform turn() const { return turned_ ? rotation_ : platform::AffineTransform{}; }

  // The content in its frame, origin at the margin, drawn by a context whose base space is the picture in pixels
  // (a turned layer's before it is turned), its origin at the picture's corner.
  void drawContent(GraphicsContext& context) {
    context.scaleCTM(pixelsPerUnit_, pixelsPerUnit_);
    const Rect& picture = turned_ ? frame_ : image_;
    context.translateCTM(display_.origin.x - picture.origin.x, display_.origin.y - picture.origin.y);
    layer_.drawL(context, contentRect());
  }

  // The content drawn turned onto the picture's pixels, which lie on the target's grid. The context's base space
  // stays the frame's picture, turned with it: shadows fall and pattern tiles lie as the layer's own, as they would
  // in an unturned picture turned whole, while every edge is drawn once, at the picture's resolution.
  void renderTurned(const Image& image) {
    cairo_surface_t* surface = image.surface().get();
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || !(image.size().width > 0) ||
        !(image.size().height > 0))
      return;
    const double ppu = pixelsPerUnit_;
    const double sx = image.pixelsWide() / image_.size.width, sy = image.pixelsHigh() / image_.size.height;
    // The base space, y up from the origin, is taken as the frame's picture in pixels, turned onto the target,
    // there in the picture's pixels, rows counted from the top.
    platform::AffineTransform device{1, 0, 0, -1, 0, 0};
    device.appendTransform({1 / ppu, 0, 0, 1 / ppu, frame_.origin.x, frame_.origin.y});
    device.appendTransform(rotation_);
    device.appendTransform({sx, 0, 0, sy, -image_.origin.x * sx, -image_.origin.y * sy});
    device.appendTransform({1, 0, 0, -1, 0, static_cast<double>(image.pixelsHigh())});
    cairo_t* cr = cairo_create(surface);
    device.concat(cr);
    {
      GraphicsContext turned(cr, 0, false);
      cairo_destroy(cr);  // the context holds its own reference
      const platform::CurrentContextScope current(turned);
      drawContent(turned);
    }
    cairo_surface_flush(surface);
  }

  // The rectangle grown to whole pixels of the picture, so that the picture lands on the pixel grid as a plain copy
  // instead of being resampled.
  Rect inWholePixels(const Rect& rect) const {
    const Rect pixels = platform::integralRect({rect.origin.x * pixelsPerUnit_, rect.origin.y * pixelsPerUnit_,
                                                rect.size.width * pixelsPerUnit_, rect.size.height * pixelsPerUnit_});
    return {pixels.origin.x / pixelsPerUnit_, pixels.origin.y / pixelsPerUnit_, pixels.size.width / pixelsPerUnit_,
            pixels.size.height / pixelsPerUnit_};
  }

  Rect contentRect() const {
    return {0, 0, display_.size.width - 2.0 * margin_, display_.size.height - 2.0 * margin_};
  }

  // An image whose rows were turned over, the right way up (see turnRowsOver).
  void drawTurnedOver(const Image& image, double fraction) {
    context_.saveGraphicsState();
    context_.translateCTM(0, platform::minY(image_) + platform::maxY(image_));
    context_.scaleCTM(1, -1);
    image.drawInRect(image_, Rect{}, platform::CompositingOperation::SourceOver, fraction);
    context_.restoreGraphicsState();
  }

  // The layer's group is only as large as what it can cover. An opaque layer of the normal blend mode needs none:
  // its content composited once at full opacity is its content drawn straight, and a page written without a group
  // a layer is smaller and, in PostScript, a third quicker to make.
  template <typename Draw>
  void withinTransparencyLayer(const Rect& reach, const Draw& draw) {
    const bool grouped = alpha_ < 1 || blendMode_ != platform::BlendMode::Normal;
    context_.saveGraphicsState();
    context_.clipToRect(reach);
    if (grouped) {
      context_.setAlpha(context_.alpha() * alpha_);
      context_.setBlendMode(blendMode_);
      context_.beginTransparencyLayer();
    }
    draw();
    if (grouped) context_.endTransparencyLayer();
    context_.restoreGraphicsState();
  }

  CMLayer& layer_;
  GraphicsContext& context_;
  Rect display_;
  Rect placed_;  // where the layer's content and margin lie in its own frame
  Rect image_;   // where the picture lies on the target, in whole pixels, with room for the blur
  Rect frame_;   // that in the layer's own frame, where the picture's base space starts
  float margin_ = 0;
  double blurRadius_ = 0;
  double blurRoom_ = 0;
  double pixelsPerUnit_ = 1;
  bool drawsVectors_ = false;
  bool partial_ = false;
  double alpha_ = 0;
  platform::BlendMode blendMode_ = platform::BlendMode::Normal;
  bool turned_ = false;
  platform::AffineTransform rotation_;
};

// The layer's image rendered from a placement measured on the main thread.
class PlacementJob : public CMLayerImageJob {
 public:
  PlacementJob(CMLayer& layer, LayerPlacement placement) : layer_(layer), placement_(std::move(placement)) {}

  void render() override { image_ = placement_.render(); }
  void store() override { layer_.keepImageRenderedAhead(std::move(image_)); }

 private:
  CMLayer& layer_;
  LayerPlacement placement_;
  std::shared_ptr<const Image> image_;
};

}  // namespace

std::unique_ptr<CMLayerImageJob> CMLayer::imageJob(platform::GraphicsContext& context) {
  // An image an interrupted draw left behind is never taken by a later one.
  imageRenderedAhead_ = nullptr;
  // The conditions under which drawWithCaches renders and stores an image.
  if (hidden_ || vectorViewMode_ || !design_ || !drawsOffMainThread()) return nullptr;
  consumeIsDirtyMark();
  LayerPlacement placement(*this, context);
  // A clean layer with its image kept (most of them on a redraw) is passed over.
  if (!dirty_ && placement.keptImage()) return nullptr;
  if (placement.drawsNothing() || !placement.takesPicture()) return nullptr;
  // An image that misses the clip in the layer's turned frame is not rendered by the draw either.
  beginClipPath(context);
  const bool meetsClip = placement.enterFrame(false);
  placement.leaveFrame();
  endClipPath(context);
  if (!meetsClip) return nullptr;
  return std::make_unique<PlacementJob>(*this, std::move(placement));
}

void CMLayer::draw(platform::GraphicsContext& context, const platform::Rect& dirtyRect, bool addToCache) {
  if (hidden_) return;
  beginClipPath(context);
  if (vectorViewMode_) {
    drawWithVector(context, dirtyRect, addToCache);
  } else {
    drawWithCaches(context, dirtyRect, addToCache);
  }
  endClipPath(context);
}

platform::Rect CMLayer::findDisplayRect(float& margin) {
  platform::Rect rect = layerRect();
  float m = std::max(layerOffset(), shadowMargin(shadowRecords()));
  if (data_->get("ismask").boolValue()) m = 0;
  m *= viewZoom_;
  // A hostile offset or zoom must not reach the image size.
  margin = std::isfinite(m) && m > 0 ? m : 0;
  rect.size.width += 2.0 * margin;
  rect.size.height += 2.0 * margin;
  return rect;
}

CMLayerExtent CMLayer::measureExtent() {
  // A layer outside the view is not drawn, yet takes the mark on its first draw as before.
  if (!vectorViewMode_) consumeIsDirtyMark();
  CMLayerExtent extent;
  extent.display = findDisplayRect(extent.margin);
  const double alpha = data_->get("alpha").doubleValue();
  extent.alpha = std::isfinite(alpha) ? std::clamp(alpha, 0.0, 1.0) : 0;
  extent.blendMode = platform::blendModeFromValue(data_->get("blending_mode").integerValue());
  extent.blurRadius = blurRadius(shapeRecord());
  // The blur gets room to spread beyond the margin instead of being cut at the image's edge.
  extent.blurRoom = std::ceil(kBlurReach * extent.blurRadius);
  // The layer's bounds with the margin on every side (the display rectangle keeps the bounds' origin).
  extent.placed = platform::offsetRect(extent.display, -extent.margin, -extent.margin);
  extent.turned = data_->contains("rotate");
  if (extent.turned) {
    const platform::BezierPath frame = framePath(false);
    extent.rotation = rotateTransform(&frame, backZoomTransform());
  }
  // A transform the context refuses to take leaves the frame unturned.
  platform::AffineTransform inverse = extent.rotation;
  const bool usable = inverse.invert();
  // The picture lies in whole pixels of its own resolution: a finer one rounds within a unit, the reduced copy of a
  // blur within one of its coarser pixels.
  // A turned layer's picture lies on the target, around the turned room.
  const platform::AffineTransform turn = usable ? extent.rotation : platform::AffineTransform{};
  const platform::Rect room = platform::insetRect(extent.placed, -extent.blurRoom, -extent.blurRoom);
  const platform::Rect turnedRoom = transformedBounds(turn, room);
  const double rounding = 1 + std::max(std::max(turnedRoom.size.width, turnedRoom.size.height) / kMaxReducedBlurSide,
                                       extent.blurRadius / kBlurPixelsPerRadius);
  extent.reach = transformedBounds(turn, platform::integralRect(platform::insetRect(room, -rounding, -rounding)));
  return extent;
}

void CMLayer::consumeIsDirtyMark() {
  if (const platform::Value* isDirty = data_->find("isDirty")) {
    if (isDirty->boolValue()) dirty_ = true;
    data_->set("isDirty", 0);
  }
}

void CMLayer::drawWithCaches(platform::GraphicsContext& context, const platform::Rect& /*dirtyRect*/,
                             bool addToCache) {
  // An image rendered ahead is this draw's only: the draw goes on as though it had just rendered it.
  std::shared_ptr<const platform::Image> ahead = std::move(imageRenderedAhead_);
  consumeIsDirtyMark();
  FocusScope focus(context);
  LayerPlacement placement(*this, context);
  if (placement.drawsNothing()) return;
  // Only the canvas shares images: output drawings must not pick up canvas-only marks.
  const bool useCache = addToCache && design_;
  std::shared_ptr<const platform::Image> image;
  if (useCache && !dirty_ && placement.takesPicture()) {
    image = placement.keptImage();
  }
  const bool rendered = !image && placement.takesPicture();
  if (placement.enterFrame(false)) {
    if (rendered) image = ahead ? std::move(ahead) : placement.render();
    if (image) {
      placement.composite(*image);
    } else {
      placement.drawDirectly();
    }
    // A dirty layer renders once and is clean from then on.
    dirty_ = false;
    if (rendered && useCache) placement.keepImage(image);
  }
  placement.leaveFrame();
}

void CMLayer::drawWithVector(platform::GraphicsContext& context, const platform::Rect& /*dirtyRect*/,
                             bool addToCache) {
  FocusScope focus(context);
  LayerPlacement placement(*this, context);
  if (placement.drawsNothing()) return;
  const bool useCache = addToCache && design_;
  // Magnified layers outgrow the view: only their visible part is rendered, and such a part is not stored.
  if (placement.enterFrame(true)) {
    if (placement.takesPicture()) {
      const std::shared_ptr<const platform::Image> image = placement.render();
      placement.composite(*image);
      if (useCache && !placement.partial()) placement.keepImage(image);
    } else {
      placement.drawDirectly();
    }
  }
  placement.leaveFrame();
}
