#pragma once

// Layer images rendered side by side on worker threads, each on an image surface of its own, then handed to their
// layers in order on the calling (main) thread.

#include <memory>
#include <vector>

class CMLayerImageJob;

// Renders every job, on as many threads as pay off, and stores each once all are rendered. The layers and their
// records must not change meanwhile; the calling thread waits and renders too.
void renderLayerImages(std::vector<std::unique_ptr<CMLayerImageJob>>& jobs);
