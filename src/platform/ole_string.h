// Wide OLE strings (BSTR): UTF-16 text with its byte length in the four bytes before the first character and
// a zero character after the last. On Windows these are the system's own, so a host frees them with
// SysFreeString; elsewhere the same layout from the shared heap.
#pragma once

#include <cstdint>

#include "quendra/plugin_api.h"

namespace quendra::platform {

// Returns null for length 0 only when `text` is null; throws std::bad_alloc on failure.
char16_t* ole_string_alloc(const char16_t* text, uint32_t length);
void ole_string_free(char16_t* text) noexcept;
uint32_t ole_string_length(const char16_t* text) noexcept;  // in characters; 0 for null

// Clears or copies variant types the plug-in does not manage itself (interfaces, arrays, records). Returns false
// when the platform cannot handle the type either; the caller then treats the value as empty.
bool variant_clear_foreign(QuendraVariant* value) noexcept;
bool variant_copy_foreign(QuendraVariant* target, const QuendraVariant* source) noexcept;

}  // namespace quendra::platform
