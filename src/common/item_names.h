// Value names used over and over (element and attribute names, the standard values of a packet): made once
// per process as constant counted strings, which list items then refer to without counting references. Rows
// copy every name of their working list, so this saves two strings per value and a reference-count change
// per copy.
#pragma once

#include <string>
#include <string_view>

#include "quendra/plugin_api.h"

namespace quendra {

// A name and its lower case as an item holds them. Both strings are constant and live as long as the library.
struct ItemName {
  QuendraAnsiStr Name;
  QuendraAnsiStr LowerName;
};

// The process-wide entry for `name`, made on first use. Null when the name is empty, too long to be worth
// keeping, or the table is full (names come from received data, so it is bounded): the caller then makes
// counted strings for its item as usual. Any thread may call it.
const ItemName* InternItemName(std::string_view name);

// Frees every name made so far; for the library's shutdown, when no list refers to them any more.
void FreeItemNames();

}  // namespace quendra
