#pragma once

// Builds the root record of a drawing from fuzz input, with the keys the model
// reads: layers of every type and shape type (unknown ones too), groups, masks,
// shape records with points, fills, strokes, gradients, shadows and blur, text
// styles and small embedded images. Each value is either an ordinary one or
// taken from a table of hostile ones (non-finite and extreme numbers, long and
// empty strings, values of the wrong kind). Running out of input always picks
// the plainest choice, so every input ends in a finite tree.

#include <fuzzer/FuzzedDataProvider.h>

#include "platform/core/value.h"

platform::DictRef generateDrawing(FuzzedDataProvider& input);
