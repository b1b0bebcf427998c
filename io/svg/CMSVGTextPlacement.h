#pragma once

// SVG places a text by the start (or middle, or end) of its first baseline, through the element's transform; a
// text layer by its frame's top edge and its anchor point, turned about the frame's centre, its font at one size.
// The conversion between the two is measured with the layer's own font, once the text's characters are known.

#include "platform/core/value.h"

// Moves a text record read from SVG ("x", "y" the baseline's anchor point, "transforms" the element's transforms,
// "text-anchor" and the font as the file gave them) to where the layer draws the same picture: "y" the frame's
// top, the font scaled and the frame turned ("rotate") as the transform scales and turns it. The transforms are
// then taken out of the record, since nothing of them is left to apply.
// With `fromTop`, "y" is the frame's top already (a flowed text's region), not a baseline.
void placeSVGText(const platform::DictRef& record, bool fromTop = false);

// How far the record's text, in its own font at the size the file gave, moves the pen along its baseline.
double SVGTextAdvance(const platform::DictRef& record);
