#pragma once

// A colour as AppKit's NSColor: RGBA components (calibrated, device, generic and
// plain forms are all the same sRGB here) or a pattern image that tiles the
// base space from its origin, one image pixel per base unit whatever the CTM.

#include <cairo.h>

#include <memory>
#include <optional>

namespace platform {

class Color {
 public:
  // Opaque black.
  Color() = default;
  // Components are clamped to 0…1; a non-finite one reads as 0.
  Color(double red, double green, double blue, double alpha);

  static Color calibrated(double red, double green, double blue, double alpha) { return {red, green, blue, alpha}; }
  static Color device(double red, double green, double blue, double alpha) { return {red, green, blue, alpha}; }
  static Color generic(double red, double green, double blue, double alpha) { return {red, green, blue, alpha}; }
  static Color white(double white, double alpha) { return {white, white, white, alpha}; }
  static Color blackColor() { return {0, 0, 0, 1}; }
  static Color whiteColor() { return {1, 1, 1, 1}; }
  static Color clearColor() { return {0, 0, 0, 0}; }
  // Tiles `image` (an image surface, shared with the caller). A null or failed surface gives clear.
  static Color pattern(std::shared_ptr<cairo_surface_t> image);

  bool isPattern() const { return pattern_ != nullptr; }
  // The tile of a pattern colour; null for a component colour.
  const std::shared_ptr<cairo_surface_t>& patternImage() const { return pattern_; }
  // Components of a component colour; a pattern reads as opaque black.
  double red() const { return red_; }
  double green() const { return green_; }
  double blue() const { return blue_; }
  double alpha() const { return alpha_; }
  // colorUsingColorSpaceName: the colour itself for components, nullopt for a pattern.
  std::optional<Color> usingRGBSpace() const;
  // blendedColorWithFraction:ofColor: — each component moved `fraction` (0…1) of the way to the other colour's,
  // alpha too; shadowWithLevel: and highlightWithLevel: blend towards black and white. Patterns read as black.
  Color blended(double fraction, const Color& other) const;
  Color shadowWithLevel(double level) const { return blended(level, blackColor()); }
  Color highlightWithLevel(double level) const { return blended(level, whiteColor()); }
  Color withAlpha(double alpha) const { return {red_, green_, blue_, alpha}; }

  // Install into the current graphics context (no-op without one): set = fill and stroke.
  void set() const;
  void setFill() const;
  void setStroke() const;

  friend bool operator==(const Color&, const Color&) = default;

 private:
  double red_ = 0;
  double green_ = 0;
  double blue_ = 0;
  double alpha_ = 1;
  std::shared_ptr<cairo_surface_t> pattern_;
};

}  // namespace platform
