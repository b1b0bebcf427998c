#include "platform/ui/cursor.h"

#include <algorithm>
#include <cmath>

#include "platform/core/numeric.h"

namespace platform {

namespace {
std::shared_ptr<Cursor> shared(const char* name) {
  // One object per system cursor, so views can compare them.
  return std::make_shared<Cursor>(name);
}
}  // namespace

std::shared_ptr<Cursor> Cursor::arrow() {
  static const auto cursor = shared("default");
  return cursor;
}
std::shared_ptr<Cursor> Cursor::crosshair() {
  static const auto cursor = shared("crosshair");
  return cursor;
}
std::shared_ptr<Cursor> Cursor::pointingHand() {
  static const auto cursor = shared("pointer");
  return cursor;
}
std::shared_ptr<Cursor> Cursor::iBeam() {
  static const auto cursor = shared("text");
  return cursor;
}
std::shared_ptr<Cursor> Cursor::openHand() {
  static const auto cursor = shared("grab");
  return cursor;
}
std::shared_ptr<Cursor> Cursor::closedHand() {
  static const auto cursor = shared("grabbing");
  return cursor;
}
std::shared_ptr<Cursor> Cursor::resizeLeftRight() {
  static const auto cursor = shared("ew-resize");
  return cursor;
}
std::shared_ptr<Cursor> Cursor::resizeUpDown() {
  static const auto cursor = shared("ns-resize");
  return cursor;
}
std::shared_ptr<Cursor> Cursor::operationNotAllowed() {
  static const auto cursor = shared("not-allowed");
  return cursor;
}

std::shared_ptr<Cursor> Cursor::fromImage(Glib::RefPtr<Gdk::Pixbuf> image, Point hotSpot) {
  return std::make_shared<Cursor>(std::move(image), hotSpot);
}

Cursor::Cursor(std::string systemName) : systemName_(std::move(systemName)) {}

Cursor::Cursor(Glib::RefPtr<Gdk::Pixbuf> image, Point hotSpot) : image_(std::move(image)) {
  const double width = image_ ? image_->get_width() : 0;
  const double height = image_ ? image_->get_height() : 0;
  const auto clampInto = [](double value, double size) {
    return std::isfinite(value) ? std::clamp(std::floor(value), 0.0, std::max(0.0, size - 1)) : 0.0;
  };
  hotSpot_ = {clampInto(hotSpot.x, width), clampInto(hotSpot.y, height)};
}

Glib::RefPtr<Gdk::Cursor> Cursor::gdkCursor(const Glib::RefPtr<Gdk::Display>& display) const {
  if (cursor_ || !display) return cursor_;
  if (image_) {
    cursor_ =
        Gdk::Cursor::create(display, image_, saturatingTruncate<int>(hotSpot_.x), saturatingTruncate<int>(hotSpot_.y));
  } else {
    cursor_ = Gdk::Cursor::create(display, systemName_);
  }
  return cursor_;
}

}  // namespace platform
