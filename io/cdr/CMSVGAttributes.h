#pragma once

// The attributes of one SVG element being written by the drawing generator: lengths in points, numbers in their
// shortest C-locale form, text XML-escaped. A number that is not finite, or too large for the reader's single
// precision, spoils the element: the generator then leaves it out.

#include <librevenge/librevenge.h>

#include <optional>
#include <string>
#include <string_view>

// A length property in points: inches × 72, points as they are, twips ÷ 20; other units are taken as inches, with
// one warning per process. Nothing for a missing property.
std::optional<double> pointsOf(const librevenge::RVNGProperty* property);
// The shortest text that reads back as `value`, in the C locale ("612", "0.5", "1e-07").
void appendNumber(std::string& out, double value);
// Whether the reader can hold the number.
bool isWritableNumber(double value);

class CMSVGAttributes {
 public:
  // ` name="value"`.
  void number(std::string_view name, double value);
  // A length in points; nothing when the property is missing.
  void length(std::string_view name, const librevenge::RVNGProperty* property);
  void text(std::string_view name, std::string_view value);
  // Already formed attribute text (a path's data, a list of points): its numbers are checked as they are made.
  void append(std::string_view formed) { text_ += formed; }
  // Marks the element as spoilt when the number cannot be written.
  bool check(double value);

  const std::string& str() const { return text_; }
  bool valid() const { return valid_; }

 private:
  std::string text_;
  bool valid_ = true;
};
