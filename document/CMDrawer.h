#pragma once

// The drawer: turns one document into layer objects and draws them. It mirrors the
// document's groups in a tree of group nodes (hidden groups and their members get no
// objects), keeps a flat list of every layer object in drawing order (first = bottom,
// each mask right after the layer it masks), and draws the page background, the layers
// (the members of a group below full opacity composited as one) and, in design mode, the
// selection marks above all of them.

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "document/CMDrawerIndex.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"

class CMBaseDocument;
class CMLayer;

namespace platform {
class GraphicsContext;
}

class CMDrawer {
 public:
  struct GroupNode;
  using Item = std::variant<std::shared_ptr<GroupNode>, std::shared_ptr<CMLayer>>;
  struct GroupNode {
    std::vector<Item> items;
    bool visible = true;
    std::int32_t id = 0;                // the group record's "id"; 0 for the top node
    platform::DictRef record;           // the group record, whose "alpha" is read as it is drawn; null for the top node
    const GroupNode* parent = nullptr;  // the node holding this one; null for the top node
  };
  using Layers = std::vector<std::shared_ptr<CMLayer>>;

  CMDrawer();

  // Keeps the document and rebuilds the tree and the layer list from the root "layers".
  void setDocument(std::shared_ptr<CMBaseDocument> document);
  const std::shared_ptr<CMBaseDocument>& document() const noexcept { return document_; }

  // The layer object of a shape, image or text record at that view zoom; null for any other record.
  static std::shared_ptr<CMLayer> makeLayer(const platform::DictRef& record, float viewZoom);
  // One new record (and its masks) into the top node; null for a record that is not a
  // shape, image or text layer.
  std::shared_ptr<CMLayer> addObject(const platform::DictRef& record);
  std::shared_ptr<CMLayer> addObject(const platform::DictRef& record, GroupNode& group);
  // The records of one group level into the node, visible sub-groups as nested nodes.
  void addGroup(const platform::ArrayRef& records, GroupNode& group);

  void setViewMode(bool vectorViewMode) noexcept { vectorViewMode_ = vectorViewMode; }
  bool viewMode() const noexcept { return vectorViewMode_; }
  // Cached mode keeps the view zoom at 1 (the zoom transform magnifies the cached images);
  // vector mode hands the zoom to every layer. Every layer becomes dirty either way.
  // A zoom that is not a positive finite number counts as 1.
  void setZoom(float zoom);
  float viewZoom() const noexcept { return viewZoom_; }

  // Background, then layers (and marks in design mode), into `context`, which is made current meanwhile.
  void draw(platform::GraphicsContext& context, const platform::Rect& rect, bool designMode);
  // The two halves of that: the background and the layers, then the selected layers' marks (the canvas draws the
  // marks past the page's edges too).
  void drawContent(platform::GraphicsContext& context, const platform::Rect& rect, bool designMode);
  void drawSelectionMarks(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawBackground(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawLayers(platform::GraphicsContext& context, const platform::Rect& rect);
  void drawGroupLayers(const GroupNode& group, platform::GraphicsContext& context, const platform::Rect& rect,
                       const platform::AffineTransform& transform, bool selectedFrame);
  bool designMode() const noexcept { return designMode_; }
  // On (the default), layers keep their measured extents in an index and a draw visits only those that can meet the
  // clip; off, every layer is measured anew and drawn: the reference the index is compared with.
  void setKeepsLayerExtents(bool keeps) noexcept { keepsLayerExtents_ = keeps; }
  // On (the default), the layer images a draw on the canvas in cached mode would render one after another are
  // rendered side by side on worker threads first; off, each layer's draw renders its own: the reference the former
  // is compared with.
  void setRendersImagesAhead(bool ahead) noexcept { rendersImagesAhead_ = ahead; }

  // Scale by the document zoom on the canvas in cached mode, else by 1; and its inverse.
  platform::AffineTransform zoomTransform() const;
  platform::AffineTransform backZoomTransform() const;
  // The root record's "zoom", where anything but a positive finite number counts as 1.
  float documentZoom() const;

  const Layers& layers() const noexcept { return layers_; }
  Layers& layers() noexcept { return layers_; }
  void setLayers(Layers layers) { layers_ = std::move(layers); }
  // Drawing order is the document's order already.
  void sortLayers() {}
  const GroupNode& topGroup() const noexcept { return *topGroup_; }
  // Hands every layer the zoom and mode the next draw hands it, for a question asked before that draw (a click
  // just after the zoom changed): layers otherwise keep the last draw's until then.
  void applyDrawingSetting();

 private:
  platform::DictRef rootRecord() const;
  // What every layer is handed before it draws, for the draw in progress.
  CMDrawerIndex::Setting drawingSetting() const;
  // The index, brought up to date with the setting of the draw in progress.
  CMDrawerIndex& currentIndex();
  // A layer a draw shows, with the innermost group node holding it.
  struct ShownLayer {
    CMLayer* layer;
    const GroupNode* group;
  };

  void drawLayer(CMLayer& layer, const GroupNode& group, platform::GraphicsContext& context,
                 const platform::Rect& rect, const platform::AffineTransform& transform, bool selectedFrame);
  // Paints the shown layers in order, each translucent group around them as one transparency layer.
  void paintShownLayers(const std::vector<ShownLayer>& shown, platform::GraphicsContext& context,
                        const platform::Rect& rect, const platform::AffineTransform& transform);
  void paintLayer(CMLayer& layer, platform::GraphicsContext& context, const platform::Rect& rect,
                  const platform::AffineTransform& transform);
  // Runs `work` with the layer's mask clip and the zoom transform applied, as the layer is drawn.
  template <typename Work>
  static void withinLayerFrame(CMLayer& layer, platform::GraphicsContext& context,
                               const platform::AffineTransform& transform, const Work& work);

  std::shared_ptr<CMBaseDocument> document_;
  // While set, a pass over the layers collects those the draw shows instead of drawing them.
  std::vector<ShownLayer>* shownLayers_ = nullptr;
  std::shared_ptr<GroupNode> topGroup_;
  Layers layers_;
  CMDrawerIndex index_;
  // The innermost group node of each of the index's layers, slot by slot.
  std::vector<const GroupNode*> indexGroups_;
  // The tree changed other than by layers added on top: the index takes the tree's layers anew.
  bool indexStale_ = true;
  // The clip of the draw in progress carried back through the zoom transform: layers whose extent cannot meet it are
  // passed over.
  platform::Rect cullRect_{};
  // What the layers are handed on a draw without the index, read once instead of once a layer.
  CMDrawerIndex::Setting setting_;
  bool keepsLayerExtents_ = true;
  bool rendersImagesAhead_ = true;
  bool designMode_ = false;
  bool vectorViewMode_ = false;
  float viewZoom_ = 1;
};
