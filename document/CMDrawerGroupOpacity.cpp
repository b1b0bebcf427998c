// A group below full opacity is drawn as a unit: its members go into one transparency layer, composited once with
// the group's alpha, so that overlapping members do not show through one another; translucent groups inside it
// multiply. Opaque groups open nothing.

#include <algorithm>
#include <cstddef>

#include "document/CMDrawer.h"
#include "document/CMLayerTree.h"
#include "platform/graphics/graphics_context.h"

namespace {

// A transparency layer open for a group, composited with the alpha it holds.
struct OpenGroup {
  const CMDrawer::GroupNode* node;
  double alpha;
  friend bool operator==(const OpenGroup&, const OpenGroup&) = default;
};
using Groups = std::vector<OpenGroup>;

// Each open layer holds an image the size of the clip: translucent groups nested deeper than this open none of their
// own, so that a drawing nesting hundreds of them cannot take all memory.
constexpr std::size_t kDeepestOpenGroups = 8;

// The translucent groups from the top down to `group`, itself included, the outermost few of them; the alphas of
// those deeper multiply into the innermost one kept, so that they still show.
void translucentGroupsAround(const CMDrawer::GroupNode& group, Groups& groups) {
  groups.clear();
  for (const CMDrawer::GroupNode* node = &group; node; node = node->parent) {
    const double alpha = CMLayerTree::groupAlpha(node->record);
    if (alpha < 1) groups.push_back({node, alpha});
  }
  std::reverse(groups.begin(), groups.end());
  if (groups.size() <= kDeepestOpenGroups) return;
  OpenGroup& innermost = groups[kDeepestOpenGroups - 1];
  for (std::size_t deeper = kDeepestOpenGroups; deeper < groups.size(); ++deeper) {
    innermost.alpha *= groups[deeper].alpha;
  }
  groups.resize(kDeepestOpenGroups);
}

// Ends the open layers that `wanted` does not hold and begins those it adds, so that exactly `wanted` is open.
void openExactly(const Groups& wanted, Groups& open, platform::GraphicsContext& context) {
  const auto kept = static_cast<std::size_t>(
      std::mismatch(open.begin(), open.end(), wanted.begin(), wanted.end()).first - open.begin());
  for (; open.size() > kept; open.pop_back()) {
    context.endTransparencyLayer();
    context.restoreGraphicsState();
  }
  for (; open.size() < wanted.size(); open.push_back(wanted[open.size()])) {
    context.saveGraphicsState();
    context.setAlpha(context.alpha() * wanted[open.size()].alpha);
    context.beginTransparencyLayer();
  }
}

}  // namespace

void CMDrawer::paintShownLayers(const std::vector<ShownLayer>& shown, platform::GraphicsContext& context,
                                const platform::Rect& rect, const platform::AffineTransform& transform) {
  Groups open;
  Groups wanted;
  // Members of one node follow one another: the nodes around them are looked up when the node changes.
  const GroupNode* current = nullptr;
  for (const ShownLayer& item : shown) {
    if (item.group != current) {
      current = item.group;
      translucentGroupsAround(*current, wanted);
      openExactly(wanted, open, context);
    }
    paintLayer(*item.layer, context, rect, transform);
  }
  openExactly({}, open, context);
}
