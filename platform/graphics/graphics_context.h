#pragma once

// The current graphics context, as NSGraphicsContext and CGContext are: a
// cairo_t plus the state Cairo lacks (colours, shadow, blend mode, global
// alpha, antialiasing), and a stack of current contexts for each thread.
//
// Orientation: every context has a y-up base space, origin at the surface's
// bottom-left, one unit per device pixel. An unflipped context starts with
// user space = base space; a flipped one (a flipped view) starts with origin
// top-left, y down, as AppKit's flipped views do. Code written for Quartz draws
// right side up here without compensating.
//
// Ownership: the context holds its own reference on the cairo_t (and, through
// it, the surface) and releases it when destroyed.
//
// Effects: Cairo has no shadows, global alpha or plus-darker, so a draw that
// needs one is rendered into an offscreen image over the pixels it can touch,
// then composited (shadow first, then the drawing). Operators that also act
// where the source is transparent (source in/out, destination in/atop, and copy
// or clear with effects) act within that image's area, not the whole clip.
// Plus-darker is exact on image surfaces and falls back to multiply elsewhere.

#include <cairo.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/blend_modes.h"
#include "platform/graphics/color.h"
#include "platform/graphics/shadow.h"

namespace platform {

class GraphicsContext {
 public:
  // A new cairo_t on `surface`, whose device height is `height` pixels (image
  // surfaces: their height; PDF/PostScript: the page height).
  GraphicsContext(cairo_surface_t* surface, double height, bool flipped = false);
  // Adopts an existing cairo_t (a window's draw callback): its CTM at this point is taken as
  // device space, and the base space is built on it.
  GraphicsContext(cairo_t* cr, double height, bool flipped = false);
  ~GraphicsContext();
  GraphicsContext(const GraphicsContext&) = delete;
  GraphicsContext& operator=(const GraphicsContext&) = delete;

  // The top of this thread's stack, or null.
  static GraphicsContext* current();
  // lockFocus / unlockFocus. Popping an empty stack does nothing.
  static void push(GraphicsContext& context);
  static void pop();

  cairo_t* cairo() const { return cr_; }
  bool isFlipped() const { return flipped_; }
  // The context describes a page (PDF, PostScript, SVG, a recording) rather than filling pixels: what is drawn
  // stays a drawing at any size.
  bool drawsVectors() const;
  // Device units (pixels on an image) per user unit under the current CTM, taken over both axes.
  double deviceUnitsPerUserUnit() const;
  // The view system sets this when it focuses a view, together with the CTM.
  void setFlipped(bool flipped) { flipped_ = flipped; }

  // Saves and restores the CTM, clip, Cairo's line attributes and all of this
  // context's own state. An unbalanced restore does nothing.
  void saveGraphicsState();
  void restoreGraphicsState();

  // CTM. Transforms act before the current CTM, as CGContextConcatCTM does;
  // singular or non-finite ones are ignored.
  void concatCTM(const AffineTransform& transform);
  void translateCTM(double dx, double dy);
  void scaleCTM(double sx, double sy);
  void rotateCTM(double radians);
  // User space → base space.
  AffineTransform currentTransform() const;

  // Clipping, intersecting with the current clip.
  void clipToPath(const BezierPath& path);  // under the path's own winding rule
  void clipToPath(const BezierPath& path, WindingRule rule);
  void clipToRect(const Rect& rect);
  // The clip's bounding box in user space.
  Rect clipBoundingBox() const;

  // Own state.
  const Color& fillColor() const { return state_.fill; }
  const Color& strokeColor() const { return state_.stroke; }
  void setFillColor(const Color& color) { state_.fill = color; }
  void setStrokeColor(const Color& color) { state_.stroke = color; }
  BlendMode blendMode() const { return state_.blendMode; }
  void setBlendMode(BlendMode mode) { state_.blendMode = mode; }
  // Global alpha, clamped to 0…1 (non-finite → 1).
  double alpha() const { return state_.alpha; }
  void setAlpha(double alpha);
  const std::optional<Shadow>& shadow() const { return state_.shadow; }
  void setShadow(const std::optional<Shadow>& shadow) { state_.shadow = shadow; }
  bool shouldAntialias() const { return state_.antialias; }
  void setShouldAntialias(bool antialias);

  // Drawing with the fill or stroke colour, honouring alpha, blend mode and shadow.
  void fillPath(const BezierPath& path);
  void strokePath(const BezierPath& path);
  // NSRectFill: the fill colour with the copy operator. NSRectFillUsingOperation: another mode.
  void rectFill(const Rect& rect);
  void rectFillUsingBlendMode(const Rect& rect, BlendMode mode);

  // The seam for every primitive (images, text, gradients): `paint` draws the
  // primitive at full opacity with the OVER operator on the cairo_t it is given,
  // whose CTM and antialiasing are this context's. It may be called on an
  // offscreen cairo_t rather than cairo(), and must set its own source. The
  // context then applies shadow, global alpha, blend mode and clip.
  // `userBounds` bounds what `paint` draws, in user space; without it the clip bounds are used.
  void drawWithEffects(const std::function<void(cairo_t*)>& paint, std::optional<Rect> userBounds = std::nullopt);

  // Sets `color` as the source of `cr` (this context's cairo() or an offscreen one
  // made by drawWithEffects), pattern colours anchored at the base origin.
  void setSource(cairo_t* cr, const Color& color) const;

  // CGContextBeginTransparencyLayer / End: drawing in between goes to a group with
  // alpha 1, no shadow and normal blending; at the end the group is composited once
  // with the alpha, blend mode, shadow and clip in force at the beginning.
  // Each begin must be matched by an end; an unmatched end does nothing.
  void beginTransparencyLayer();
  void endTransparencyLayer();

 private:
  struct State {
    Color fill{0, 0, 0, 1};
    Color stroke{0, 0, 0, 1};
    std::optional<Shadow> shadow;
    BlendMode blendMode = BlendMode::Normal;
    double alpha = 1;
    bool antialias = true;
    friend bool operator==(const State&, const State&) = default;
  };
  struct Layer {
    State outer;
    std::size_t savedDepth = 0;
  };

  void establishBaseSpace(double height, bool flipped);
  void drawPath(const BezierPath& path, bool stroke, const Color& color);
  // `singleOperation`: `paint` makes one Cairo drawing call, so a bounded operator may be applied to it directly.
  void drawPrimitive(const std::function<void(cairo_t*)>& paint, std::optional<Rect> userBounds, bool singleOperation);

  cairo_t* cr_ = nullptr;
  bool flipped_ = false;
  // Base space → device space.
  cairo_matrix_t base_{};
  State state_;
  std::vector<State> saved_;
  std::vector<Layer> layers_;
};

// lockFocus…unlockFocus as a scope: pushes on construction, pops on destruction.
class CurrentContextScope {
 public:
  explicit CurrentContextScope(GraphicsContext& context) { GraphicsContext::push(context); }
  ~CurrentContextScope() { GraphicsContext::pop(); }
  CurrentContextScope(const CurrentContextScope&) = delete;
  CurrentContextScope& operator=(const CurrentContextScope&) = delete;
};

}  // namespace platform
