// Process-wide application state the plug-in consults: whether the host application is shutting down.
#pragma once

#include "platform/user_api.h"

namespace quendra::platform {

QUENDRA_USER_API bool app_terminating();
QUENDRA_USER_API void set_app_terminating(bool terminating);

}  // namespace quendra::platform
