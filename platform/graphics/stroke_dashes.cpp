#include "platform/graphics/stroke_dashes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/graphics/stroke_polyline.h"
#include "platform/graphics/stroke_vector_math.h"

namespace platform::stroke {

std::optional<DashPattern> DashPattern::make(std::span<const double> lengths, double phase) {
  if (lengths.empty()) return std::nullopt;
  std::vector<double> even(lengths.begin(), lengths.end());
  for (double length : even) {
    if (!std::isfinite(length) || length < 0) return std::nullopt;
  }
  if (even.size() % 2 != 0) even.insert(even.end(), lengths.begin(), lengths.end());
  double period = 0;
  for (double length : even) period += length;
  if (!(period > 0) || !std::isfinite(period)) return std::nullopt;
  return DashPattern(std::move(even), period, std::isfinite(phase) ? phase : 0);
}

DashPattern::DashPattern(std::vector<double> lengths, double period, double phase)
    : lengths_(std::move(lengths)), period_(period) {
  double offset = std::fmod(phase, period_);
  if (offset < 0) offset += period_;
  if (offset >= period_) offset = 0;  // a tiny negative phase can round up to a whole period
  // Bounded to one pass over the entries so rounding can never keep it going.
  std::size_t index = 0;
  for (std::size_t step = 0; step < lengths_.size() && offset > 0 && offset >= lengths_[index]; ++step) {
    offset -= lengths_[index];
    index = (index + 1) % lengths_.size();
  }
  start_ = {index, std::max(0.0, lengths_[index] - offset)};
}

void DashPattern::advance(Position& position) const {
  position.index = (position.index + 1) % lengths_.size();
  position.remaining = lengths_[position.index];
}

namespace {

// The point `distance` along a segment, snapped to an end when within rounding
// of it: a sliver of a segment would otherwise carry a meaningless direction.
Point pointAlong(Point from, Point to, double distance, double length) {
  const double slack = 1e-9 * length;
  if (distance <= slack) return from;
  if (length - distance <= slack) return to;
  const double t = distance / length;
  return {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
}

// Pieces of one run, holding back the one that began at the start of a closed
// run until it is known whether the dash is still on when the run comes round.
class DashWalk {
 public:
  DashWalk(bool closed, const DashPattern& dash, const DashPieceSink& sink)
      : dash_(dash), sink_(sink), position_(dash.start()), holdFirst_(closed && position_.on()) {}

  void walk(std::span<const Point> points, bool closed) {
    if (position_.on()) current_.push_back(points[0]);
    const std::size_t count = points.size();
    const std::size_t segmentCount = closed ? count : count - 1;
    for (std::size_t i = 0; i < segmentCount; ++i) walkSegment(points[i], points[(i + 1) % count]);
    finish(closed);
  }

 private:
  void walkSegment(Point from, Point to) {
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    direction_ = unitDirection(from, to).value_or(direction_);
    double travelled = 0;
    // Every dash that ends inside this segment; zero-length ones end where they start.
    while (position_.remaining <= length - travelled) {
      travelled += position_.remaining;
      const Point point = pointAlong(from, to, travelled, length);
      if (position_.on()) {
        appendDistinctPoint(current_, point);
        finishPiece();
      }
      dash_.advance(position_);
      if (position_.on()) current_.push_back(point);
    }
    position_.remaining -= length - travelled;
    if (position_.on()) appendDistinctPoint(current_, to);
  }

  void finishPiece() {
    if (holdFirst_) {
      first_ = std::move(current_);
      firstDirection_ = direction_;
      holdFirst_ = false;
    } else {
      sink_(current_, false, direction_);
    }
    current_.clear();
  }

  void finish(bool closed) {
    if (closed && holdFirst_) {
      // On all the way round: the run stays closed.
      dropPointsRepeatingStart(current_);
      sink_(current_, current_.size() > 1, direction_);
      return;
    }
    if (closed && !first_.empty() && !current_.empty()) {
      for (Point point : first_) appendDistinctPoint(current_, point);
      sink_(current_, false, direction_);
      return;
    }
    // A dash starting right at an open end still gets its caps, as a dot (Cairo does the same).
    if (!current_.empty()) sink_(current_, false, direction_);
    if (!first_.empty()) sink_(first_, false, firstDirection_);
  }

  const DashPattern& dash_;
  const DashPieceSink& sink_;
  DashPattern::Position position_;
  bool holdFirst_;
  std::vector<Point> current_;
  std::vector<Point> first_;
  Point direction_{1, 0};
  Point firstDirection_{1, 0};
};

}  // namespace

void dashPolyline(std::span<const Point> points, bool closed, const DashPattern& dash, const DashPieceSink& sink) {
  if (points.empty()) return;
  if (points.size() == 1) {
    // A zero-length run: a dot when the dash starts on.
    if (dash.start().on()) sink(points, false, Point{1, 0});
    return;
  }
  DashWalk(closed, dash, sink).walk(points, closed);
}

}  // namespace platform::stroke
