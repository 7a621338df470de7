// The process's console, for programs built on the library (the host harness).
#pragma once

namespace quendra::platform {

bool stdout_is_terminal();
// Puts standard input and output into binary mode (no newline translation).
void set_binary_stdio();

}  // namespace quendra::platform
