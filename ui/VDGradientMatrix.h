#pragma once

// The gradient window's grid of stored gradients: 31-point cells in rows from the top, as many columns as fit;
// the selected cell is marked blue while the grid is enabled, and a click selects a cell and tells the delegate.

#include "platform/core/value.h"
#include "platform/ui/view.h"

class VDGradientMatrixDelegate {
 public:
  virtual ~VDGradientMatrixDelegate() = default;
  virtual void selectGradient(const platform::DictRef& gradient) = 0;
};

class VDGradientMatrix : public platform::View {
 public:
  static constexpr double kCell = 31;

  explicit VDGradientMatrix(platform::Rect frame) : View(frame) {}

  const platform::ArrayRef& gradients() const { return gradients_; }
  void setGradients(platform::ArrayRef gradients) { gradients_ = std::move(gradients); }
  int selectedGradient() const { return selectedGradient_; }
  void setSelectedGradient(int index) { selectedGradient_ = index; }
  void setDelegate(VDGradientMatrixDelegate* delegate) { delegate_ = delegate; }
  bool isEnabled() const { return enable_; }
  void setEnable(bool enable);

  // trunc(W / 31); 0 draws and hits nothing.
  int columns() const;
  // Cell i, y-up in the view.
  platform::Rect cellRect(int index) const;

  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;

 private:
  int count() const;

  platform::ArrayRef gradients_;
  int selectedGradient_ = -1;
  VDGradientMatrixDelegate* delegate_ = nullptr;
  bool enable_ = false;
};
