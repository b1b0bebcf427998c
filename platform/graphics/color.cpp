#include "platform/graphics/color.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/graphics_context.h"

namespace platform {

namespace {

double unitComponent(double value) { return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0; }

}  // namespace

Color::Color(double red, double green, double blue, double alpha)
    : red_(unitComponent(red)), green_(unitComponent(green)), blue_(unitComponent(blue)), alpha_(unitComponent(alpha)) {}

Color Color::pattern(std::shared_ptr<cairo_surface_t> image) {
  if (!image || cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(image.get()) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_width(image.get()) <= 0 || cairo_image_surface_get_height(image.get()) <= 0) {
    return clearColor();
  }
  Color color;
  color.pattern_ = std::move(image);
  return color;
}

std::optional<Color> Color::usingRGBSpace() const {
  if (isPattern()) return std::nullopt;
  return *this;
}

Color Color::blended(double fraction, const Color& other) const {
  const double f = unitComponent(fraction);
  const auto mix = [f](double a, double b) { return a + (b - a) * f; };
  return {mix(red_, other.red_), mix(green_, other.green_), mix(blue_, other.blue_), mix(alpha_, other.alpha_)};
}

void Color::set() const {
  setFill();
  setStroke();
}

void Color::setFill() const {
  if (GraphicsContext* context = GraphicsContext::current()) context->setFillColor(*this);
}

void Color::setStroke() const {
  if (GraphicsContext* context = GraphicsContext::current()) context->setStrokeColor(*this);
}

}  // namespace platform
