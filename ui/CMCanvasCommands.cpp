#include "ui/CMCanvasCommands.h"

#include "canvas/CMEditorView.h"

void CMEditorCanvasCommands::deletePoint() { canvas_().deletePoint(); }

void CMEditorCanvasCommands::changePointType(std::int32_t type) { canvas_().changePointType(type); }

void CMEditorCanvasCommands::setViewMode(bool vectorViewMode) { canvas_().setViewMode(vectorViewMode); }
