#pragma once

// The boolean test corpus: pairs of operands written as SVG path data.

#include <ostream>
#include <string>
#include <vector>

namespace corpus {

struct Case {
  std::string name;
  std::string a;
  std::string b;
  // Names the case in test listings instead of dumping its bytes.
  friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

// A circle as four cubics, counter-clockwise from its rightmost point.
std::string circle(double cx, double cy, double r);
std::string rectangle(double x, double y, double width, double height);
// A simple (not self-crossing) star polygon alternating between the two radii.
std::string star(double cx, double cy, double outer, double inner, int points);
std::string oval(double cx, double cy, double rx, double ry);

std::vector<Case> cases();

}  // namespace corpus
