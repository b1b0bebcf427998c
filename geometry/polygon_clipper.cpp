#include "geometry/polygon_clipper.h"

#include "geometry/polygon_clip_boundaries.h"
#include "geometry/polygon_clip_contours.h"
#include "geometry/polygon_clip_crossings.h"
#include "geometry/polygon_clip_sweep.h"

namespace {

using namespace polygonclip;

class ContourOutput final : public SweepOutput {
 public:
  void beginBoundary() override { boundaryActions_.beginBoundary(); }
  void boundary(Edge& edge, int vertexClass, double yb) override { boundaryActions_.apply(edge, vertexClass, yb); }
  void crossing(Edge& e0, Edge& e1, int vertexClass, double x, double y) override {
    applyContourCrossingAction(contours_, e0, e1, vertexClass, x, y);
  }
  PolygonRecord result() { return contours_.result(); }

 private:
  ContourBuilder contours_;
  ContourBoundaryActions boundaryActions_{contours_};
};

}  // namespace

void clipPolygons(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                  PolygonRecord& result) {
  ContourOutput output;
  clipWithSweep(operation, subject, clip, output);
  result = output.result();
}
