#pragma once

// The option strip of each tool, shown at the left of the top toolbar: the
// star's corner count, the polygon's side count, the line's ends, arrowhead
// and width, the pen's and pencil's width, the round rectangle's value, the
// select tool's align, flip and path commands, the point-editing commands,
// and the zoom pop-up at the end of every strip. Values come from the profile
// when a strip is built (setting a control sends nothing); only the user's
// changes are written back.

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/control.h"

namespace platform {
class PopUpButton;
class SegmentedControl;
class Stepper;
class TextField;
}  // namespace platform

// Control tags of the strips.
enum CMOptionStripTag : int {
  kCMStripLineWidthTag = 1,
  kCMStripArrowStyleTag = 2,
  kCMStripRoundWidthTag = 3,
  kCMStripAddPointTag = 9,
  kCMStripDeletePointTag = 10,
  kCMStripPointTypeTag = 11,
  kCMStripZoomTag = 100,
};

class CMToolOptionStrips {
 public:
  static constexpr double kHeight = 35;
  static constexpr std::array<const char*, 11> kZoomTitles{"12,5%", "25%",  "50%",  "75%",  "100%", "200%",
                                                           "300%",  "400%", "600%", "800%", "1200%"};

  // What the strips' controls ask of the window.
  struct Commands {
    std::function<void(int tag)> selectAction;          // a command button of the select or point strip
    std::function<void(int pointType)> changePointType;  // 0 line, 1 curve
    std::function<void(int zoomIndex)> changeZoom;
  };

  explicit CMToolOptionStrips(Commands commands) : commands_(std::move(commands)) {}

  // A strip (width × kHeight) for the tool, ending in the zoom pop-up showing that step. Tools without options
  // get the pop-up alone. A stored "line_width" below 1 becomes 1 with any strip, a "round_width" below 1
  // becomes 10 with the round rectangle's.
  std::shared_ptr<platform::View> makeStrip(int tool, double width, int zoomIndex);

  // The arrow-style pop-up of the strip is enabled exactly while the line has arrows.
  static void enableLineTools(platform::View& strip);

  // Control actions.
  void OnStarType(platform::SegmentedControl& sender);
  void OnPolygonType(platform::SegmentedControl& sender);
  void OnLineType(platform::PopUpButton& sender);
  void OnLineArrowStyle(platform::PopUpButton& sender);
  void OnLineWidth(platform::TextField& sender) { applyWidthFromField(sender, "line_width"); }
  void OnLineWidthStepper(platform::Stepper& sender) { applyWidthFromStepper(sender, "line_width"); }
  void OnRoundRectWidth(platform::TextField& sender) { applyWidthFromField(sender, "round_width"); }
  void OnRoundRectWidthStepper(platform::Stepper& sender) { applyWidthFromStepper(sender, "round_width"); }
  // Each edit of a line-width field applies at once; other fields wait for Return.
  void controlTextDidChange(platform::TextField& sender);

 private:
  void createSubPanelForSelect(platform::View& strip);
  void createSubPanelForEdit(platform::View& strip);
  void createSubPanelForRoundRect(platform::View& strip);
  void createSubPanelForLine(platform::View& strip);
  void createSubPanelForPencil(platform::View& strip);
  void createSubPanelForStar(platform::View& strip);
  void createSubPanelForPolygon(platform::View& strip);
  void addZoomControl(platform::View& strip, int zoomIndex);

  // Controls. Each returns what the next control's place is computed from.
  static double addLabel(const std::string& text, double x, platform::View& strip);
  void addToolbarButton(const std::string& toolTip, double offset, platform::View& strip, const char* image, int tag,
                        bool enabled = true);
  // A width field and its stepper at x (the stepper at x + 30), both of the tag, showing the profile key's value.
  void addWidthControls(double x, platform::View& strip, int tag, const char* key);

  static void applyWidthFromField(platform::TextField& field, const char* key);
  static void applyWidthFromStepper(platform::Stepper& stepper, const char* key);

  Commands commands_;
};
