// The error of a text that does not convert to the value asked for. Its what() is the reason text
// that the log line shows, such as "'abc' is not a valid integer value".
#pragma once

#include <stdexcept>
#include <string>

namespace quendra {

class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& reason) : std::runtime_error(reason) {}
};

}  // namespace quendra
