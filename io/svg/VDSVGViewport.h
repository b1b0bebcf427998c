#pragma once

// The viewport an "svg" element opens: the size its contents' percentages refer to (its viewBox's, else its own),
// and the transform its viewBox and place set up, fitted into its width and height as "preserveAspectRatio" asks.

#include <optional>
#include <string>

#include "platform/core/geometry.h"
#include "platform/core/value.h"

struct SVGViewport {
  platform::Size size;
  // A "matrix(…)" transform text; nothing when the contents stay where they are.
  std::optional<std::string> transform;
  // A width or height of 0 or less: nothing inside is drawn.
  bool empty = false;
};

// `nested`: inside another "svg", whose viewport `outer` is (and whose "x" and "y" then place it). On the outermost
// "svg" a percentage, like a missing size, means the viewBox's size, or without one `outer` (the page imported
// into), so that the drawing shows whole.
SVGViewport SVGViewportOf(const platform::DictRef& attributes, bool nested, platform::Size outer);
