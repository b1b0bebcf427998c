#pragma once

// The base of every canvas: a plain view, so canvases can be told apart from other views.

#include "platform/ui/view.h"

class CMEditorBaseView : public platform::View {
 public:
  using platform::View::View;
};
