#pragma once

// The 12-point Gauss-Legendre rule on [-1, 1]: nodes in pairs of opposite sign,
// negative first, by increasing magnitude, with the weights in the same order.

#include <array>

constexpr int PBGaussLegendreOrder = 12;

extern const std::array<double, PBGaussLegendreOrder> PBGaussLegendreAbscissae;
extern const std::array<double, PBGaussLegendreOrder> PBGaussLegendreWeights;
