#pragma once

// The four boolean operations by overlaying two graphs' outlines: every edge is cut wherever it meets any other,
// pieces that run on top of each other become one link, the links divide the plane into faces, and each face
// learns whether it lies inside either operand by stepping across links from the outside. An operation's result
// is then the links with its inside on one side only, joined into contours.
//
// Everything is decided in a working frame of fixed size, the operands scaled there by a power of two so that the
// tolerance means the same share of the drawing whatever its size or place: points within the tolerance are one
// vertex, a vertex within it of an edge lies on that edge, and so two outlines that nearly coincide are taken to
// coincide everywhere, not in some tests and not in others. A piece thinner than the tolerance thus has no inside.
// Result points that were points of the operands keep their exact coordinates.

#include <cstdint>
#include <memory>
#include <vector>

#include "boolean/bezier_curve_data.h"
#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

class PBBezierContour;
class PBBezierCurve;
class PBBezierGraph;

class PBOverlay {
 public:
  enum class Operation { Union, Intersect, Difference, Xor };

  // Each operand's contours, each a closed ring of edges.
  using Outline = std::vector<std::vector<PBBezierCurveData>>;

  PBOverlay(const PBBezierGraph& ours, const PBBezierGraph& theirs);
  // The paths read as a graph reads them, without building one.
  PBOverlay(const platform::BezierPath& ours, const platform::BezierPath& theirs);
  PBOverlay(const PBOverlay&) = delete;
  PBOverlay& operator=(const PBOverlay&) = delete;

  // The contours of the result, in the operands' own coordinates, each with the result on its left, except that a
  // whole operand contour comes back as it was.
  Outline result(Operation operation) const;
  std::vector<std::shared_ptr<PBBezierContour>> contours(Operation operation) const;
  // Even-odd, as a graph of the result's contours would write it.
  platform::BezierPath path(Operation operation) const;

  // The working frame's tolerance: the largest side of both operands maps to between 512 and 1024.
  static constexpr double kTolerance = 0x1p-20;
  // The tolerance in the operands' own units, for operands within `box`.
  static double toleranceWithin(const platform::Rect& box);

 private:
  // One edge of an operand.
  struct Edge {
    PBBezierCurveData curve;     // working frame
    PBBezierCurveData original;  // the operand's coordinates
    int operand;                 // 0 the receiver, 1 the argument
    int contour;                 // its contour's position among the operand's
    int index;                   // its position in the contour
    int edgeCount;               // the number of edges of its contour
    int start = -1, end = -1;    // the vertices of its ends
  };
  // A vertex on an edge between its ends.
  struct Split {
    int edge;
    double parameter;
    int vertex;
  };
  // Where a crossing lies on an edge, known from finding it there.
  struct Placement {
    int edge;
    double parameter;
    std::size_t candidate;  // the crossing's place among the points that became vertices
  };
  struct Vertex {
    platform::Point point;   // working frame
    platform::Point output;  // the operands' coordinates
    bool isCrossing;         // where edges cross, and no edge ends
  };
  // The piece of an edge between two of its vertices.
  struct Fragment {
    int edge;
    double from, to;
    int start, end;  // vertices
  };
  // One of the fragments a link stands for.
  struct Member {
    int fragment;
    bool reversed;  // runs from the link's end to its start
    int next;       // the link's next member, or -1
  };
  // Fragments that coincide, as one: the first of them gives its curve, and the outline of an operand is crossed
  // there when an odd number of them are that operand's.
  struct Link {
    int firstMember, lastMember;
    int start, end;
    bool crosses[2];
    PBBezierCurveData curve;  // working frame, its ends on the vertices
  };
  // A link in one of its two directions: 2 × link, plus 1 for end to start.
  using HalfEdge = int;

  // The scale of the working frame for operands within the box (a power of two, exact).
  static double workingScale(double minX, double minY, double maxX, double maxY);

  // Reading and cutting (overlay_arrangement.cpp).
  void overlay(const Outline& ours, const Outline& theirs);
  void readOutline(const Outline& outline, int operand);
  void findVertices();
  // Adds the points where edges cross to the candidates, and where they lie on the edges to the placements.
  void findCrossings(std::vector<platform::Point>& candidates);
  void clusterVertices(const std::vector<platform::Point>& candidates);
  void attractVertices();
  void cutFragments();
  std::vector<platform::Point> crossingsBetweenFragments() const;

  // Links and faces (overlay_faces.cpp).
  void mergeCoincidentFragments();
  void orderAroundVertices();
  void traceFaces();
  void labelFaces();

  HalfEdge twin(HalfEdge half) const { return half ^ 1; }
  int origin(HalfEdge half) const { return half & 1 ? links_[half / 2].end : links_[half / 2].start; }
  int destination(HalfEdge half) const { return origin(twin(half)); }
  // The half-edge leaving the same vertex next clockwise.
  HalfEdge clockwiseFrom(HalfEdge leaving) const;
  // Around the destination, clockwise from the way back: the next half-edge along the face on the left.
  HalfEdge nextAlongFace(HalfEdge half) const { return clockwiseFrom(twin(half)); }
  PBBezierCurveData halfEdgeCurve(HalfEdge half) const;

  // Every pair of edges is met, not only those whose bounds come near (to check the search by bounds against).
  bool everyPair_ = false;
  // Working frame.
  platform::Point centre_;
  double scale_ = 1;

  std::vector<Edge> edges_;
  std::vector<Vertex> vertices_;
  std::vector<int> vertexOf_;                // per candidate point, the vertex it became
  std::vector<std::size_t> endCandidate_;    // per edge, the candidate of its end (its start's is its own index)
  std::vector<platform::Point> endOutput_;   // per candidate that is an edge's end, in the operands' coordinates
  std::size_t crossingsEnd_ = 0;             // the candidates after the edges' ends and before this are crossings
  std::vector<Placement> placements_;  // edge after edge
  // The furthest any point was moved onto the vertex it became one with.
  double displacement_ = 0;
  std::vector<Split> splits_;  // edge after edge, each edge's by parameter
  std::vector<Fragment> fragments_;
  std::vector<Member> members_;
  std::vector<Link> links_;
  std::vector<HalfEdge> around_;     // the half-edges leaving each vertex counter-clockwise, vertex after vertex
  std::vector<int> aroundStart_;     // per vertex, where its half-edges begin in around_, and the end after the last
  std::vector<int> positionAround_;  // per half-edge, its place in around_
  std::vector<int> faceOf_;          // per half-edge, the face on its left
  std::vector<std::uint8_t> faceInside_;  // per face, bit 0: inside ours, bit 1: inside theirs
};
