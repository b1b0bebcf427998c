#include "ui/CMCanvasCommands.h"

#include "canvas/CMEditorView.h"

void CMEditorCanvasCommands::group() { canvas_().group(); }
void CMEditorCanvasCommands::ungroup() { canvas_().ungroup(); }
void CMEditorCanvasCommands::aligntop() { canvas_().aligntop(); }
void CMEditorCanvasCommands::alignbottom() { canvas_().alignbottom(); }
void CMEditorCanvasCommands::alignleft() { canvas_().alignleft(); }
void CMEditorCanvasCommands::alignright() { canvas_().alignright(); }
void CMEditorCanvasCommands::flipH() { canvas_().flipH(); }
void CMEditorCanvasCommands::flipV() { canvas_().flipV(); }
void CMEditorCanvasCommands::deletePoint() { canvas_().deletePoint(); }
void CMEditorCanvasCommands::bringToFront() { canvas_().bringToFront(); }
void CMEditorCanvasCommands::bringForward() { canvas_().bringForward(); }
void CMEditorCanvasCommands::sendToBack() { canvas_().sendToBack(); }
void CMEditorCanvasCommands::sendTobackward() { canvas_().sendTobackward(); }
void CMEditorCanvasCommands::pathUnion() { canvas_().pathUnion(); }
void CMEditorCanvasCommands::pathSubtract() { canvas_().pathSubtract(); }
void CMEditorCanvasCommands::pathIntersect() { canvas_().pathIntersect(); }
void CMEditorCanvasCommands::pathDifference() { canvas_().pathDifference(); }

void CMEditorCanvasCommands::changePointType(std::int32_t type) { canvas_().changePointType(type); }

void CMEditorCanvasCommands::setViewMode(bool vectorViewMode) { canvas_().setViewMode(vectorViewMode); }
