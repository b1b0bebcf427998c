#pragma once

// What the model asks of the shared gradient editor: the shape layer calls
// update() after each canvas edit of a gradient so that an open editor shows it.

#include <memory>

class CMGradientEditorService {
 public:
  virtual ~CMGradientEditorService() = default;

  // Re-reads the gradient record the editor holds and redraws; nothing when it holds none.
  virtual void update() = 0;

  // The installed editor, or a stand-in that does nothing.
  static CMGradientEditorService& sharedGradient();
  // Installs an editor (null restores the stand-in); returns the previous one.
  static std::shared_ptr<CMGradientEditorService> install(std::shared_ptr<CMGradientEditorService> service);
};
