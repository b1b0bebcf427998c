#pragma once

// A stroke style record made drawable: the paint of a fill style record plus "lineWidth"
// (at zoom 1), "lineJoinStyle" (0 miter, 1 round, 2 bevel), "lineCapStyle" (0 butt,
// 1 round, 2 square), "dashStyle" (1 dashed, see CMStrokeDash), "dashPoints", "stroke-dashoffset" and
// "mode" (0 centred, 1 inside, any other value outside).

#include "document/CMFill.h"
#include "platform/core/value.h"
#include "platform/graphics/bezier_path.h"

class CMStroke : public CMFill {
 public:
  static CMStroke strokeWithDictionary(const platform::DictRef& record) { return CMStroke(record); }
  explicit CMStroke(const platform::DictRef& record);

  // Sets the path's width ("lineWidth" × zoom), join, cap and dash, which stay on the path,
  // then strokes it in the current graphics context. The dash is built anew on every call
  // (a solid stroke clears the dash an earlier one left): the record's (strokeDashOf), its
  // lengths and offset × zoom like the width. Gradient strokes are always centred; colour and
  // image strokes honour the mode.
  void strokePath(platform::BezierPath& path, float zoom) const;

  // The width, join, cap and dash alone, as strokePath sets them: what the stroke's area is measured with.
  void applyAttributes(platform::BezierPath& path, float zoom) const;

  float lineWidth() const { return lineWidth_; }
  int mode() const { return mode_; }

 private:
  void applyDash(platform::BezierPath& path, float zoom) const;
  void strokeByMode(const platform::BezierPath& path) const;

  float lineWidth_ = 0;
  int lineJoinStyle_ = 0;
  int lineCapStyle_ = 0;
  int mode_ = 0;
};
