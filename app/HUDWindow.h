#pragma once

// The dark heads-up-display look: an undecorated window drawn on Cairo with a
// rounded frame, a title bar and a round close button, and push buttons and
// check boxes in the same style. Geometry is y-up, as the views are.

#include <array>
#include <functional>
#include <optional>
#include <memory>
#include <string>

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"
#include "platform/ui/control.h"

namespace platform {
class Window;
}

// The round close button of a HUD window (momentary; its action closes the window).
class HUDWindowButtonCell : public platform::Control {
 public:
  static constexpr double kSize = 18;
  explicit HUDWindowButtonCell(platform::Rect frame) : Control(frame) {}
  bool isHighlighted() const { return highlighted_; }
  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;
  // The cross's two strokes for a button drawn in `frame`: from-to, from-to.
  static std::array<platform::Point, 4> crossLines(const platform::Rect& frame);
  static void drawWithFrame(const platform::Rect& frame, bool highlighted);

 private:
  bool highlighted_ = false;
};

// The window's own content view: frame, title and close button; the client's view sits inside it.
class HUDWindowFrameView : public platform::View {
 public:
  static constexpr double kTitleBarHeight = 22;
  static constexpr double kCornerRadius = 10;
  explicit HUDWindowFrameView(platform::Rect frame) : View(frame) {}
  void setTitle(std::string title);
  const std::string& title() const { return title_; }
  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;
  void setDragHandler(std::function<void(const platform::Event&)> handler) { drag_ = std::move(handler); }

 private:
  void drawTitleInRect(const platform::Rect& titleBar) const;
  std::string title_;
  std::function<void(const platform::Event&)> drag_;
};

class HUDWindow {
 public:
  // Undecorated, RGBA and clear where a compositor blends it, else opaque with black outside the rounded frame.
  HUDWindow(platform::Size size, const std::string& title);
  ~HUDWindow();
  HUDWindow(const HUDWindow&) = delete;
  HUDWindow& operator=(const HUDWindow&) = delete;

  // The client's view, filling the window under the frame view.
  void setContentView(std::shared_ptr<platform::View> view);
  platform::View* contentView() const { return customContentView_.get(); }
  void setTitle(const std::string& title);
  platform::Window& window() const { return *window_; }
  HUDWindowFrameView& frameView() const { return *frameView_; }
  HUDWindowButtonCell& closeButton() const { return *closeButton_; }
  void close();

 private:
  std::unique_ptr<platform::Window> window_;
  std::shared_ptr<HUDWindowFrameView> frameView_;
  std::shared_ptr<HUDWindowButtonCell> closeButton_;
  std::shared_ptr<platform::View> customContentView_;
};

// A push button or check box in the HUD look: drawn whole by this class, a click acts on the mouse up inside.
class HUDButtonCell : public platform::Control {
 public:
  enum class Type { Push, CheckBox };
  static constexpr int kMixedState = -1;

  HUDButtonCell(platform::Rect frame, Type type, std::string title);
  Type buttonType() const { return type_; }
  void setButtonType(Type type);
  const std::string& title() const { return title_; }
  int state() const { return state_; }
  void setState(int state);
  bool isHighlighted() const { return highlighted_; }
  // "\r" draws the blue default button.
  void setKeyEquivalent(std::string key);
  const std::optional<platform::BezierPath>& bezelPath() const { return bezelPath_; }

  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;
  void setEnabled(bool enabled) override;

  bool shouldDrawBlueButton() const { return keyEquivalent_ == "\r" && type_ != Type::CheckBox; }
  static platform::BezierPath checkmarkPathForRect(const platform::Rect& rect, bool mixed);

 private:
  void drawButtonBezel(const platform::Rect& frame);
  void drawCheckboxBezel(const platform::Rect& frame);
  platform::Rect drawButtonTitle(const platform::Rect& frame) const;
  platform::Rect drawCheckboxTitle(const platform::Rect& frame) const;

  Type type_;
  std::string title_;
  std::string keyEquivalent_;
  int state_ = 0;
  bool highlighted_ = false;
  std::optional<platform::BezierPath> bezelPath_;
};
