#pragma once

// A y-up drawing canvas made current for one test, probed in user coordinates, and images to paint with.

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "../platform/graphics/graphics_test_canvas.h"
#include "platform/graphics/image.h"

namespace document_testing {

class StyleCanvasTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 200;
  static constexpr int kHeight = 100;

  StyleCanvasTest() : canvas_(kWidth, kHeight), scope_(canvas_.context()) {}

  platform::GraphicsContext& context() { return canvas_.context(); }

  // The pixel whose square holds user point (x, y); premultiplied components.
  platform::testing::Pixel at(double x, double y) const {
    return canvas_.at(static_cast<int>(x), kHeight - 1 - static_cast<int>(y));
  }

 private:
  platform::testing::GraphicsCanvas canvas_;
  platform::CurrentContextScope scope_;
};

// An image of the given size with each rectangle filled in its colour, in order, as PNG bytes (what image layers
// and image fill records carry).
inline platform::Bytes pngOf(platform::Size size,
                             std::initializer_list<std::pair<platform::Rect, platform::Color>> patches) {
  platform::Image image(size);
  image.lockFocus();
  for (const auto& [rect, color] : patches) {
    platform::GraphicsContext::current()->setFillColor(color);
    platform::GraphicsContext::current()->fillPath(platform::BezierPath::rect(rect));
  }
  image.unlockFocus();
  auto bytes = image.representation(platform::ImageFileType::Png);
  return bytes ? bytes.value() : platform::Bytes{};
}

// A solid image of the given size as PNG bytes.
inline platform::Bytes pngOf(platform::Size size, const platform::Color& color) {
  return pngOf(size, {{{0, 0, size.width, size.height}, color}});
}

}  // namespace document_testing
