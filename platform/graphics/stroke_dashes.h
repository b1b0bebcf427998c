#pragma once

// Cutting a run of points into the pieces a dash pattern leaves on.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/core/geometry.h"

namespace platform::stroke {

// A dash pattern checked and normalised for walking: an even number of on/off
// lengths with a positive, finite total.
class DashPattern {
 public:
  // Where a walk stands: the entry under way (even entries are on) and how much of it is left.
  struct Position {
    std::size_t index = 0;
    double remaining = 0;
    bool on() const { return index % 2 == 0; }
  };

  // Nothing when the dash paints a solid line: no entries, or a negative,
  // non-finite or all-zero pattern (Cairo would refuse those). An odd pattern
  // repeats with on and off swapped, as if written twice. A non-finite phase counts as 0.
  static std::optional<DashPattern> make(std::span<const double> lengths, double phase);

  double period() const { return period_; }
  std::size_t entryCount() const { return lengths_.size(); }
  // The position `phase` units into the pattern; landing exactly on the end of
  // an entry starts the next one.
  Position start() const { return start_; }
  void advance(Position& position) const;

 private:
  DashPattern(std::vector<double> lengths, double period, double phase);

  std::vector<double> lengths_;
  double period_;
  Position start_;
};

// Receives each on-piece: its distinct points (a single point for a zero-length
// dash), whether it closes on itself, and the direction of travel where it lies.
using DashPieceSink = std::function<void(std::span<const Point> points, bool closed, Point direction)>;

// Walks a run of distinct points (as kept by appendDistinctPoint) from the
// pattern's start. On a closed run the dash runs on across the closing segment,
// and a piece still on at the end continues into the piece that began at the
// start, so the two meet with a join rather than two caps; a run that is on all
// the way round stays closed.
void dashPolyline(std::span<const Point> points, bool closed, const DashPattern& dash, const DashPieceSink& sink);

}  // namespace platform::stroke
