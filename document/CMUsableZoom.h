#pragma once

// A zoom read from a document: anything but a positive finite number counts as 1, and the rest is kept within
// 1 % and 10,000 %, so a damaged file cannot make the canvas vanish or grow without bound. Steps and the
// off-table zooms of real documents pass unchanged.
float CMUsableZoom(float zoom);
