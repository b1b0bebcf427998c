#include "io/svg/VDSVGPathScanner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/core/numeric.h"

namespace {

// Numbers in a group of each command letter (lower case); 0 for letters that take none.
int groupSize(char command) {
  switch (command) {
    case 'm':
    case 'l':
    case 't': return 2;
    case 'h':
    case 'v': return 1;
    case 'c': return 6;
    case 's':
    case 'q': return 4;
    case 'a': return 7;
    default: return 0;
  }
}

// Past this an exponent's value is infinite or zero anyway; it saturates instead of overflowing.
constexpr int kLargestExponent = 100000;
// An arc is cut into parts of at most a quarter turn and a little.
constexpr double kLargestArcPart = std::numbers::pi / 2 + 0.001;

bool finiteFloat(double value) { return std::isfinite(static_cast<float>(value)); }

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == ','; }

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The signed angle from u to v.
double angleBetween(double ux, double uy, double vx, double vy) {
  const double length = std::sqrt(ux * ux + uy * uy) * std::sqrt(vx * vx + vy * vy);
  const double cosine = std::clamp((ux * vx + uy * vy) / length, -1.0, 1.0);
  const double angle = std::acos(cosine);
  return ux * vy - uy * vx < 0 ? -angle : angle;
}

}  // namespace

void VDSVGPathScanner::scan(std::string_view text) {
  for (const char c : text) {
    if (c == '\0') break;
    if (atFlag() && !isSeparator(c) && !isLetter(c)) {
      // An arc's flag is one character, so "a5 5 0 015 5" holds two flags; any other character is an error.
      if ((c != '0' && c != '1') || !storeNumber(c - '0')) return;
      continue;
    }
    if (c >= '0' && c <= '9') {
      const int digit = c - '0';
      if (!inNumber_) {
        startNumber(Sign::Plus);
        mantissa_ = digit;
      } else if (inExponent_) {
        exponent_ = std::min(exponent_ * 10 + digit, kLargestExponent);
        exponentSignAllowed_ = false;
      } else if (inFraction_) {
        factor_ /= 10;
        mantissa_ += digit * factor_;
      } else {
        mantissa_ = mantissa_ * 10 + digit;
      }
    } else if (c == 'e' || c == 'E') {
      if (inNumber_) {
        inExponent_ = true;
        exponentSignAllowed_ = true;
        exponent_ = 0;
        exponentSign_ = Sign::Plus;
      }
    } else if (c == '.') {
      if (inNumber_ && (inFraction_ || inExponent_)) {
        // "0.5.5" is two numbers.
        if (!pushNumber()) return;
        startNumber(Sign::Plus);
        inFraction_ = true;
      } else if (inNumber_) {
        inFraction_ = true;
        factor_ = 1;
      } else {
        startNumber(Sign::Plus);
        inFraction_ = true;
      }
    } else if (c == '+' || c == '-') {
      const Sign sign = c == '-' ? Sign::Minus : Sign::Plus;
      if (inExponent_ && exponentSignAllowed_) {
        exponentSign_ = sign;
        exponentSignAllowed_ = false;
      } else {
        // "10-5" is two numbers.
        if (!pushNumber()) return;
        startNumber(sign);
      }
    } else {
      if (!pushNumber()) return;
      if (c == 'z' || c == 'Z') {
        if (!completeGroup()) return;
        owner_.closePath();
        previousCurve_ = 0;
        // The next subpath starts where this one did.
        x_ = controlX_ = startX_;
        y_ = controlY_ = startY_;
      } else if (isLetter(c)) {
        if (!completeGroup()) return;
        beginCommand(c);
      } else if (!isSeparator(c)) {
        // A character path data cannot hold ends it, as other errors do.
        return;
      }
    }
  }
  if (pushNumber()) completeGroup();
}

void VDSVGPathScanner::startNumber(Sign sign) {
  inNumber_ = true;
  inFraction_ = false;
  inExponent_ = false;
  exponentSignAllowed_ = false;
  mantissa_ = 0;
  factor_ = 1;
  sign_ = sign;
  exponent_ = 0;
  exponentSign_ = Sign::Plus;
}

bool VDSVGPathScanner::pushNumber() {
  if (!inNumber_) return true;
  inNumber_ = false;
  double value = 0;
  if (mantissa_ != 0) {
    const double power = std::pow(10.0, exponentSign_ == Sign::Minus ? -exponent_ : exponent_);
    value = (sign_ == Sign::Minus ? -mantissa_ : mantissa_) * power;
  }
  if (!finiteFloat(value)) return false;
  return storeNumber(value);
}

bool VDSVGPathScanner::atFlag() const { return command_ == 'a' && (count_ == 3 || count_ == 4) && !inNumber_; }

bool VDSVGPathScanner::storeNumber(double value) {
  const int size = groupSize(command_);
  if (size == 0) return true;  // no command yet, or one that takes no numbers
  if (relative_) {
    switch (command_) {
      case 'h': value += x_; break;
      case 'v': value += y_; break;
      case 'a':
        if (count_ == 5) value += x_;
        if (count_ == 6) value += y_;
        break;
      default: value += count_ % 2 == 0 ? x_ : y_; break;
    }
  }
  numbers_[count_++] = value;
  if (count_ < size) return true;
  count_ = 0;
  return runGroup();
}

void VDSVGPathScanner::beginCommand(char letter) {
  relative_ = letter >= 'a' && letter <= 'z';
  command_ = static_cast<char>(relative_ ? letter : letter - 'A' + 'a');
  count_ = 0;
}

bool VDSVGPathScanner::completeGroup() {
  if (count_ == 0) return true;
  const int size = groupSize(command_);
  switch (command_) {
    case 'c':
    case 'l':
    case 'm':
    case 'q':
    case 's':
      for (int i = count_; i < size; ++i) {
        if (!relative_) {
          numbers_[i] = 0;
        } else {
          numbers_[i] = i == 0 ? x_ : i == 1 ? y_ : numbers_[i - 2];
        }
      }
      count_ = 0;
      return runGroup();
    default:
      // An arc or smooth quadratic cut short has no end point to draw to.
      count_ = 0;
      return true;
  }
}

bool VDSVGPathScanner::runGroup() {
  const char command = command_;
  const bool ran = runCommand();
  previousCurve_ = command == 'c' || command == 's' ? 'c' : command == 'q' || command == 't' ? 'q' : 0;
  return ran;
}

bool VDSVGPathScanner::runCommand() {
  const double* n = numbers_;
  switch (command_) {
    case 'm':
      if (!moveTo(n[0], n[1])) return false;
      command_ = 'l';
      return true;
    case 'l': return lineTo(n[0], n[1]);
    case 'h': {
      const double y = y_;
      const double control = controlY_;
      if (!lineTo(n[0], y)) return false;
      controlY_ = control;
      return true;
    }
    case 'v': {
      const double x = x_;
      const double control = controlX_;
      if (!lineTo(x, n[0])) return false;
      controlX_ = control;
      return true;
    }
    case 'c': return curveTo(n[0], n[1], n[2], n[3], n[4], n[5]);
    case 's': {
      // Only a cubic before it has a control point to reflect; else the first one is the current point.
      const bool reflects = previousCurve_ == 'c';
      return curveTo(reflects ? 2 * x_ - controlX_ : x_, reflects ? 2 * y_ - controlY_ : y_, n[0], n[1], n[2], n[3]);
    }
    case 'q':
    case 't': {
      const bool reflects = previousCurve_ == 'q';
      const double qx = command_ == 'q' ? n[0] : reflects ? 2 * x_ - controlX_ : x_;
      const double qy = command_ == 'q' ? n[1] : reflects ? 2 * y_ - controlY_ : y_;
      const double x = command_ == 'q' ? n[2] : n[0];
      const double y = command_ == 'q' ? n[3] : n[1];
      if (!curveTo((x_ + 2 * qx) / 3, (y_ + 2 * qy) / 3, (2 * qx + x) / 3, (2 * qy + y) / 3, x, y)) return false;
      controlX_ = qx;
      controlY_ = qy;
      return true;
    }
    case 'a': {
      const double controlX = controlX_;
      const double controlY = controlY_;
      if (!arcTo(n[0], n[1], n[2], platform::saturatingTruncate<int>(n[3]), platform::saturatingTruncate<int>(n[4]),
                 n[5], n[6])) {
        return false;
      }
      // An arc moves the current point only.
      x_ = n[5];
      y_ = n[6];
      controlX_ = controlX;
      controlY_ = controlY;
      return true;
    }
    default: return true;
  }
}

bool VDSVGPathScanner::moveTo(double x, double y) {
  if (!finiteFloat(x) || !finiteFloat(y)) return false;
  owner_.moveTo(static_cast<float>(x), static_cast<float>(y));
  x_ = controlX_ = startX_ = x;
  y_ = controlY_ = startY_ = y;
  return true;
}

bool VDSVGPathScanner::lineTo(double x, double y) {
  if (!finiteFloat(x) || !finiteFloat(y)) return false;
  owner_.lineTo(static_cast<float>(x), static_cast<float>(y));
  x_ = controlX_ = x;
  y_ = controlY_ = y;
  return true;
}

bool VDSVGPathScanner::curveTo(double c1x, double c1y, double c2x, double c2y, double x, double y) {
  for (const double value : {c1x, c1y, c2x, c2y, x, y}) {
    if (!finiteFloat(value)) return false;
  }
  owner_.curveTo(static_cast<float>(c1x), static_cast<float>(c1y), static_cast<float>(c2x), static_cast<float>(c2y),
                 static_cast<float>(x), static_cast<float>(y));
  controlX_ = c2x;
  controlY_ = c2y;
  x_ = x;
  y_ = y;
  return true;
}

// The endpoint parameterisation of an elliptical arc turned into its centre form, drawn as cubic parts.
bool VDSVGPathScanner::arcTo(double rx, double ry, double rotation, int largeArc, int sweep, double x, double y) {
  const double x0 = x_;
  const double y0 = y_;
  if (x == x0 && y == y0) return true;
  if (std::fabs(rx) < 1e-7 || std::fabs(ry) < 1e-7) return lineTo(x, y);
  rx = std::fabs(rx);
  ry = std::fabs(ry);
  const double phi = rotation * std::numbers::pi / 180;
  const double cosPhi = std::cos(phi);
  const double sinPhi = std::sin(phi);
  const double dx = (x0 - x) / 2;
  const double dy = (y0 - y) / 2;
  const double x1 = cosPhi * dx + sinPhi * dy;
  const double y1 = -sinPhi * dx + cosPhi * dy;
  const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
  if (lambda > 1) {
    rx *= std::sqrt(lambda);
    ry *= std::sqrt(lambda);
  }
  const double denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
  if (denominator == 0) return true;
  double factor = std::sqrt(std::fabs(rx * rx * ry * ry / denominator - 1));
  if (largeArc == sweep) factor = -factor;
  const double centreX1 = factor * rx * y1 / ry;
  const double centreY1 = -factor * ry * x1 / rx;
  const double cx = cosPhi * centreX1 - sinPhi * centreY1 + (x0 + x) / 2;
  const double cy = sinPhi * centreX1 + cosPhi * centreY1 + (y0 + y) / 2;
  const double ux = (x1 - centreX1) / rx;
  const double uy = (y1 - centreY1) / ry;
  const double vx = (-x1 - centreX1) / rx;
  const double vy = (-y1 - centreY1) / ry;
  const double start = angleBetween(1, 0, ux, uy);
  double span = angleBetween(ux, uy, vx, vy);
  if (sweep == 0 && span > 0) span -= 2 * std::numbers::pi;
  if (sweep != 0 && span < 0) span += 2 * std::numbers::pi;
  if (!std::isfinite(start) || !std::isfinite(span) || !std::isfinite(cx) || !std::isfinite(cy)) return true;
  const int parts = static_cast<int>(std::ceil(std::fabs(span) / kLargestArcPart));
  const auto onEllipse = [&](double px, double py, double& outX, double& outY) {
    outX = cosPhi * rx * px - sinPhi * ry * py + cx;
    outY = sinPhi * rx * px + cosPhi * ry * py + cy;
  };
  for (int i = 0; i < parts; ++i) {
    const double a = start + span * i / parts;
    const double b = start + span * (i + 1) / parts;
    const double t = 8.0 / 3.0 * std::pow(std::sin((b - a) / 4), 2) / std::sin((b - a) / 2);
    double c1x, c1y, c2x, c2y, ex, ey;
    onEllipse(std::cos(a) - t * std::sin(a), std::sin(a) + t * std::cos(a), c1x, c1y);
    onEllipse(std::cos(b) + t * std::sin(b), std::sin(b) - t * std::cos(b), c2x, c2y);
    onEllipse(std::cos(b), std::sin(b), ex, ey);
    // The last part ends exactly where the arc was asked to.
    if (i == parts - 1) {
      ex = x;
      ey = y;
    }
    if (!curveTo(c1x, c1y, c2x, c2y, ex, ey)) return false;
  }
  return true;
}

void VDSVGStringParser::parseString(std::string_view text) { VDSVGPathScanner(*this).scan(text); }

void VDSVGStringParser::moveTo(float x, float y) { owner_.SVGMoveTo({x, y}); }

void VDSVGStringParser::lineTo(float x, float y) { owner_.SVGLineTo({x, y}); }

void VDSVGStringParser::curveTo(float c1x, float c1y, float c2x, float c2y, float x, float y) {
  owner_.SVGCurveToPoint({x, y}, {c1x, c1y}, {c2x, c2y});
}

void VDSVGStringParser::closePath() { owner_.SVGClosePath(); }
