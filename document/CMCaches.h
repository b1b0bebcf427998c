#pragma once

// The process-wide cache of rendered layer images, so that an unchanged layer is
// composited from one stored image per redraw instead of being rendered again.
//
// An image is only good for the drawing it was made for: items are keyed by the
// layer record's "id", the design mode and the view zoom it was rendered at. The
// record's single "dirty" flag says whether the stored image is out of date, so
// storing a new image for an id drops every other image of that id (the flag is
// cleared for the new one and could no longer vouch for them).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/core/value.h"

namespace platform {
class Image;
}

class CMCaches {
 public:
  static CMCaches& sharedCaches();

  CMCaches() = default;
  CMCaches(const CMCaches&) = delete;
  CMCaches& operator=(const CMCaches&) = delete;

  // Null when the record's "dirty" is YES or no image was stored for that drawing.
  std::shared_ptr<const platform::Image> findImage(const platform::DictRef& record, bool design, float viewZoom) const;
  // Sets the record's "dirty" to NO and keeps the image as the one image of the record's "id".
  void addImage(std::shared_ptr<const platform::Image> image, const platform::DictRef& record, bool design,
                float viewZoom);
  // Empties the cache (another document is shown).
  void clean() noexcept { items_.clear(); }
  std::size_t count() const noexcept { return items_.size(); }

 private:
  struct Item {
    bool design = false;
    float viewZoom = 1;
    std::shared_ptr<const platform::Image> image;
  };
  std::unordered_map<std::int32_t, Item> items_;
};
