#pragma once

// The reader of SVG path data (a path's "d" attribute): one pass over the bytes that reports the outline as move,
// line, cubic-curve and close events. Horizontal and vertical lines arrive as lines; quadratic curves, their smooth
// forms and elliptical arcs arrive as cubic curves.
//
// Reading is lenient, as drawing programs are with foreign files: numbers may run together ("10-5", "0.5.5"),
// numbers before the first command are dropped, unknown letters take their numbers with them, and a group the text
// leaves short is completed (absolute commands with 0, relative ones with the current point for the first pair and
// the number two places before for the rest; an arc or a smooth quadratic left short draws nothing). An arc's flags
// are one character each, "0" or "1", as minifiers write them ("a5 5 0 015 5"). Reading stops at any other flag,
// at a character that is neither a letter, a number's nor a separator ("#"), and at the first number, or the first
// reported coordinate, that is not finite in single precision, so every event holds finite coordinates. A smooth
// curve reflects the control point of a curve of its own kind just before it, else starts at the current point.

#include <string_view>

#include "platform/core/geometry.h"

// Receives the events of one scan, coordinates in single precision.
class VDSVGPathScannerOwner {
 public:
  virtual ~VDSVGPathScannerOwner() = default;
  virtual void moveTo(float x, float y) = 0;
  virtual void lineTo(float x, float y) = 0;
  virtual void curveTo(float c1x, float c1y, float c2x, float c2y, float x, float y) = 0;
  virtual void closePath() = 0;
};

class VDSVGPathScanner {
 public:
  explicit VDSVGPathScanner(VDSVGPathScannerOwner& owner) : owner_(owner) {}

  // Runs the text, up to its end or a zero byte, through the owner. One scanner serves one text.
  void scan(std::string_view text);

 private:
  enum class Sign { Plus, Minus };

  void startNumber(Sign sign);
  // Ends the number being read, if any; false when it was not finite (reading stops).
  bool pushNumber();
  bool storeNumber(double value);
  void beginCommand(char letter);
  // Runs a group left short, when numbers are waiting.
  bool completeGroup();
  // Runs the group and notes whether it drew a cubic or a quadratic curve, whose control point a smooth form
  // reflects.
  bool runGroup();
  bool runCommand();
  // Whether the next character is an arc's large-arc or sweep flag.
  bool atFlag() const;
  bool arcTo(double rx, double ry, double rotation, int largeArc, int sweep, double x, double y);

  bool moveTo(double x, double y);
  bool lineTo(double x, double y);
  bool curveTo(double c1x, double c1y, double c2x, double c2y, double x, double y);

  VDSVGPathScannerOwner& owner_;
  // The path.
  double x_ = 0, y_ = 0;
  double controlX_ = 0, controlY_ = 0;
  double startX_ = 0, startY_ = 0;
  char command_ = 0;
  // 'c' after a cubic curve, 'q' after a quadratic one, else 0.
  char previousCurve_ = 0;
  bool relative_ = false;
  int count_ = 0;
  double numbers_[7] = {};
  // The number being read.
  bool inNumber_ = false;
  bool inFraction_ = false;
  bool inExponent_ = false;
  bool exponentSignAllowed_ = false;
  double mantissa_ = 0;
  double factor_ = 1;
  Sign sign_ = Sign::Plus;
  int exponent_ = 0;
  Sign exponentSign_ = Sign::Plus;
};

// What the layer creator receives from the path reader: points in the order end, first control, second control.
class VDSVGPathOwner {
 public:
  virtual ~VDSVGPathOwner() = default;
  virtual void SVGMoveTo(platform::Point) {}
  virtual void SVGLineTo(platform::Point) {}
  virtual void SVGCurveToPoint(platform::Point /*end*/, platform::Point /*c1*/, platform::Point /*c2*/) {}
  virtual void SVGClosePath() {}
};

// The front end that hands a path's events to its owner as points.
class VDSVGStringParser final : private VDSVGPathScannerOwner {
 public:
  explicit VDSVGStringParser(VDSVGPathOwner& owner) : owner_(owner) {}
  void parseString(std::string_view text);

 private:
  void moveTo(float x, float y) override;
  void lineTo(float x, float y) override;
  void curveTo(float c1x, float c1y, float c2x, float c2y, float x, float y) override;
  void closePath() override;

  VDSVGPathOwner& owner_;
};
