#pragma once

// Shape libraries for tests: layer records of known colour and frame, stores
// written straight to the support folder, and a thumbnail's pixels.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "document/CMProject.h"
#include "document/CMShapeLibarary.h"
#include "document/CMShapeLibraries.h"
#include "platform/core/files.h"
#include "platform/core/geometry_strings.h"

namespace document_testing {

// A filled rectangle (shape type 0) without stroke, or with `points` a closed path (shape type 7).
inline platform::DictRef libraryShape(platform::Rect frame, std::vector<platform::Point> points = {}) {
  using platform::Dictionary;
  platform::ArrayRef pointRecords = platform::Array::make();
  const bool isPath = !points.empty();
  if (!isPath) {
    const double w = frame.size.width;
    const double h = frame.size.height;
    points = {{0, 0}, {0, h}, {w, h}, {w, 0}};
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    const int type = i == 0 ? 1 : (i + 1 == points.size() ? 10 : 2);
    pointRecords->add(Dictionary::make({{"id", static_cast<int>(i + 1)},
                                        {"point", platform::stringFromPoint(points[i])},
                                        {"type", type}}));
  }
  const platform::DictRef colour = Dictionary::make({{"r", 200}, {"g", 30}, {"b", 40}, {"a", 255}});
  const platform::DictRef shape =
      Dictionary::make({{"points", pointRecords},
                        {"fill", Dictionary::make({{"use", true}, {"type", 1}, {"alpha", 1.0}, {"color", colour}})},
                        {"stroke", Dictionary::make({{"use", false}})}});
  return Dictionary::make({{"type", 0},
                           {"visible", true},
                           {"alpha", 1.0},
                           {"shape_type", isPath ? 7 : 0},
                           {"x", frame.origin.x},
                           {"y", frame.origin.y},
                           {"width", frame.size.width},
                           {"height", frame.size.height},
                           {"shape", shape}});
}

inline platform::DictRef itemRecord(const platform::DictRef& shape) {
  return platform::Dictionary::make({{"name", "shape"}, {"shape", shape}});
}

// A library of `count` rectangles.
inline std::shared_ptr<CMShapeLibarary> makeLibrary(const std::string& name, int count = 1) {
  auto library = std::make_shared<CMShapeLibarary>(name);
  for (int i = 0; i < count; ++i) library->addShape(itemRecord(libraryShape({0, 0, 10.0 + i, 20})));
  return library;
}

// Writes the store file as a list of these libraries.
inline void writeStore(const std::vector<std::shared_ptr<CMShapeLibarary>>& libraries) {
  platform::ArrayRef list = platform::Array::make();
  for (const auto& library : libraries) list->add(platform::Value(platform::ObjectRef(library)));
  ASSERT_TRUE(
      platform::writeFileAtomically(CMShapeLibraries::storePath(), shape_library_archive::archive(platform::Value(list))));
}

inline std::vector<std::string> libraryNames(const CMShapeLibraries& store) {
  std::vector<std::string> names;
  for (const auto& library : store.items()) names.push_back(library->name());
  return names;
}

// ARGB of the pixel in column x, row `row` counted from the top.
inline std::uint32_t pixel(const platform::Image& image, int x, int row) {
  cairo_surface_t* surface = image.surface().get();
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  return reinterpret_cast<const std::uint32_t*>(data + row * cairo_image_surface_get_stride(surface))[x];
}

inline int opaquePixels(const platform::Image& image) {
  int count = 0;
  for (int row = 0; row < image.pixelsHigh(); ++row) {
    for (int x = 0; x < image.pixelsWide(); ++x) count += (pixel(image, x, row) >> 24) > 0;
  }
  return count;
}

}  // namespace document_testing
