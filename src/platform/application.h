// Process-wide application state the plug-in consults: whether the host application is shutting down.
#pragma once

namespace quendra::platform {

bool app_terminating();
void set_app_terminating(bool terminating);

}  // namespace quendra::platform
