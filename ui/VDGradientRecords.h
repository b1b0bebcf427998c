#pragma once

// The gradient editor's rules for gradient records {"type", "angle", "radius_factor", "fx", "fy", "markers"} and
// their stops {"pos", "red", "green", "blue", "mix"}: stops sorted by position, each stop's right neighbour and
// midpoint handle, where a new stop goes, equality of two records, copies, and the stored list with its built-ins.
// Numbers that are missing or not finite read 0; entries that are not dictionaries are skipped.

#include <cstddef>
#include <vector>

#include "platform/core/value.h"

namespace VDGradientRecords {

inline constexpr std::size_t kNoNeighbour = static_cast<std::size_t>(-1);

// The key's value as a finite float, 0 otherwise.
float number(const platform::DictRef& record, const char* key);
// The stops in stored order.
std::vector<platform::DictRef> stopsOf(const platform::DictRef& gradient);
// The stops by ascending "pos", equal positions in stored order.
std::vector<platform::DictRef> sortedStops(const platform::DictRef& gradient);
// For each sorted stop, the index of its right neighbour among them: the nearest other stop at the same or a
// greater position (the earliest of equally near ones), less than 10 away; kNoNeighbour for none.
std::vector<std::size_t> rightNeighbours(const std::vector<platform::DictRef>& sorted);
// Where the midpoint handle between a stop and its neighbour stands: m.pos + (n.pos − m.pos) × m.mix.
float handlePosition(const platform::DictRef& stop, const platform::DictRef& neighbour);
// A new stop's position: the midpoint of the last pair of sorted stops at different positions, else 0.
float newStopPosition(const platform::DictRef& gradient);
// Appends a white stop at newStopPosition ("markers" made when missing) and returns it.
platform::DictRef addStop(const platform::DictRef& gradient);
// Removes the stop and every stop equal to it from "markers".
void deleteStop(const platform::DictRef& gradient, const platform::DictRef& stop);
// "type", "angle", "radius_factor", "fx", "fy" and the stops in stored order, as floats.
bool isEqualGradient(const platform::DictRef& a, const platform::DictRef& b);
// Writes the source's type, angle and focal keys into the record (removing those the source lacks) and a new
// "markers" array of new stops with float values.
void copyGradient(const platform::DictRef& record, const platform::DictRef& source);
// A new record copied from the source as copyGradient does; only an empty "markers" for none.
platform::DictRef newGradientFrom(const platform::DictRef& source);
// The eighteen built-in gradients.
platform::ArrayRef builtInGradients();
// The stored list read from the defaults' value: its dictionaries, each made mutable; null when the value is not an
// array (the caller makes the built-ins then).
platform::ArrayRef storedGradients(const platform::Value& stored);

}  // namespace VDGradientRecords
