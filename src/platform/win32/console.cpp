#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/console.h"

namespace quendra::platform {

bool stdout_is_terminal() { return _isatty(_fileno(stdout)) != 0; }

void set_binary_stdio() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace quendra::platform
