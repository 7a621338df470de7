#include "dialog/file_attributes.h"

#include <windows.h>

namespace quendra {

bool IsPlainVisibleFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  constexpr DWORD kExcluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (attributes & kExcluded) == 0;
}

}  // namespace quendra
