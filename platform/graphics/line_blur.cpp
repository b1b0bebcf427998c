#include "platform/graphics/line_blur.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/core/numeric.h"

namespace platform {

namespace {

std::uint32_t roundAndClamp(double value, std::uint32_t maxOut) {
  if (value >= static_cast<double>(maxOut)) return maxOut;
  return saturatingTruncate<std::uint32_t>(value + 0.5);
}

// Box passes through the triple running sum T of the input: a sum of terms coefficient · T(x + shift). Integer sums
// keep the result exact however wide the boxes: differences of huge sums lose nothing.
template <class Sum>
void boxPass(std::span<const std::uint32_t> in, std::span<std::uint32_t> out, double scale, std::uint32_t maxOut,
             const std::vector<LineBlur::Term>& terms, std::vector<Sum>& table) {
  const std::ptrdiff_t n = std::ssize(in);
  table.resize(n);
  Sum single = 0, twice = 0, thrice = 0;
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    single += in[i];
    twice += single;
    thrice += twice;
    table[i] = thrice;
  }
  // Past the end the input is zero: the single sum stays, the others grow as polynomials in the distance.
  auto tripleSumAt = [&](std::ptrdiff_t y) -> Sum {
    if (y < 0) return 0;
    if (y < n) return table[y];
    const Sum d = y - (n - 1);
    return thrice + d * twice + single * (d * (d + 1) / 2);
  };
  // Where every shifted index lands inside the line the table is read directly.
  const std::ptrdiff_t interiorBegin = std::clamp<std::ptrdiff_t>(-terms.front().shift, 0, n);
  const std::ptrdiff_t interiorEnd = std::clamp<std::ptrdiff_t>(n - terms.back().shift, interiorBegin, n);
  auto general = [&](std::ptrdiff_t x) {
    Sum sum = 0;
    for (const LineBlur::Term& term : terms) sum += term.coefficient * tripleSumAt(x + term.shift);
    out[x] = roundAndClamp(static_cast<double>(sum) * scale, maxOut);
  };
  for (std::ptrdiff_t x = 0; x < interiorBegin; ++x) general(x);
  for (std::ptrdiff_t x = interiorBegin; x < interiorEnd; ++x) {
    Sum sum = 0;
    for (const LineBlur::Term& term : terms) sum += term.coefficient * table[x + term.shift];
    out[x] = roundAndClamp(static_cast<double>(sum) * scale, maxOut);
  }
  for (std::ptrdiff_t x = interiorEnd; x < n; ++x) general(x);
}

}  // namespace

LineBlur::LineBlur(double sigma) {
  if (sigma >= boxSigmaThreshold) {
    chooseBoxes(sigma);
    return;
  }
  // Four sigma keeps the truncated tail below 1/255 of anything visible.
  const int radius = std::max(1, saturatingTruncate<int>(std::ceil(4 * sigma)));
  reach_ = radius;
  sampledKernel_.resize(2 * radius + 1);
  double total = 0;
  for (int d = -radius; d <= radius; ++d) {
    // The centre is 1 even when sigma² underflows, where d² / (2σ²) would be 0 / 0.
    const double weight = d == 0 ? 1.0 : std::exp(-static_cast<double>(d) * d / (2 * sigma * sigma));
    sampledKernel_[d + radius] = weight;
    total += weight;
  }
  for (double& weight : sampledKernel_) weight /= total;
}

void LineBlur::chooseBoxes(double sigma) {
  // A box of width w has variance (w² − 1) / 12 and the variances of the three passes add up. Equal odd widths
  // rarely hit sigma² closely, so nearby widths are searched; an even width is off centre by half a pixel, which
  // a second even box shifted the other way cancels, hence zero or two of them.
  const double target = 12 * sigma * sigma;
  const int ideal = saturatingTruncate<int>(std::sqrt(4 * sigma * sigma + 1) + 0.5);
  const int low = std::max(1, ideal - 6);
  const int high = ideal + 6;
  // Any error under 2 % is as good as none; then prefer similar widths, closer to a Gaussian's shape.
  std::tuple<double, int, double> bestKey{INFINITY, 0, 0};
  int best[3] = {ideal, ideal, ideal};
  for (int w1 = low; w1 <= high; ++w1) {
    for (int w2 = w1; w2 <= high; ++w2) {
      for (int w3 = w2; w3 <= high; ++w3) {
        const int evens = (w1 % 2 == 0) + (w2 % 2 == 0) + (w3 % 2 == 0);
        if (evens != 0 && evens != 2) continue;
        const double variance = (double(w1) * w1 - 1) + (double(w2) * w2 - 1) + (double(w3) * w3 - 1);
        const double error = std::abs(variance - target) / target;
        const std::tuple<double, int, double> key{std::max(error, 0.02), w3 - w1, error};
        if (key < bestKey) {
          bestKey = key;
          best[0] = w1;
          best[1] = w2;
          best[2] = w3;
        }
      }
    }
  }
  boxWidths_.assign(best, best + 3);

  std::map<int, int> coefficients{{0, 1}};
  bool evenSeen = false;
  double product = 1;
  for (int width : boxWidths_) {
    int before = width / 2;
    int after = width / 2;
    if (width % 2 == 0) {
      (evenSeen ? before : after) -= 1;
      evenSeen = true;
    }
    std::map<int, int> next;
    for (const auto& [shift, coefficient] : coefficients) {
      next[shift + after] += coefficient;
      next[shift - before - 1] -= coefficient;
    }
    coefficients = std::move(next);
    product *= width;
    // Each box carries a sample at most half its width either way.
    reach_ += width / 2;
  }
  // std::map iterates in key order, so terms_ is sorted by shift.
  for (const auto& [shift, coefficient] : coefficients) {
    if (coefficient != 0) terms_.push_back({shift, coefficient});
  }
  boxNormaliser_ = 1 / product;
}

void LineBlur::apply(std::span<const std::uint32_t> in, std::span<std::uint32_t> out, double gain,
                     std::uint32_t maxOut) {
  if (boxWidths_.empty()) {
    applySampled(in, out, gain, maxOut);
  } else {
    applyBoxes(in, out, gain, maxOut);
  }
}

void LineBlur::applySampled(std::span<const std::uint32_t> in, std::span<std::uint32_t> out, double gain,
                            std::uint32_t maxOut) {
  // The kernel is symmetric, so out[x] = Σ_j kernel[j] · padded[x + j] with the input padded by the radius on both
  // sides; looping over x innermost lets the compiler vectorise.
  const std::size_t n = in.size();
  const std::size_t taps = sampledKernel_.size();
  const std::size_t radius = taps / 2;
  padded_.assign(n + 2 * radius, 0.0);
  std::copy(in.begin(), in.end(), padded_.begin() + static_cast<std::ptrdiff_t>(radius));
  sums_.assign(n, 0.0);
  for (std::size_t j = 0; j < taps; ++j) {
    const double weight = sampledKernel_[j];
    const double* source = padded_.data() + j;
    double* sums = sums_.data();
    for (std::size_t x = 0; x < n; ++x) sums[x] += weight * source[x];
  }
  for (std::size_t x = 0; x < n; ++x) out[x] = roundAndClamp(sums_[x] * gain, maxOut);
}

void LineBlur::applyBoxes(std::span<const std::uint32_t> in, std::span<std::uint32_t> out, double gain,
                          std::uint32_t maxOut) {
  const std::ptrdiff_t n = std::ssize(in);
  if (n == 0) return;
  // Every sum read is at most 8 · max · (n + reach)³ in size; 64 bits hold that for all but huge lines or boxes.
  const std::uint32_t largest = *std::max_element(in.begin(), in.end());
  const double reach = static_cast<double>(n) + std::max(std::abs(terms_.front().shift), terms_.back().shift) + 2;
  const double scale = boxNormaliser_ * gain;
  if (8.0 * largest * reach * reach * reach < 4e18) {
    boxPass(in, out, scale, maxOut, terms_, tripleSum64_);
  } else {
    boxPass(in, out, scale, maxOut, terms_, tripleSum128_);
  }
}

}  // namespace platform
