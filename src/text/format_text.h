// Filling "%s" placeholders of message texts, which may come from a language file: a text with the
// wrong placeholders must still give a log line, never a failure.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace quendra {

// Each "%s" takes the next argument (an empty text when the arguments are used up); "%%" is one "%";
// any other "%" stays as it is. Arguments left over are dropped.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace quendra
