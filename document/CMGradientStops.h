#pragma once

// The colour stops of a gradient record's "markers": {"pos", "red", "green", "blue",
// "mix"}, components 0 to 1, and an optional "alpha" of their own (SVG's stop opacity).

#include <vector>

#include "platform/core/value.h"
#include "platform/graphics/gradient.h"

enum class CMMidpointRule {
  // After a stop that has "mix" and is not the last (documents).
  StopsWithMix,
  // After every stop but the last, a missing "mix" counting as 0 (swatches).
  EveryStop,
};

// The stops sorted by "pos", equal positions kept in the order given; each followed, as the
// rule says, by a midpoint at pos + (next pos − pos) × mix in the average of the two colours.
// Every entry gets `alpha`, times the stop's own "alpha" where it has one. Entries that are not dictionaries are
// skipped.
std::vector<platform::GradientStop> gradientStopsFromRecord(const platform::DictRef& record, float alpha,
                                                            CMMidpointRule rule);
