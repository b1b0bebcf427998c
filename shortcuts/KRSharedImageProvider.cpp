#include "shortcuts/KRSharedImageProvider.h"

#include <map>
#include <memory>
#include <string>

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/shadow.h"

using platform::BezierPath;
using platform::Color;
using platform::GraphicsContext;
using platform::Point;
using platform::Size;

namespace {

constexpr Size kImageSize{14, 14};

// A white curved arrow pointing back, with a soft shadow below it.
void drawSnapback(GraphicsContext& context, Size size) {
  const auto at = [size](double fx, double fy) { return Point{fx * size.width, fy * size.height}; };
  BezierPath arrow;
  arrow.moveTo(at(0.0489685, 0.6181513));
  arrow.lineTo(at(0.408575, 0.9469318));
  arrow.lineTo(at(0.408575, 0.7226146));
  arrow.curveTo(at(0.8508247, 0.4836237), at(0.408575, 0.7226146), at(0.8371143, 0.7491841));
  arrow.curveTo(at(0.5507195, 0.0530682), at(0.8677834, 0.1545071), at(0.5507195, 0.0530682));
  arrow.curveTo(at(0.7421721, 0.3391942), at(0.5507195, 0.0530682), at(0.7458685, 0.1913146));
  arrow.curveTo(at(0.408575, 0.515413), at(0.7383412, 0.4930328), at(0.408575, 0.515413));
  arrow.lineTo(at(0.408575, 0.2654));
  // (x, y) → (0.9·(x + 0.5), y − 0.5).
  arrow.transformUsingAffineTransform({0.9, 0, 0, 1, 0.45, -0.5});
  context.saveGraphicsState();
  context.setShadow(platform::Shadow{{0, -1}, 1, Color(0, 0, 0, 0.45)});
  context.setFillColor(Color::whiteColor());
  context.fillPath(arrow);
  context.restoreGraphicsState();
}

// A dark disc, the more opaque the lower the opacity asked for, crossed in white.
void drawRemoveShortcutBox(GraphicsContext& context, Size size, double opacity) {
  context.setFillColor(Color(0, 0, 0, 1 - opacity));
  context.fillPath(BezierPath::ovalInRect({0, 0, size.width, size.height}));
  const double sx = size.width / 14;
  const double sy = size.height / 14;
  BezierPath cross;
  cross.moveTo({4 * sx, 4 * sy});
  cross.lineTo({10 * sx, 10 * sy});
  cross.moveTo({10 * sx, 4 * sy});
  cross.lineTo({4 * sx, 10 * sy});
  cross.setLineWidth(1.2 * sx);
  context.setStrokeColor(Color::whiteColor());
  context.strokePath(cross);
}

std::unique_ptr<platform::Image> drawImage(std::string_view name) {
  double removeOpacity = 0;
  if (name == "KRRemoveShortcut") {
    removeOpacity = 0.75;
  } else if (name == "KRRemoveShortcutRollover") {
    removeOpacity = 0.65;
  } else if (name == "KRRemoveShortcutPressed") {
    removeOpacity = 0.55;
  } else if (name != "KRSnapback") {
    return nullptr;
  }
  auto image = std::make_unique<platform::Image>(kImageSize);
  image->lockFocus();
  if (GraphicsContext* context = GraphicsContext::current()) {
    if (removeOpacity > 0) {
      drawRemoveShortcutBox(*context, kImageSize, removeOpacity);
    } else {
      drawSnapback(*context, kImageSize);
    }
  }
  image->unlockFocus();
  return image;
}

}  // namespace

const platform::Image* KRSharedImageProvider::supportingImageWithName(std::string_view name) {
  static std::map<std::string, std::unique_ptr<platform::Image>, std::less<>> cache;
  if (const auto found = cache.find(name); found != cache.end()) return found->second.get();
  std::unique_ptr<platform::Image> image = drawImage(name);
  if (!image) return nullptr;
  return cache.emplace(std::string(name), std::move(image)).first->second.get();
}
