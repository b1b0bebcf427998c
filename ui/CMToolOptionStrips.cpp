// Building the option strips. Places are in the strip's own y-up coordinates.

#include "ui/CMToolOptionStrips.h"

#include <cstdio>

#include "canvas/CMEditorView.h"
#include "document/CMProject.h"
#include "platform/core/numeric.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/font.h"
#include "platform/ui/image_named.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/stepper.h"
#include "platform/ui/text_field.h"
#include "ui/CMToolbarButton.h"

namespace {

constexpr double kH = CMToolOptionStrips::kHeight;
constexpr double kLabelFontSize = 11;
constexpr double kFieldFontSize = 10;

CMGlobalProfile& profile() { return CMProject::shareProject().profile(); }

double truncated(double value) { return platform::saturatingTruncate<int>(value); }

void useFont(Gtk::Widget& widget, double size) {
  // The wrapper takes over the copy.
  widget.override_font(Pango::FontDescription(pango_font_description_copy(platform::Font::systemFont(size).description())));
}

}  // namespace

std::shared_ptr<platform::View> CMToolOptionStrips::makeStrip(int tool, double width, int zoomIndex) {
  if (profile().integerForKey("line_width") < 1) profile().setInteger(1, "line_width");
  auto strip = std::make_shared<platform::View>(platform::Rect{0, 0, width, kH});
  switch (tool) {
    case kCMToolSelect:
      createSubPanelForSelect(*strip);
      break;
    case kCMToolPathPoints:
    case kCMToolAddBezierPoint:
      createSubPanelForEdit(*strip);
      break;
    case kCMToolRoundRectangle:
      createSubPanelForRoundRect(*strip);
      break;
    case kCMToolEraser:
      createSubPanelForPencil(*strip);
      enableLineTools(*strip);
      break;
    case kCMToolStar:
      createSubPanelForStar(*strip);
      break;
    case kCMToolLine:
      createSubPanelForLine(*strip);
      break;
    case kCMToolPolygon:
      createSubPanelForPolygon(*strip);
      break;
    case kCMToolPen:
    case kCMToolPencil:
      createSubPanelForPencil(*strip);
      break;
    default:
      break;
  }
  addZoomControl(*strip, zoomIndex);
  return strip;
}

double CMToolOptionStrips::addLabel(const std::string& text, double x, platform::View& strip) {
  platform::TextAttributes attributes;
  attributes.font = platform::Font::systemFont(kLabelFontSize);
  const platform::Size size = platform::AttributedString(text, attributes).size();
  auto label = std::make_shared<platform::Label>(
      platform::Rect{x, (kH - size.height) / 2 + 1, size.width + 5, size.height}, text);
  useFont(label->gtkLabel(), kLabelFontSize);
  strip.addSubview(label);
  return x + size.width + 5;
}

void CMToolOptionStrips::addToolbarButton(const std::string& toolTip, double offset, platform::View& strip,
                                          const char* image, int tag, bool enabled) {
  // Commands, not states: the button springs back after each click.
  auto button = std::make_shared<CMToolbarButton>(platform::Rect{offset + 8, 2, 32, 32},
                                                  platform::ButtonType::MomentaryPush);
  button->setToolTip(toolTip);
  button->setImages(platform::pixbufNamed(image), {});
  button->setTag(tag);
  button->setEnabled(enabled);
  button->setAction([this](platform::Control& sender) {
    if (commands_.selectAction) commands_.selectAction(sender.tag());
  });
  strip.addSubview(button);
}

void CMToolOptionStrips::addWidthControls(double x, platform::View& strip, int tag, const char* key) {
  const std::int32_t value = profile().integerForKey(key);
  auto field = std::make_shared<platform::TextField>(platform::Rect{x, (kH - 20) / 2, 30, 20});
  platform::NumberFormat decimal;
  decimal.maximumFractionDigits = 3;
  field->setNumberFormat(decimal);
  field->gtkEntry().set_width_chars(1);
  useFont(field->gtkEntry(), kFieldFontSize);
  field->setTag(tag);
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  field->setStringValue(text);
  const bool lineWidth = tag == kCMStripLineWidthTag;
  field->setAction([this, lineWidth](platform::Control& sender) {
    auto& edited = static_cast<platform::TextField&>(sender);
    if (lineWidth) {
      OnLineWidth(edited);
    } else {
      OnRoundRectWidth(edited);
    }
  });
  field->setTextDidChange([this](platform::TextField& edited) { controlTextDidChange(edited); });
  strip.addSubview(field);

  auto stepper = std::make_shared<platform::Stepper>(platform::Rect{x + 30, (kH - 22) / 2, 19, 22}, 1, 1000, 1);
  stepper->setTag(tag);
  stepper->setDoubleValue(value);
  stepper->setAction([this, lineWidth](platform::Control& sender) {
    auto& stepped = static_cast<platform::Stepper&>(sender);
    if (lineWidth) {
      OnLineWidthStepper(stepped);
    } else {
      OnRoundRectWidthStepper(stepped);
    }
  });
  strip.addSubview(stepper);
}

void CMToolOptionStrips::createSubPanelForSelect(platform::View& strip) {
  const double l1 = truncated(addLabel("Align:", 10, strip));
  addToolbarButton("Left", l1, strip, "alignleft", 5);
  addToolbarButton("Right", l1 + 33, strip, "alignright", 6);
  addToolbarButton("Top", l1 + 70, strip, "aligntop", 3);
  addToolbarButton("Bottom", l1 + 103, strip, "alignbottom", 4);
  const double l2 = truncated(addLabel("Flip:", l1 + 160, strip));
  addToolbarButton("Horizontal", l2, strip, "fliphorizontal", 7);
  addToolbarButton("Vertical", l2 + 33, strip, "flipvertical", 8);
  const double l3 = truncated(addLabel("Geometry:", l2 + 90, strip));
  addToolbarButton("Union", l3, strip, "pathunion", 16);
  addToolbarButton("Subtract", l3 + 33, strip, "pathsubtract", 17);
  addToolbarButton("Intersect", l3 + 66, strip, "pathintersect", 18);
  addToolbarButton("Difference", l3 + 99, strip, "pathdifference", 19);
}

void CMToolOptionStrips::createSubPanelForEdit(platform::View& strip) {
  addToolbarButton("Add Point", 0, strip, "pencursoradd", kCMStripAddPointTag, false);
  addToolbarButton("Delete", 33, strip, "pointdelete", kCMStripDeletePointTag, false);
  auto pointType = std::make_shared<platform::SegmentedControl>(platform::Rect{80, (kH - 26) / 2, 200, 26},
                                                                std::vector<std::string>{"Line", "Curve"});
  pointType->setTag(kCMStripPointTypeTag);
  pointType->setAction([this](platform::Control& sender) {
    const int segment = static_cast<platform::SegmentedControl&>(sender).selectedSegment();
    if (commands_.changePointType) commands_.changePointType(segment);
  });
  strip.addSubview(pointType);
}

void CMToolOptionStrips::createSubPanelForRoundRect(platform::View& strip) {
  if (profile().integerForKey("round_width") < 1) profile().setInteger(10, "round_width");
  const double l1 = truncated(addLabel("Round:", 10, strip));
  addWidthControls(l1, strip, kCMStripRoundWidthTag, "round_width");
}

void CMToolOptionStrips::createSubPanelForLine(platform::View& strip) {
  const double l1 = truncated(addLabel("Type:", 10, strip));
  auto type = std::make_shared<platform::PopUpButton>(platform::Rect{l1, (kH - 26) / 2, 130, 26});
  type->addItemsWithTitles({"Line", "One Arrow", "Two Arrows"});
  type->selectItemAtIndex(profile().integerForKey("line_arrow_type"));
  type->setAction([this](platform::Control& sender) { OnLineType(static_cast<platform::PopUpButton&>(sender)); });
  strip.addSubview(type);

  const double l2 = truncated(addLabel("Arrow Style:", l1 + 130, strip));
  auto style = std::make_shared<platform::PopUpButton>(platform::Rect{l2, (kH - 26) / 2, 100, 26});
  style->addItemsWithTitles({"Full", "Circle", "Open", "Diamond", "PointY"});
  style->selectItemAtIndex(profile().integerForKey("line_arrow_style"));
  style->setTag(kCMStripArrowStyleTag);
  style->setAction(
      [this](platform::Control& sender) { OnLineArrowStyle(static_cast<platform::PopUpButton&>(sender)); });
  strip.addSubview(style);

  const double l3 = truncated(addLabel("Width:", l2 + 100, strip));
  addWidthControls(l3, strip, kCMStripLineWidthTag, "line_width");
  enableLineTools(strip);
}

void CMToolOptionStrips::createSubPanelForPencil(platform::View& strip) {
  const double l1 = truncated(addLabel("Width:", 10, strip));
  addWidthControls(l1, strip, kCMStripLineWidthTag, "line_width");
}

void CMToolOptionStrips::createSubPanelForStar(platform::View& strip) {
  auto corners = std::make_shared<platform::SegmentedControl>(
      platform::Rect{10, (kH - 26) / 2, 500, 26},
      std::vector<std::string>{"3 cornels", "4 cornels", "5 cornels", "6 cornels", "7 cornels", "8 cornels"});
  corners->setSelectedSegment(profile().integerForKey("star_angles"));
  corners->setAction(
      [this](platform::Control& sender) { OnStarType(static_cast<platform::SegmentedControl&>(sender)); });
  strip.addSubview(corners);
}

void CMToolOptionStrips::createSubPanelForPolygon(platform::View& strip) {
  auto sides = std::make_shared<platform::SegmentedControl>(
      platform::Rect{10, (kH - 26) / 2, 400, 26},
      std::vector<std::string>{"3 sides", "4 sides", "5 sides", "6 sides", "7 sides", "8 sides"});
  sides->setSelectedSegment(profile().integerForKey("polygon_sides"));
  sides->setAction(
      [this](platform::Control& sender) { OnPolygonType(static_cast<platform::SegmentedControl&>(sender)); });
  strip.addSubview(sides);
}

void CMToolOptionStrips::addZoomControl(platform::View& strip, int zoomIndex) {
  const platform::Size size = strip.frame().size;
  auto zoom = std::make_shared<platform::PopUpButton>(platform::Rect{size.width - 80, (size.height - 26) / 2, 80, 26});
  for (const char* title : kZoomTitles) zoom->addItemWithTitle(title);
  zoom->selectItemAtIndex(zoomIndex);
  zoom->setTag(kCMStripZoomTag);
  zoom->setAction([this](platform::Control& sender) {
    const int index = static_cast<platform::PopUpButton&>(sender).indexOfSelectedItem();
    if (commands_.changeZoom && index >= 0) commands_.changeZoom(index);
  });
  strip.addSubview(zoom);
}
