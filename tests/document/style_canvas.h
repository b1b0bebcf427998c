#pragma once

// A y-up drawing canvas made current for one test, probed in user coordinates, and images to paint with.

#include <gtest/gtest.h>

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

// A solid image of the given size as PNG bytes, as an image fill record carries it.
inline platform::Bytes pngOf(platform::Size size, const platform::Color& color) {
  platform::Image image(size);
  image.lockFocus();
  platform::GraphicsContext::current()->setFillColor(color);
  platform::GraphicsContext::current()->fillPath(platform::BezierPath::rect({0, 0, size.width, size.height}));
  image.unlockFocus();
  auto bytes = image.representation(platform::ImageFileType::Png);
  return bytes ? bytes.value() : platform::Bytes{};
}

}  // namespace document_testing
