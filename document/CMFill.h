#pragma once

// A fill style record made drawable. The record holds "type" (0 none, 1 colour, 2 image,
// 3 gradient; others paint nothing), "alpha" (1 when absent; not applied to images),
// "color" (a colour record whose "a" is ignored), "image" (the image file's bytes) or
// "image_path", "image_draw_type" (see CMImagePlacement) and "gradient" (a gradient record).
// Made once per drawing pass; the record is shared, not copied.

#include <memory>
#include <optional>

#include "platform/core/value.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/color.h"
#include "platform/graphics/image.h"

class CMFill {
 public:
  static CMFill fillWithDictionary(const platform::DictRef& record) { return CMFill(record); }
  // Reads the type and alpha; for type 1 the colour, for type 2 the image and its draw type.
  explicit CMFill(const platform::DictRef& record);

  // Paints the inside of the path in the current graphics context. `shadow` says that a
  // shadow is set there: a gradient then first fills the path in black at the fill's alpha
  // to cast it, since the gradient casts none. A colour fills under the even-odd rule
  // whatever the path's own rule is. An image that is missing, undecodable or of size 0
  // paints nothing.
  void fillPath(const platform::BezierPath& path, bool shadow) const;

  int type() const { return type_; }
  float alpha() const { return alpha_; }
  const platform::Color& color() const { return color_; }
  // Null unless type 2 with an image that decoded to a non-zero size.
  const std::shared_ptr<const platform::Image>& image() const { return image_; }

 protected:
  // The image as a pattern colour, tiled from the base origin; nullopt without an image.
  std::optional<platform::Color> patternColor() const;

  int type_ = 0;
  int imageDrawType_ = 0;
  platform::Color color_;
  std::shared_ptr<const platform::Image> image_;
  platform::DictRef data_;
  float alpha_ = 1;

 private:
  void fillWithImage(const platform::BezierPath& path) const;
  void fillWithGradient(const platform::BezierPath& path, bool shadow) const;
};
