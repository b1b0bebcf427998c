// A group below full opacity is drawn as a unit: its members go into one transparency layer, composited once with
// the group's alpha, so that overlapping members do not show through one another; translucent groups inside it
// multiply. Opaque groups open nothing.

#include <algorithm>
#include <cstddef>

#include "document/CMDrawer.h"
#include "document/CMLayerTree.h"
#include "platform/graphics/graphics_context.h"

namespace {

using Nodes = std::vector<const CMDrawer::GroupNode*>;

// Each open layer holds an image the size of the clip: translucent groups nested deeper than this draw as opaque
// ones, so that a drawing nesting hundreds of them cannot take all memory.
constexpr std::size_t kDeepestOpenGroups = 8;

// The translucent nodes from the top down to `group`, itself included, the outermost few of them.
void translucentNodesAround(const CMDrawer::GroupNode& group, Nodes& nodes) {
  nodes.clear();
  for (const CMDrawer::GroupNode* node = &group; node; node = node->parent) {
    if (CMLayerTree::groupAlpha(node->record) < 1) nodes.push_back(node);
  }
  std::reverse(nodes.begin(), nodes.end());
  if (nodes.size() > kDeepestOpenGroups) nodes.resize(kDeepestOpenGroups);
}

// Ends the open layers that `wanted` does not hold and begins those it adds, so that exactly `wanted` is open.
void openExactly(const Nodes& wanted, Nodes& open, platform::GraphicsContext& context) {
  const auto kept = static_cast<std::size_t>(
      std::mismatch(open.begin(), open.end(), wanted.begin(), wanted.end()).first - open.begin());
  for (; open.size() > kept; open.pop_back()) {
    context.endTransparencyLayer();
    context.restoreGraphicsState();
  }
  for (; open.size() < wanted.size(); open.push_back(wanted[open.size()])) {
    context.saveGraphicsState();
    context.setAlpha(context.alpha() * CMLayerTree::groupAlpha(wanted[open.size()]->record));
    context.beginTransparencyLayer();
  }
}

}  // namespace

void CMDrawer::paintShownLayers(const std::vector<ShownLayer>& shown, platform::GraphicsContext& context,
                                const platform::Rect& rect, const platform::AffineTransform& transform) {
  Nodes open;
  Nodes wanted;
  // Members of one node follow one another: the nodes around them are looked up when the node changes.
  const GroupNode* current = nullptr;
  for (const ShownLayer& item : shown) {
    if (item.group != current) {
      current = item.group;
      translucentNodesAround(*current, wanted);
      openExactly(wanted, open, context);
    }
    paintLayer(*item.layer, context, rect, transform);
  }
  openExactly({}, open, context);
}
