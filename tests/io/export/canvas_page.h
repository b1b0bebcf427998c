#pragma once

// The page of a document as the canvas in a window draws it at the document's zoom (at 100 % a page point a canvas
// pixel), its pixels read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "export_tools.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace export_testing {

// Writes the canvas to canvas.png and its 400 × 300 page to canvas-page.png in the folder; the page's picture, empty
// when the window did not show.
inline Picture canvasPage(const CMDocument& document, const platform::testing::ScratchFolder& scratch) {
  const std::filesystem::path& folder = scratch.path();
  platform::Window window({1000, 800});
  auto editor = std::make_shared<CMEditorView>();
  auto frame = std::make_shared<CMFrameEditorView>(platform::Rect{0, 0, 1000, 800}, editor);
  window.setContentView(frame);
  auto shown = std::make_shared<CMDocument>();
  shown->setData(platform::dictionaryCopy(document.data()));
  frame->setDocument(shown);  // at the document's zoom
  frame->update();
  if (!platform::test::showAndSettle(window)) return {};
  platform::test::processPendingEvents();
  const platform::test::ImageSurface canvas = platform::test::renderWidget(editor->widget());
  if (cairo_surface_write_to_png(canvas.get(), (folder / "canvas.png").c_str()) != CAIRO_STATUS_SUCCESS) return {};
  // The canvas is the page, drawn where it lies.
  run("convert " + (folder / "canvas.png").string() + " -background white -extent 400x300 " +
      (folder / "canvas-page.png").string());
  return readPicture(folder / "canvas-page.png");
}

}  // namespace export_testing
