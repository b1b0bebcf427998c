#pragma once

// The canvas commands that the select and point-editing strips, the Arrange
// menu and the context menu send, by the canvas's names. The window sends them
// through this interface so that the receiver can be watched.

#include <cstdint>
#include <functional>

class CMEditorView;

class CMCanvasCommands {
 public:
  virtual ~CMCanvasCommands() = default;

  virtual void group() {}
  virtual void ungroup() {}
  virtual void aligntop() {}
  virtual void alignbottom() {}
  virtual void alignleft() {}
  virtual void alignright() {}
  virtual void flipH() {}
  virtual void flipV() {}
  virtual void deletePoint() {}
  virtual void bringToFront() {}
  virtual void bringForward() {}
  virtual void sendToBack() {}
  virtual void sendTobackward() {}
  virtual void pathUnion() {}
  virtual void pathSubtract() {}
  virtual void pathIntersect() {}
  virtual void pathDifference() {}
  virtual void changePointType(std::int32_t /*type*/) {}
  virtual void setViewMode(bool /*vectorViewMode*/) {}
};

// The commands of the canvas the window shows.
class CMEditorCanvasCommands : public CMCanvasCommands {
 public:
  explicit CMEditorCanvasCommands(std::function<CMEditorView&()> canvas) : canvas_(std::move(canvas)) {}

  void group() override;
  void ungroup() override;
  void aligntop() override;
  void alignbottom() override;
  void alignleft() override;
  void alignright() override;
  void flipH() override;
  void flipV() override;
  void deletePoint() override;
  void bringToFront() override;
  void bringForward() override;
  void sendToBack() override;
  void sendTobackward() override;
  void pathUnion() override;
  void pathSubtract() override;
  void pathIntersect() override;
  void pathDifference() override;
  void changePointType(std::int32_t type) override;
  void setViewMode(bool vectorViewMode) override;

 private:
  std::function<CMEditorView&()> canvas_;
};
