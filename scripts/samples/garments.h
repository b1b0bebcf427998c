#pragma once

// The garments of the samples and the template sheets, each drawn about the centre line x = 300 of a 600-point wide
// frame, so that a sheet shows one at full size and a line-up places several scaled down.

#include "scripts/samples/sketch.h"

namespace samples {

enum class ShirtView { ManBack, ManFront, WomanFront };

void shirt(Sketch& sketch, ShirtView view);
void tShirt(Sketch& sketch);
void trousers(Sketch& sketch);
void skirt(Sketch& sketch);
void dress(Sketch& sketch);
void floralMotif(Sketch& sketch);
// The templates: a frame, a title block and dashed body guides to draw over, upright for one garment's front and back,
// across for a line-up of three.
void portraitSheet(Sketch& sketch);
void landscapeSheet(Sketch& sketch);

}  // namespace samples
