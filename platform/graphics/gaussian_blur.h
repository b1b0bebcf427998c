#pragma once

// Gaussian blur of an image surface in place (the stand-in for Core Image's blur).

#include <cairo.h>

namespace platform {

// Blurs a premultiplied CAIRO_FORMAT_ARGB32 surface (or an A8 one, alpha only) in place with a Gaussian of standard
// deviation `sigma` pixels. Pixels outside the surface count as transparent; what spreads past the edges is lost.
// A sigma that is NaN, or under a quarter pixel (where no pixel would change), leaves the surface unchanged; one so large that nothing visible remains clears
// it. The cost does not grow with sigma: from 6 pixels on, three box passes per axis (exact integer running sums,
// widths chosen to give sigma² within 2 %) stand in for the Gaussian, within 3 % of full scale on ordinary images
// (under 6 % for the worst possible pattern); below that a sampled kernel of at most 49 taps is used. Large images
// are split over several threads. Other formats, and surfaces that are not image surfaces or are in an error state,
// are left alone.
void gaussianBlur(cairo_surface_t* imageArgb32, double sigma);

// How far the blur of `sigma` carries a pixel, in whole pixels: a pixel farther than this from a region adds nothing
// to it, so blurring the region grown by this much and keeping the region gives exactly the blur of the whole image
// there. 0 for a sigma that blurs nothing; at most 2^31.
long long blurReach(double sigma);

}  // namespace platform
