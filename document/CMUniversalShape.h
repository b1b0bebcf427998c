#pragma once

// Base of the parametric shapes (shape types 0 to 6): while neither being point-edited
// nor saved as Bezier, the outline comes from a few parameters through
// createSimplePath. prepareEditing turns the current outline into point records held
// by the shape alone, where the outline lies, so that point editing never moves it;
// saving as Bezier writes them into the record, and endEditing otherwise puts the
// parameters' points back.

#include "document/CMPathShape.h"

class CMUniversalShape : public CMPathShape {
 public:
  using CMPathShape::CMPathShape;

  // Stores the tool options the outline depends on into the record when it lacks them,
  // so later rebuilds draw what was created whatever the tools say by then.
  void initPath() override;
  void updatePath() override;
  void prepareEditing() override;
  void endEditing() override;
  void saveAsBezier() override;

  bool isPathEditing() const noexcept { return pathEditing_; }

 protected:
  virtual platform::BezierPath createSimplePath() { return {}; }
  virtual void recordToolOptions() {}
  // Records the profile's integer option under `key` when the record has no value there.
  void recordProfileOption(std::string_view key) const;
  // The frame held by the first and third point records.
  platform::Rect frame() const;

 private:
  // The outline as point records for editing, from (0, 0) with its offset when `fromOrigin`.
  void convertToPoints(bool fromOrigin);

  bool pathEditing_ = false;
  bool hasKeptPoints_ = false;
  platform::ArrayRef keptPointsField_;
};
