// Services that must exist once per process, shared by a host program and the plug-in: message windows,
// the tick counter and the application state. Windows has them in the system; elsewhere they live in the
// shared library libquendra_user, and these declarations are its exports.
#pragma once

#if defined(_WIN32)
#define QUENDRA_USER_API
#else
#define QUENDRA_USER_API __attribute__((visibility("default")))
#endif
