#pragma once

// The tool key-binding table. The application shell fills it in; until then the
// project owns an empty one so that its callers have something to hold.
class CMKeyBindingManager {};
