#pragma once

// The process-wide cache of rendered layer images, so that an unchanged layer is
// composited from one stored image per redraw instead of being rendered again.
//
// An image is only good for the drawing it was made for: items are keyed by the
// layer record's "id", the design mode and the view zoom it was rendered at. The
// record's single "dirty" flag says whether the stored image is out of date, so
// storing a new image for an id drops every other image of that id (the flag is
// cleared for the new one and could no longer vouch for them).
//
// An image is also only good where it lies on the pixel grid as it did when made:
// each is kept with its grid, and a layer moved by a fraction of a pixel renders
// anew, since its old picture drawn at the new place would be shifted or stretched.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"

namespace platform {
class Image;
}

class CMCaches {
 public:
  static CMCaches& sharedCaches();

  CMCaches() = default;
  CMCaches(const CMCaches&) = delete;
  CMCaches& operator=(const CMCaches&) = delete;

  struct KeptImage {
    std::shared_ptr<const platform::Image> image;
    // The content's offset in the picture and the picture's size, in its pixels.
    platform::Rect grid;
    // The turn the content was drawn with onto the picture.
    platform::AffineTransform turn;
  };

  // Null when the record's "dirty" is YES or no image was stored for that drawing. Valid until the next change.
  const KeptImage* findImage(const platform::DictRef& record, bool design, float viewZoom) const;
  // Sets the record's "dirty" to NO and keeps the image as the one image of the record's "id".
  void addImage(KeptImage kept, const platform::DictRef& record, bool design, float viewZoom);
  // Drops the image of the record's "id", which no longer shows the layer.
  void forgetImage(const platform::DictRef& record);
  // Empties the cache (another document is shown).
  void clean() noexcept { items_.clear(); }
  std::size_t count() const noexcept { return items_.size(); }

 private:
  struct Item {
    bool design = false;
    float viewZoom = 1;
    KeptImage kept;
  };
  std::unordered_map<std::int32_t, Item> items_;
};
