#pragma once

// NSCursor: the system cursors by their CSS names and image cursors with a hot
// spot. A view's cursor shows while the pointer is over it (its cursor rect is
// its whole visible area); views without one show their superview's, and the
// arrow at the top.

#include <gdkmm/cursor.h>
#include <gdkmm/display.h>
#include <gdkmm/pixbuf.h>

#include <memory>
#include <string>

#include "platform/core/geometry.h"

namespace platform {

class Cursor {
 public:
  static std::shared_ptr<Cursor> arrow();
  static std::shared_ptr<Cursor> crosshair();
  static std::shared_ptr<Cursor> pointingHand();
  static std::shared_ptr<Cursor> iBeam();
  static std::shared_ptr<Cursor> openHand();
  static std::shared_ptr<Cursor> closedHand();
  static std::shared_ptr<Cursor> resizeLeftRight();
  static std::shared_ptr<Cursor> resizeUpDown();
  static std::shared_ptr<Cursor> operationNotAllowed();
  // An image cursor; the hot spot is in image pixels from the top-left, clamped into the image.
  static std::shared_ptr<Cursor> fromImage(Glib::RefPtr<Gdk::Pixbuf> image, Point hotSpot);

  explicit Cursor(std::string systemName);
  Cursor(Glib::RefPtr<Gdk::Pixbuf> image, Point hotSpot);

  const std::string& systemName() const { return systemName_; }
  Point hotSpot() const { return hotSpot_; }
  // Made once per cursor on first use; null when the display has no such cursor.
  Glib::RefPtr<Gdk::Cursor> gdkCursor(const Glib::RefPtr<Gdk::Display>& display) const;

 private:
  std::string systemName_;
  Glib::RefPtr<Gdk::Pixbuf> image_;
  Point hotSpot_;
  mutable Glib::RefPtr<Gdk::Cursor> cursor_;
};

}  // namespace platform
