#pragma once

// The largest page width or height a document takes: what the canvas draws and the page panel accepts, and what an
// import grows the page to at most.
inline constexpr double kCMLargestPageLength = 1e6;
