#include "geometry/polygon_clipper.h"

#include "geometry/polygon_clip_contour_output.h"
#include "geometry/polygon_clip_sweep.h"

void clipPolygons(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                  PolygonRecord& result) {
  polygonclip::ContourOutput output;
  polygonclip::clipWithSweep(operation, subject, clip, output);
  result = output.result();
}
