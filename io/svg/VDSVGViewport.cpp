#include "io/svg/VDSVGViewport.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/svg/VDSVGLength.h"
#include "io/svg/VDSVGNumberList.h"
#include "platform/core/string_utilities.h"

namespace {

// The length the attribute gives; nothing when it is missing or no length, or, on the outermost "svg", a
// percentage: nothing is around it that it could be a share of.
std::optional<double> givenLength(const platform::DictRef& attributes, std::string_view key, bool nested,
                                  double percentBase) {
  const platform::Value* value = attributes->find(key);
  if (!value) return std::nullopt;
  const std::string& text = value->string();
  if (!nested && text.find('%') != std::string::npos) return std::nullopt;
  return SVGLength(text, {percentBase});
}

// The length, or `absent` when the attribute is missing or no number.
double lengthOr(const platform::DictRef& attributes, std::string_view key, double percentBase, double absent) {
  return givenLength(attributes, key, true, percentBase).value_or(absent);
}

}  // namespace

SVGViewport SVGViewportOf(const platform::DictRef& attributes, bool nested, platform::Size outer) {
  const std::vector<double> box = SVGNumberList(attributes->get("viewBox").string());
  const bool hasBox = box.size() == 4 && box[2] > 0 && box[3] > 0;
  const std::optional<double> givenWidth = givenLength(attributes, "width", nested, outer.width);
  const std::optional<double> givenHeight = givenLength(attributes, "height", nested, outer.height);
  // A missing width or height is all of the outer viewport, or of the viewBox at the top.
  const double width = givenWidth.value_or(nested || !hasBox ? outer.width : box[2]);
  const double height = givenHeight.value_or(nested || !hasBox ? outer.height : box[3]);
  const double x = nested ? lengthOr(attributes, "x", outer.width, 0) : 0;
  const double y = nested ? lengthOr(attributes, "y", outer.height, 0) : 0;
  // Only a size given as 0 or less disables the viewport.
  SVGViewport viewport{{hasBox ? box[2] : width, hasBox ? box[3] : height}, std::nullopt,
                       (givenWidth && !(*givenWidth > 0)) || (givenHeight && !(*givenHeight > 0))};
  double sx = 1, sy = 1, tx = x, ty = y;
  if (hasBox && width > 0 && height > 0) {
    sx = width / box[2];
    sy = height / box[3];
    const std::vector<std::string> words =
        platform::componentsSeparatedByString(attributes->get("preserveAspectRatio").string(), " ");
    const std::string align = words.empty() || words[0].empty() ? "xMidYMid" : words[0];
    const bool slice = std::find(words.begin(), words.end(), "slice") != words.end();
    if (align != "none") {
      sx = sy = slice ? std::max(sx, sy) : std::min(sx, sy);
      // Where the scaled viewBox sits in the room left over along each axis.
      const auto share = [&](std::string_view min, std::string_view mid) {
        return align.find(min) != std::string::npos ? 0.0 : align.find(mid) != std::string::npos ? 0.5 : 1.0;
      };
      tx += (width - box[2] * sx) * share("xMin", "xMid");
      ty += (height - box[3] * sy) * share("YMin", "YMid");
    }
    tx -= box[0] * sx;
    ty -= box[1] * sy;
  }
  if (sx != 1 || sy != 1 || tx != 0 || ty != 0) {
    viewport.transform = platform::formatString("matrix(%.17g 0 0 %.17g %.17g %.17g)", sx, sy, tx, ty);
  }
  return viewport;
}
