#include "platform/graphics/color_quantizer.h"

#include <algorithm>
#include <array>

namespace platform {

namespace {

struct ColourCount {
  std::uint32_t key;  // 0xRRGGBB
  std::uint64_t count;
  int paletteIndex = 0;
};

int channel(std::uint32_t key, int which) { return static_cast<int>((key >> (16 - 8 * which)) & 0xff); }

// A run [begin, end) of the colour list, split along its widest channel.
struct Box {
  std::size_t begin;
  std::size_t end;
  int widestChannel = 0;
  int range = 0;
};

Box measured(const std::vector<ColourCount>& colours, std::size_t begin, std::size_t end) {
  Box box{begin, end};
  for (int c = 0; c < 3; ++c) {
    int low = 255, high = 0;
    for (std::size_t i = begin; i < end; ++i) {
      low = std::min(low, channel(colours[i].key, c));
      high = std::max(high, channel(colours[i].key, c));
    }
    if (high - low > box.range) {
      box.range = high - low;
      box.widestChannel = c;
    }
  }
  return box;
}

// Splits boxes until there are `wanted` of them or none can be split; each colour's paletteIndex names its box.
std::vector<Box> medianCut(std::vector<ColourCount>& colours, int wanted) {
  std::vector<Box> boxes{measured(colours, 0, colours.size())};
  while (static_cast<int>(boxes.size()) < wanted) {
    auto widest =
        std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.range < b.range; });
    if (widest->range == 0) break;  // every box holds a single colour
    const Box box = *widest;
    const int c = box.widestChannel;
    std::sort(colours.begin() + box.begin, colours.begin() + box.end,
              [c](const ColourCount& a, const ColourCount& b) { return channel(a.key, c) < channel(b.key, c); });
    std::uint64_t total = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
    // The weighted median, kept off both ends so each half has a colour.
    std::uint64_t running = 0;
    std::size_t split = box.begin + 1;
    for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
      running += colours[i].count;
      split = i + 1;
      if (2 * running >= total) break;
    }
    *widest = measured(colours, box.begin, split);
    boxes.push_back(measured(colours, split, box.end));
  }
  for (std::size_t b = 0; b < boxes.size(); ++b) {
    for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i) colours[i].paletteIndex = static_cast<int>(b);
  }
  return boxes;
}

StraightRgba weightedMean(const std::vector<ColourCount>& colours, const Box& box) {
  std::array<std::uint64_t, 3> sums{};
  std::uint64_t total = 0;
  for (std::size_t i = box.begin; i < box.end; ++i) {
    for (int c = 0; c < 3; ++c) sums[c] += static_cast<std::uint64_t>(channel(colours[i].key, c)) * colours[i].count;
    total += colours[i].count;
  }
  auto mean = [&](int c) { return static_cast<std::uint8_t>((sums[c] + total / 2) / total); };
  return {mean(0), mean(1), mean(2), 255};
}

}  // namespace

PalettedImage quantize(const std::vector<StraightRgba>& pixels, int maxColours) {
  maxColours = std::clamp(maxColours, 2, 256);
  auto isTransparent = [](const StraightRgba& p) { return p.a < 128; };
  auto keyOf = [](const StraightRgba& p) { return std::uint32_t(p.r) << 16 | std::uint32_t(p.g) << 8 | p.b; };

  std::vector<std::uint32_t> keys;
  keys.reserve(pixels.size());
  bool anyTransparent = false;
  for (const StraightRgba& p : pixels) {
    if (isTransparent(p)) {
      anyTransparent = true;
    } else {
      keys.push_back(keyOf(p));
    }
  }
  std::sort(keys.begin(), keys.end());
  std::vector<ColourCount> colours;
  for (std::uint32_t key : keys) {
    if (colours.empty() || colours.back().key != key) colours.push_back({key, 0});
    ++colours.back().count;
  }

  PalettedImage result;
  const int opaqueEntries = maxColours - (anyTransparent ? 1 : 0);
  if (!colours.empty()) {
    const std::vector<Box> boxes = medianCut(colours, opaqueEntries);
    for (const Box& box : boxes) result.palette.push_back(weightedMean(colours, box));
    std::sort(colours.begin(), colours.end(), [](const ColourCount& a, const ColourCount& b) { return a.key < b.key; });
  }
  if (anyTransparent) {
    result.transparentIndex = static_cast<int>(result.palette.size());
    result.palette.push_back({0, 0, 0, 0});
  }
  result.indices.reserve(pixels.size());
  for (const StraightRgba& p : pixels) {
    if (isTransparent(p)) {
      result.indices.push_back(static_cast<std::uint8_t>(result.transparentIndex));
      continue;
    }
    const auto found = std::lower_bound(colours.begin(), colours.end(), keyOf(p),
                                        [](const ColourCount& c, std::uint32_t key) { return c.key < key; });
    result.indices.push_back(static_cast<std::uint8_t>(found->paletteIndex));
  }
  return result;
}

}  // namespace platform
