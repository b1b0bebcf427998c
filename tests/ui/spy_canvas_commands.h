#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/CMCanvasCommands.h"

namespace ui_testing {

// Records the commands the strips and menus send to the canvas.
class SpyCommands : public CMCanvasCommands {
 public:
  explicit SpyCommands(std::vector<std::string>& calls) : calls_(calls) {}
  void group() override { calls_.push_back("group"); }
  void ungroup() override { calls_.push_back("ungroup"); }
  void aligntop() override { calls_.push_back("aligntop"); }
  void alignbottom() override { calls_.push_back("alignbottom"); }
  void alignleft() override { calls_.push_back("alignleft"); }
  void alignright() override { calls_.push_back("alignright"); }
  void flipH() override { calls_.push_back("flipH"); }
  void flipV() override { calls_.push_back("flipV"); }
  void deletePoint() override { calls_.push_back("deletePoint"); }
  void bringToFront() override { calls_.push_back("bringToFront"); }
  void bringForward() override { calls_.push_back("bringForward"); }
  void sendToBack() override { calls_.push_back("sendToBack"); }
  void sendTobackward() override { calls_.push_back("sendTobackward"); }
  void pathUnion() override { calls_.push_back("pathUnion"); }
  void pathSubtract() override { calls_.push_back("pathSubtract"); }
  void pathIntersect() override { calls_.push_back("pathIntersect"); }
  void pathDifference() override { calls_.push_back("pathDifference"); }
  void changePointType(std::int32_t type) override { calls_.push_back("changePointType " + std::to_string(type)); }
  void setViewMode(bool mode) override { calls_.push_back(mode ? "setViewMode YES" : "setViewMode NO"); }

 private:
  std::vector<std::string>& calls_;
};

}  // namespace ui_testing
