// Every element index, partcode and count argument of the path geometry at the extremes:
// outside the path each gives its failure value and leaves the path alone (UBSan turns any
// signed overflow on the way into a failure).

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "geometry/partcode_editing.h"
#include "geometry/partcode_hit_testing.h"
#include "geometry/partcodes.h"
#include "geometry/path_cleanup.h"
#include "geometry/path_length.h"
#include "geometry/subpath_queries.h"
#include "path_test_support.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;
using platform::Rect;

TEST(IndexArguments, ExtremesOutsideThePathGiveTheFailureValue) {
  BezierPath path = polyline({{0, 0}, {10, 0}});
  path.curveTo({20, 10}, {12, 0}, {20, 8});
  path.closePath();
  path.moveTo({30, 0});
  path.lineTo({40, 0});
  const int count = path.elementCount();
  const Point end{40, 0};

  // Each row: the call with one argument at the extreme, and whether it gave the failure value.
  struct Row {
    const char* name;
    std::function<bool(BezierPath&, int)> failsSafely;
  };
  const std::vector<Row> elementRows{
      {"partcodeHitByPoint start", [&](BezierPath& p, int i) { return partcodeHitByPoint(p, end, 100, i) == 0; }},
      {"lengthOfElement", [](BezierPath& p, int i) { return lengthOfElement(p, i) == -1; }},
      {"lengthOfPathFromElement first", [](BezierPath& p, int i) { return lengthOfPathFromElement(p, i, i) == 0; }},
      {"subpathStartingElementForElement", [](BezierPath& p, int i) { return subpathStartingElementForElement(p, i) == -1; }},
      {"subpathEndingElementForElement", [](BezierPath& p, int i) { return subpathEndingElementForElement(p, i) == -1; }},
      {"subpathContainingElementIsClosed", [](BezierPath& p, int i) { return !subpathContainingElementIsClosed(p, i); }},
      {"tangentAtStartOfSubpath", [](BezierPath& p, int i) { return tangentAtStartOfSubpath(p, i) == 0; }},
      {"tangentAtEndOfSubpath", [](BezierPath& p, int i) { return tangentAtEndOfSubpath(p, i) == 0; }},
      {"boundingBoxForElement", [](BezierPath& p, int i) { return boundingBoxForElement(p, i) == Rect(); }},
  };
  const std::vector<Row> partcodeRows{
      {"elementTypeForPartcode", [](BezierPath& p, int c) { return elementTypeForPartcode(p, c) == PathElement::Move; }},
      {"isOnPathPartcode", [](BezierPath& p, int c) { return !isOnPathPartcode(p, c); }},
      {"controlPointForPartcode", [](BezierPath& p, int c) { return controlPointForPartcode(p, c) == Point(); }},
      {"setControlPoint", [](BezierPath& p, int c) { return setControlPoint(p, {5, 5}, c), true; }},
      {"moveControlPointPartcode",
       [](BezierPath& p, int c) { return moveControlPointPartcode(p, c, {5, 5}, true, true, true), true; }},
      {"deleteControlPointForPartcode",
       [](BezierPath& p, int c) { return deleteControlPointForPartcode(p, c) == p; }},
      {"boundingBoxesForPartcode", [](BezierPath& p, int c) { return boundingBoxesForPartcode(p, c).empty(); }},
  };
  for (const int index : {INT_MIN, -1, count, INT_MAX}) {
    for (const Row& row : elementRows) {
      BezierPath edited = path;
      EXPECT_TRUE(row.failsSafely(edited, index)) << row.name << " " << index;
      EXPECT_EQ(edited, path) << row.name << " " << index;
    }
  }
  // Partcodes of no point: the extremes, below 4, past the last element.
  for (const int partcode : {INT_MIN, -1, 0, 3, partcodeForElement(count), INT_MAX}) {
    for (const Row& row : partcodeRows) {
      BezierPath edited = path;
      EXPECT_TRUE(row.failsSafely(edited, partcode)) << row.name << " " << partcode;
      EXPECT_EQ(edited, path) << row.name << " " << partcode;
    }
  }
  // Ranges and counts are clamped to the path.
  EXPECT_EQ(lengthOfPathFromElement(path, INT_MIN, INT_MAX), lengthOfPathFromElement(path, 0, count - 1));
  EXPECT_EQ(lengthOfPathFromElement(path, INT_MAX, INT_MIN), 0);
  for (const int removed : {INT_MIN, -1}) EXPECT_EQ(bezierPathByRemovingTrailingElements(path, removed), path);
  for (const int removed : {count, INT_MAX}) EXPECT_TRUE(bezierPathByRemovingTrailingElements(path, removed).isEmpty());
  // The last start that still has an element after it does hit.
  EXPECT_EQ(partcodeHitByPoint(path, {30, 0}, 1, count - 2), partcodeForElement(count - 2));
}
