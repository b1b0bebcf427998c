#pragma once

// An image layer (layer type 1): a picture embedded in the record as encoded bytes
// under "image" or, when those are absent, read from the local file at "image_path",
// optionally mirrored ("flip_h", "flip_v") inside its bounds.

#include <memory>

#include "document/CMPathBaseLayer.h"
#include "platform/graphics/image.h"

class CMImageLayer : public CMPathBaseLayer {
 public:
  // The base set-up only: no picture, zero layer rect.
  explicit CMImageLayer(platform::DictRef data);
  // Loads the picture and takes its size, unless "width" and "height" are both non-zero;
  // a picture that cannot be read leaves a zero size at ("x", "y"). Then applies imported
  // transforms.
  CMImageLayer(platform::DictRef data, float zoom);

  // Origin times the zoom; the size only when "width" and "height" are both non-zero.
  void updateLayerRect() override;
  platform::Rect layerRect() override { return layerRect_; }
  // The layer rect, with no margin.
  platform::BezierPath framePath(bool zoomed) override;
  // Switching the mode off also resets the zoom to 1; the rect is updated.
  void setVectorViewMode(bool vectorViewMode) override;
  // The picture in (0, 0, layer size), clipped to the outline and mirrored as asked.
  void drawL(platform::GraphicsContext& context, const platform::Rect& rect) override;

  // Null when no picture could be loaded.
  const platform::Image* image() const noexcept { return image_.get(); }

 private:
  void loadImage();

  std::unique_ptr<platform::Image> image_;
};
