// The "#XX" notation for character codes in settings: "#0D#0A" is carriage return and line feed.
#pragma once

#include <string>
#include <string_view>

namespace quendra {

// "##" gives one "#"; "#" and two hexadecimal digits (either case) give the character with that code;
// any other "#" (too near the end, or not followed by two hex digits) stays as it is.
std::string DecodeCharCodes(std::string_view text);

}  // namespace quendra
