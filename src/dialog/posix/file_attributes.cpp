#include "dialog/file_attributes.h"

#include <filesystem>
#include <system_error>

namespace quendra {

// POSIX has no hidden or system attribute; a leading dot is what hides a file there.
bool IsPlainVisibleFile(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p(path);
  if (!std::filesystem::is_regular_file(p, ec) || ec) return false;
  const std::string name = p.filename().string();
  return !name.empty() && name.front() != '.';
}

}  // namespace quendra
