#include "platform/core/error.h"

namespace platform {

Error Error::osStatus(std::int64_t status) {
  // The code is for callers; the user is never shown a platform code.
  return make(osStatusDomain, status, "The operation couldn't be completed.");
}

}  // namespace platform
