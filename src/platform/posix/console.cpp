#include <unistd.h>

#include "platform/console.h"

namespace quendra::platform {

bool stdout_is_terminal() { return isatty(STDOUT_FILENO) == 1; }
void set_binary_stdio() {}

}  // namespace quendra::platform
