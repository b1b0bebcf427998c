#include "platform/graphics/graphics_context.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/bezier_path_drawing.h"
#include "platform/graphics/finite_geometry.h"

namespace platform {

namespace {

// The stack lockFocus pushes on, one for each thread: layer images are also rendered on worker threads.
std::vector<GraphicsContext*>& contextStack() {
  thread_local std::vector<GraphicsContext*> stack;
  return stack;
}

bool isFinite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

}  // namespace

GraphicsContext::GraphicsContext(cairo_surface_t* surface, double height, bool flipped)
    : cr_(cairo_create(surface)), flipped_(flipped) {
  establishBaseSpace(height, flipped);
}

GraphicsContext::GraphicsContext(cairo_t* cr, double height, bool flipped)
    : cr_(cairo_reference(cr)), flipped_(flipped) {
  establishBaseSpace(height, flipped);
}

GraphicsContext::~GraphicsContext() {
  auto& stack = contextStack();
  stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
  cairo_destroy(cr_);
}

void GraphicsContext::establishBaseSpace(double height, bool flipped) {
  const double h = std::isfinite(height) ? height : 0;
  cairo_matrix_t device;
  cairo_get_matrix(cr_, &device);
  cairo_matrix_t yUp;
  cairo_matrix_init(&yUp, 1, 0, 0, -1, 0, h);
  cairo_matrix_multiply(&base_, &yUp, &device);
  cairo_set_matrix(cr_, &base_);
  if (flipped) {
    cairo_translate(cr_, 0, h);
    cairo_scale(cr_, 1, -1);
  }
}

bool GraphicsContext::drawsVectors() const {
  switch (cairo_surface_get_type(cairo_get_target(cr_))) {
    case CAIRO_SURFACE_TYPE_PDF:
    case CAIRO_SURFACE_TYPE_PS:
    case CAIRO_SURFACE_TYPE_SVG:
    case CAIRO_SURFACE_TYPE_RECORDING:
    case CAIRO_SURFACE_TYPE_SCRIPT: return true;
    default: return false;
  }
}

double GraphicsContext::deviceUnitsPerUserUnit() const {
  cairo_matrix_t ctm;
  cairo_get_matrix(cr_, &ctm);
  const double area = std::fabs(ctm.xx * ctm.yy - ctm.xy * ctm.yx);
  return std::isfinite(area) && area > 0 ? std::sqrt(area) : 1;
}

GraphicsContext* GraphicsContext::current() {
  const auto& stack = contextStack();
  return stack.empty() ? nullptr : stack.back();
}

void GraphicsContext::push(GraphicsContext& context) { contextStack().push_back(&context); }

void GraphicsContext::pop() {
  auto& stack = contextStack();
  if (!stack.empty()) stack.pop_back();
}

void GraphicsContext::saveGraphicsState() {
  cairo_save(cr_);
  saved_.push_back(state_);
}

void GraphicsContext::restoreGraphicsState() {
  if (saved_.empty()) return;
  // A layer's group holds a Cairo save of its own: never restore past the layer's beginning.
  if (!layers_.empty() && saved_.size() <= layers_.back().savedDepth) return;
  cairo_restore(cr_);
  state_ = saved_.back();
  saved_.pop_back();
}

void GraphicsContext::concatCTM(const AffineTransform& transform) { transform.concat(cr_); }

void GraphicsContext::translateCTM(double dx, double dy) {
  if (isFinite(dx, dy)) cairo_translate(cr_, dx, dy);
}

void GraphicsContext::scaleCTM(double sx, double sy) {
  if (isFinite(sx, sy) && sx != 0 && sy != 0) cairo_scale(cr_, sx, sy);
}

void GraphicsContext::rotateCTM(double radians) {
  if (std::isfinite(radians)) cairo_rotate(cr_, radians);
}

AffineTransform GraphicsContext::currentTransform() const {
  cairo_matrix_t ctm;
  cairo_get_matrix(cr_, &ctm);
  cairo_matrix_t deviceToBase = base_;
  if (cairo_matrix_invert(&deviceToBase) != CAIRO_STATUS_SUCCESS) cairo_matrix_init_identity(&deviceToBase);
  cairo_matrix_t userToBase;
  cairo_matrix_multiply(&userToBase, &ctm, &deviceToBase);
  return {userToBase.xx, userToBase.yx, userToBase.xy, userToBase.yy, userToBase.x0, userToBase.y0};
}

void GraphicsContext::clipToPath(const BezierPath& path) { clipToPath(path, path.windingRule()); }

void GraphicsContext::clipToPath(const BezierPath& path, WindingRule rule) {
  if (!isFinitePath(path)) {
    // A path with no usable geometry encloses nothing.
    cairo_new_path(cr_);
    cairo_clip(cr_);
    return;
  }
  BezierPath ruled = path;
  ruled.setWindingRule(rule);
  addClip(ruled, cr_);
}

void GraphicsContext::clipToRect(const Rect& rect) { clipToPath(BezierPath::rect(rect), WindingRule::NonZero); }

Rect GraphicsContext::clipBoundingBox() const {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  cairo_clip_extents(cr_, &x0, &y0, &x1, &y1);
  return {x0, y0, x1 - x0, y1 - y0};
}

void GraphicsContext::setAlpha(double alpha) { state_.alpha = std::isfinite(alpha) ? std::clamp(alpha, 0.0, 1.0) : 1; }

void GraphicsContext::setShouldAntialias(bool antialias) {
  state_.antialias = antialias;
  cairo_set_antialias(cr_, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

}  // namespace platform
