#include "platform/core/uuid.h"

#include <uuid/uuid.h>

namespace platform {

std::string makeUUIDString() {
  uuid_t uuid;
  uuid_generate(uuid);
  char text[37];  // 36 characters and the terminator
  uuid_unparse_upper(uuid, text);
  return std::string(text, 36);
}

}  // namespace platform
