// The escaping every stored text goes through, in the registry and in INI files alike, so that values keep
// leading and trailing spaces, line breaks and control characters through a store that trims values and
// splits lines:
//
//   "%"                      -> "%%"
//   control characters, "+"  -> "%" and two lower-case hexadecimal digits ("%0d%0a", "%2b", "%00")
//   a leading or trailing space -> "+"; a space with other characters on both sides stays a space
//   everything else (hexadecimal 20 to FF)  -> itself
//
// Decoding reverses it and never fails: "%%" is "%", "%" and two hexadecimal digits (either case) is that
// character, any other "%" is itself, "+" is a space.
#pragma once

#include <string>
#include <string_view>

namespace quendra {

std::string EscapeSettingText(std::string_view text);
std::string UnescapeSettingText(std::string_view text);

}  // namespace quendra
