#include "geometry/polygon_clip_contours.h"

#include "geometry/polygon_clip_edges.h"

namespace polygonclip {

int ContourBuilder::open(double x, double y) {
  const int vertex = newVertex(x, y, -1);
  const int id = static_cast<int>(contours_.size());
  contours_.push_back({id, false, vertex, vertex});
  return id;
}

void ContourBuilder::addLeft(int contour, double x, double y) {
  if (contour == kNoOutput) return;
  Contour& c = contours_[owner(contour)];
  c.left = newVertex(x, y, c.left);
}

void ContourBuilder::addRight(int contour, double x, double y) {
  if (contour == kNoOutput) return;
  Contour& c = contours_[owner(contour)];
  const int vertex = newVertex(x, y, -1);
  vertices_[c.right].next = vertex;
  c.right = vertex;
}

void ContourBuilder::joinLeft(int p, int q) {
  if (p == kNoOutput || q == kNoOutput) return;
  const int from = owner(p);
  const int to = owner(q);
  contours_[to].hole = true;
  if (from == to) return;
  vertices_[contours_[from].right].next = contours_[to].left;
  contours_[to].left = contours_[from].left;
  contours_[from].proxy = to;
}

void ContourBuilder::joinRight(int p, int q) {
  if (p == kNoOutput || q == kNoOutput) return;
  const int from = owner(p);
  const int to = owner(q);
  contours_[to].hole = false;
  if (from == to) return;
  vertices_[contours_[to].right].next = contours_[from].left;
  contours_[to].right = contours_[from].right;
  contours_[from].proxy = to;
}

PolygonRecord ContourBuilder::result() {
  PolygonRecord polygon;
  for (int id = static_cast<int>(contours_.size()) - 1; id >= 0; --id) {
    const Contour& contour = contours_[id];
    if (contour.proxy != id) continue;
    std::size_t count = 0;
    for (int v = contour.left; v != -1; v = vertices_[v].next) ++count;
    if (count < 3) continue;
    PolygonContour vertices(count);
    for (int v = contour.left; v != -1; v = vertices_[v].next) vertices[--count] = {vertices_[v].x, vertices_[v].y};
    polygon.contours.push_back(std::move(vertices));
    polygon.holes.push_back(contour.hole);
  }
  return polygon;
}

// Following proxies with path halving keeps long merge histories cheap; a contour that gave
// its chain away never owns one again, so the owner found is the one the joins made.
int ContourBuilder::owner(int contour) {
  while (contours_[contour].proxy != contour) {
    int& proxy = contours_[contour].proxy;
    proxy = contours_[proxy].proxy;
    contour = proxy;
  }
  return contour;
}

int ContourBuilder::newVertex(double x, double y, int next) {
  vertices_.push_back({x, y, next});
  return static_cast<int>(vertices_.size()) - 1;
}

}  // namespace polygonclip
