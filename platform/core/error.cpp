#include "platform/core/error.h"

namespace platform {

Error Error::osStatus(std::int64_t status) {
  return make(osStatusDomain, status,
              "The operation couldn't be completed. (OSStatus error " + std::to_string(status) + ".)");
}

}  // namespace platform
