#include "platform/file_io.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace quendra::platform {

namespace {

std::string error_text(const std::string& what, const std::string& path) {
  return what + " " + path + " (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

bool file_exists(const std::string& path) {
  const DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string canonical_file_path(const std::string& path) {
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (n == 0) return path;
    if (n < buf.size()) return std::string(buf.data(), n);
    buf.resize(n + 1);
  }
}

void write_file_atomically(const std::string& path, std::string_view data) {
  static std::atomic<unsigned> counter{0};
  const std::string temp =
      path + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter.fetch_add(1));
  HANDLE file = INVALID_HANDLE_VALUE;
  if (detail::fault_refuses_create()) {
    SetLastError(ERROR_WRITE_PROTECT);
  } else {
    file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) throw FileError(error_text("Cannot create", temp));
  bool ok = true;
  const char* p = data.data();
  std::size_t left = data.size();
  while (ok && left > 0) {
    const DWORD chunk =
        static_cast<DWORD>(detail::fault_write_allowance(left > (1u << 30) ? (1u << 30) : left));
    if (chunk == 0) {
      SetLastError(ERROR_DISK_FULL);
      ok = false;
      break;
    }
    DWORD written = 0;
    ok = WriteFile(file, p, chunk, &written, nullptr) != 0 && written == chunk;
    p += chunk;
    left -= chunk;
  }
  if (ok) ok = FlushFileBuffers(file) != 0;
  const std::string failure = ok ? std::string() : error_text("Cannot write", temp);
  CloseHandle(file);
  if (!ok) {
    DeleteFileA(temp.c_str());
    throw FileError(failure);
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const std::string msg = error_text("Cannot replace", path);
    DeleteFileA(temp.c_str());
    throw FileError(msg);
  }
}

}  // namespace quendra::platform
