#include "platform/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace quendra::platform {

std::optional<std::string> read_whole_file(const std::string& path) {
  if (!file_exists(path)) return std::nullopt;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) throw FileError("Cannot open " + path + ": " + std::strerror(errno));
  std::string data;
  char buf[65536];
  for (;;) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, file.get());
    data.append(buf, n);
    if (n < sizeof buf) break;
  }
  if (std::ferror(file.get())) throw FileError("Cannot read " + path);
  return data;
}

}  // namespace quendra::platform
