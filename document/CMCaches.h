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
//
// Pictures are made at the zoom's resolution, so a drawing scrolled through at a high
// zoom would leave gigabytes of them behind: their pixels are held to a budget, and the
// least recently used pictures make way for new ones past it.

#include <cstddef>
#include <cstdint>
#include <list>
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

  // The pixels kept at most, in bytes: room for the pictures of several views full of large shapes at 800 %.
  static constexpr std::size_t kDefaultBudget = std::size_t{384} << 20;

  // Null when the record's "dirty" is YES or no image was stored for that drawing. Valid until the next change.
  // A picture found counts as used.
  const KeptImage* findImage(const platform::DictRef& record, bool design, float viewZoom);
  // Sets the record's "dirty" to NO and keeps the image as the one image of the record's "id", dropping the least
  // recently used others while the pixels kept exceed the budget.
  void addImage(KeptImage kept, const platform::DictRef& record, bool design, float viewZoom);
  // Drops the image of the record's "id", which no longer shows the layer.
  void forgetImage(const platform::DictRef& record);
  // Empties the cache (another document is shown).
  void clean() noexcept {
    items_.clear();
    uses_.clear();
    bytes_ = 0;
  }
  std::size_t count() const noexcept { return items_.size(); }
  // The pixels the kept images hold, in bytes.
  std::size_t bytes() const noexcept { return bytes_; }
  std::size_t budget() const noexcept { return budget_; }
  // A smaller budget drops pictures at once.
  void setBudget(std::size_t budget);

 private:
  struct Item {
    bool design = false;
    float viewZoom = 1;
    KeptImage kept;
    std::size_t bytes = 0;
    std::list<std::int32_t>::iterator use;  // its place in uses_
  };
  void erase(std::unordered_map<std::int32_t, Item>::iterator item);
  void keepWithinBudget();

  std::unordered_map<std::int32_t, Item> items_;
  std::list<std::int32_t> uses_;  // ids, the most recently used first
  std::size_t bytes_ = 0;
  std::size_t budget_ = kDefaultBudget;
};
