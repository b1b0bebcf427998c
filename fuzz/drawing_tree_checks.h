#pragma once

// What the drawing fuzz target asks of a document tree after each step: where it
// holds non-finite numbers, whether two trees are the same (NaN equal to NaN, so a
// hostile file can still be compared with its saved copy), and the tree without the
// marks that drawing and undo write as they go.

#include <set>
#include <string>

#include "platform/core/value.h"

namespace drawing_checks {

// A non-finite number (or a point string that reads as one) at a key path inside a
// layer record, named by the record's "id"; "root" for the root record's own keys.
// Array positions are left out of the path, so reordering points does not move it.
struct Place {
  std::string layerId;
  std::string path;
  auto operator<=>(const Place&) const = default;
};

std::set<Place> nonFinitePlaces(const platform::DictRef& root);

// Where two trees first differ, empty when they have the same kinds and values
// throughout; reals compare by value with every NaN equal.
std::string firstDifference(const platform::Value& a, const platform::Value& b, const std::string& path = "");

// A deep copy without "dirty", "isDirty" (the cached drawing's marks), "group_id",
// "position" (written by undo registration) in any layer record, and without the
// shape's "x_offset", "y_offset", which selecting a shape for point editing writes
// for the drawing tools that build shapes point by point.
platform::DictRef withoutMarks(const platform::DictRef& root);

// The layer record ids of the tree, groups and masks included, as Place names them.
std::set<std::string> layerIds(const platform::DictRef& root);

}  // namespace drawing_checks
