#pragma once

// The three panes along the top and left edges of the main view, for code that
// takes them together.

#include "ui/CMDocumentSelectorView.h"
#include "ui/CMToolsView.h"
#include "ui/CMTopToolbarView.h"
