// Any property list as a gradient record and as the stored list of gradients: stops sorted, neighbours found as a
// plain scan finds them, handles placed, stops added and deleted, records compared and copied, equal entries removed
// and every record drawn into 64 × 64 pixels, with no number that is not finite written into a record.

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "document/VDGradientDraw.h"
#include "platform/core/property_list.h"
#include "platform/graphics/graphics_context.h"
#include "ui/VDGradientRecords.h"

namespace {

namespace records = VDGradientRecords;
using platform::DictRef;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_gradient_record: %s\n", what);
  std::abort();
}

void checkFinite(const DictRef& stop) {
  for (const char* key : {"pos", "red", "green", "blue", "mix"}) {
    const platform::Value value = stop->get(key);
    if (value.isReal() && !std::isfinite(value.doubleValue())) fail("a stop written with a number that is not finite");
  }
}

void exercise(const DictRef& gradient) {
  const std::vector<DictRef> sorted = records::sortedStops(gradient);
  for (std::size_t i = 1; i < sorted.size(); ++i)
    if (records::number(sorted[i - 1], "pos") > records::number(sorted[i], "pos")) fail("stops out of order");
  const std::vector<std::size_t> neighbours = records::rightNeighbours(sorted);
  if (sorted.size() <= 64) {
    for (std::size_t i = 0; i < sorted.size(); ++i) {
      float best = 10.0F;
      std::size_t found = records::kNoNeighbour;
      const float pos = records::number(sorted[i], "pos");
      for (std::size_t j = 0; j < sorted.size(); ++j) {
        const float other = records::number(sorted[j], "pos");
        if (j != i && other >= pos && other - pos < best) {
          best = other - pos;
          found = j;
        }
      }
      if (found != neighbours[i]) fail("a neighbour other than the scan's");
    }
  }
  for (std::size_t i = 0; i < sorted.size(); ++i)
    if (neighbours[i] != records::kNoNeighbour &&
        !std::isfinite(records::handlePosition(sorted[i], sorted[neighbours[i]])))
      fail("a handle at a position that is not finite");

  const DictRef copy = records::newGradientFrom(gradient);
  if (!records::isEqualGradient(copy, gradient)) fail("a copy unequal to its record");
  const DictRef added = records::addStop(copy);
  checkFinite(added);
  bool hadEqual = false;
  for (const DictRef& stop : records::stopsOf(gradient)) hadEqual = hadEqual || stop->isEqual(*added);
  records::deleteStop(copy, added);
  // Deleting takes every equal stop: only a record without one is as it was.
  if (!hadEqual && !records::isEqualGradient(copy, gradient)) fail("adding and deleting a stop changed the record");
  for (const DictRef& stop : records::stopsOf(copy)) checkFinite(stop);

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
  {
    platform::GraphicsContext context(surface, 64);
    VDGradientDraw::drawGradient(context, {0, 0, 64, 64}, gradient, false);
    VDGradientDraw::drawGradient(context, {4, 4, 56, 56}, gradient, true);
  }
  cairo_surface_destroy(surface);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const platform::Expected<platform::Value> read = platform::propertyListFromData(platform::Bytes(data, data + size));
  if (!read) return 0;
  if (const DictRef gradient = read.value().dictionary()) exercise(gradient);
  if (const platform::ArrayRef list = records::storedGradients(read.value())) {
    for (const platform::Value& entry : *list) exercise(entry.dictionary());
    if (!list->empty()) {
      const platform::Value removed = list->at(0);
      list->remove(removed);
      if (list->contains(removed)) fail("an entry equal to the removed one is left");
    }
  }
  return 0;
}
