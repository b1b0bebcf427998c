#pragma once

// Editing a path point by point through partcodes: moving a point while keeping the
// tangent smooth across its vertex and snapping its direction, deleting a vertex and
// inserting one where the mouse hits an element.

#include <optional>

#include "platform/graphics/bezier_path.h"

// The step, in radians, to which constrained moves snap directions; π/12 until set. A step
// of 0, or one that is not finite, leaves directions as they are.
void setConstraintAngle(float radians);

// The point at distance `radius` from c on the far side from p.
platform::Point colinearPointForPoint(platform::Point p, platform::Point centre, float radius);
// p mirrored through c.
platform::Point colinearPointForPoint(platform::Point p, platform::Point centre);
// Control points A and B (each optional) on one line through the vertex points[1], A on
// the side of points[0] and B on the side of points[2], at their distances from the vertex;
// the line follows the mean of the two directions taken as unit vectors.
void colineariseVertex(const platform::Point points[3], platform::Point* a, platform::Point* b);

// Moves the partcode's point to `target`. A moved vertex takes the neighbouring control
// points along; `colinear` keeps the opposite control point in line across the vertex (at
// the same distance as the moved one when `coradial`); `constrainAngle` snaps the direction
// from the anchor to the constraint angle. Moving the move of a subpath that ends where it
// starts, without a close, moves that last point too. Partcodes outside the path, close
// elements, non-finite targets and moves whose displacement or distances exceed single
// precision change nothing.
void moveControlPointPartcode(platform::BezierPath& path, int partcode, platform::Point target, bool colinear,
                              bool coradial, bool constrainAngle);

// The path without the vertex (a curve's control point cannot be deleted: the path comes
// back unchanged, as it does for partcodes outside the path). A curve after the vertex
// takes the deleted element's point 0 as its first control point. New paths carry the
// class-default attributes.
platform::BezierPath deleteControlPointForPartcode(const platform::BezierPath& path, int partcode);
// Splits the element hit at p: a curve by de Casteljau (its first part a line for types 1
// and 3), a line or close into two lines (types 0 and 1) or two straight curves (types 2
// and 3). nullopt when no element is hit.
std::optional<platform::BezierPath> insertControlPointAtPoint(const platform::BezierPath& path, platform::Point p,
                                                              float tolerance, int type);
