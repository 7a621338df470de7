#include <string>
#include <vector>

#include "quendra/quendra_module.h"

namespace quendra {

std::vector<std::string> BuildCharacterList() {
  static const char* const kControlNames[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",
                                              "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1",
                                              "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM",  "SUB",
                                              "ESC", "FS",  "GS",  "RS",  "US",  "SP"};
  std::vector<std::string> list;
  list.reserve(256);
  for (int code = 0; code < 256; ++code) {
    std::string entry = "ASCII " + std::to_string(code);
    if (code <= 32)
      entry += std::string(" | '") + kControlNames[code] + "'";
    else if (code <= 127)
      entry += std::string(" | '") + static_cast<char>(code) + "'";
    list.push_back(std::move(entry));
  }
  return list;
}

}  // namespace quendra
