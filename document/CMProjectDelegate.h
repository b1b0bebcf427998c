#pragma once

// The application delegate adopts this to be the project's delegate; it asks nothing of it yet.
class CMProjectDelegate {
 public:
  virtual ~CMProjectDelegate() = default;
};
