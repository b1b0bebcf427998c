#pragma once

// The SVG gradient definitions of one file put into gradient records of the drawing: their stops (colours read as
// fills read them, opacities kept, offsets clamped and never decreasing) and their geometry. A linear gradient's line,
// through "gradientUnits", "gradientTransform" and the element's transform, becomes a line at an angle on the page
// (type 2), which holds any affine picture of it. A radial gradient's record draws an ellipse of the box's
// proportions about a centre anywhere: the file's circle, as its units and transforms make it, becomes that ellipse
// with the file's centre and area, which is the circle itself on a square box and every box-relative gradient
// without a transform of its own.
//
// A definition takes what it lacks from the gradients its "xlink:href" leads to, as SVG inherits: stops from any
// gradient, the geometry from one of its own kind; links that run in a circle end before they come back. Each
// definition is resolved through its links once, however many shapes use it, and the records share one copy of its
// stops (see markers()).

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"

struct CMSVGGradientPlacement {
  // The element's bounds in its own coordinates, which "objectBoundingBox" units measure.
  platform::Rect elementBox;
  // From the element's coordinates to the page's.
  platform::AffineTransform transform;
  // The box on the page the drawing lays the gradient into.
  platform::Rect pageBox;
  // What percentages of "userSpaceOnUse" units are taken of.
  platform::Size viewport;
};

class CMSVGGradients {
 public:
  // `definitions`: finished definitions already read, in document order.
  explicit CMSVGGradients(platform::ArrayRef definitions = platform::Array::make());

  // A finished definition ({"name", "attributes", "points": the stops' attributes}), after those before it.
  void add(const platform::DictRef& definition);
  const platform::ArrayRef& definitions() const { return definitions_; }

  // The first definition whose "id" is `id`; null when there is none.
  platform::DictRef find(std::string_view id) const;
  // Writes "markers", "type" and the geometry of the definition into the gradient record.
  void apply(const platform::DictRef& definition, const platform::DictRef& record,
             const CMSVGGradientPlacement& placement);
  // The colour record halfway along the definition's stops, for what holds one colour only (a text).
  platform::DictRef middleColor(const platform::DictRef& definition);

 private:
  // What a definition comes to through its links, for a gradient of one kind.
  struct Resolved {
    bool linear = true;
    platform::DictRef attributes = platform::Dictionary::make();
    platform::ArrayRef stops;  // those of the first definition along the links that has any
  };
  const Resolved& resolved(const platform::DictRef& definition);
  // The definition's own attributes of gradients of the kind resolved, and its stops, over what it links to.
  static Resolved ownOver(const platform::DictRef& definition, const Resolved& after);
  // The markers of the stops, made once and held by every record that uses them: a file may give thousands of
  // shapes one gradient. A radial gradient's stops move by a factor of the shape's (its radius against the one the
  // record draws), so shapes of other proportions take copies of their own: those whose factors differ by less than
  // a 256th of an octave share one when the stops are many. The gradient editor copies markers before it changes
  // any.
  platform::ArrayRef markers(const Resolved& resolved, double factor = 1);
  void setRadialGeometry(const platform::DictRef& record, const Resolved& resolved,
                         const CMSVGGradientPlacement& placement);

  platform::ArrayRef definitions_;
  std::unordered_map<std::string, platform::DictRef> byId_;
  // By definition and kind (linear or not) of the gradient resolved.
  std::map<std::pair<const platform::Dictionary*, bool>, Resolved> resolved_;
  // Ids links named before anything had them: one coming later changes what those links resolve to.
  std::unordered_set<std::string> missed_;
  std::map<std::tuple<const platform::Array*, bool, double>, platform::ArrayRef> markers_;
};
