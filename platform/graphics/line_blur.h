#pragma once

// One-dimensional Gaussian blur of a line of samples: the building block of the separable image blur.

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

class LineBlur {
 public:
  // Below this sigma a sampled kernel is used; from it on, three box filters whose variances add up to sigma².
  static constexpr double boxSigmaThreshold = 6.0;

  // `sigma` must be positive and finite, and small enough that the box widths fit an int.
  explicit LineBlur(double sigma);

  // out[i] = round(gain · Σ kernel(d) · in[i − d]), clamped to [0, maxOut]; samples outside `in` are zero.
  // `out` has the size of `in`.
  void apply(std::span<const std::uint32_t> in, std::span<std::uint32_t> out, double gain, std::uint32_t maxOut);

  // The box widths in use (empty for the sampled kernel), for checking the approximation.
  const std::vector<int>& boxWidths() const { return boxWidths_; }
  // How many samples away an input still reaches an output: beyond it the kernel is exactly zero.
  int reach() const { return reach_; }

  // A box of width w summing in[i − before .. i + after] is S(i + after) − S(i − before − 1) with S the running sum, so
  // three boxes are a signed sum of the triple running sum T at a few shifts.
  struct Term {
    int shift;
    int coefficient;
  };

 private:
  void chooseBoxes(double sigma);
  void applySampled(std::span<const std::uint32_t> in, std::span<std::uint32_t> out, double gain, std::uint32_t maxOut);
  void applyBoxes(std::span<const std::uint32_t> in, std::span<std::uint32_t> out, double gain, std::uint32_t maxOut);

  std::vector<double> sampledKernel_;  // weights for offsets −radius .. radius
  std::vector<int> boxWidths_;
  std::vector<Term> terms_;   // sorted by shift
  double boxNormaliser_ = 1;  // 1 / (w1 · w2 · w3)
  int reach_ = 0;
  // Scratch: the padded input and the sums of the sampled kernel; T over the line, in 64 bits when they are enough.
  std::vector<double> padded_;
  std::vector<double> sums_;
  std::vector<std::int64_t> tripleSum64_;
  std::vector<__int128> tripleSum128_;
};

}  // namespace platform
