#include "boolean/path_boolean_operations.h"

#include "boolean/bezier_graph.h"
#include "boolean/path_elements.h"

using platform::BezierPath;

namespace {

using GraphOperation = std::shared_ptr<PBBezierGraph> (PBBezierGraph::*)(PBBezierGraph&);

BezierPath combine(const BezierPath& path, const BezierPath& other, GraphOperation operation) {
  PBBezierGraph graph(path);
  PBBezierGraph otherGraph(other);
  BezierPath result = (graph.*operation)(otherGraph)->bezierPath();
  pb_copyAttributesFrom(result, path);
  return result;
}

}  // namespace

BezierPath pb_union(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, &PBBezierGraph::unionWithBezierGraph);
}

BezierPath pb_intersect(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, &PBBezierGraph::intersectWithBezierGraph);
}

BezierPath pb_difference(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, &PBBezierGraph::differenceWithBezierGraph);
}

BezierPath pb_xor(const BezierPath& path, const BezierPath& other) {
  return combine(path, other, &PBBezierGraph::xorWithBezierGraph);
}
