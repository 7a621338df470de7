// Numbers in stored and typed texts: locale-free, so a value written on one machine reads the same on any
// other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quendra {

// A decimal integer with an optional sign, or a hexadecimal one after "0x", "0X" or "$"; blanks around it
// are ignored. Nothing else may follow. Hexadecimal texts of up to 16 digits wrap into the signed range.
std::optional<std::int64_t> ParseInteger(std::string_view text);

// A decimal number with "." or "," as the separator and an optional exponent; blanks around it are ignored.
std::optional<double> ParseFloat(std::string_view text);

// Shortest decimal text that reads back as the same double, "." as the separator.
std::string FloatToText(double value);

}  // namespace quendra
