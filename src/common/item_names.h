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

// Makes the table now. Static objects are destroyed in the reverse order of their making, so a library that
// calls this before it makes anything holding lists keeps its names until every such list is gone.
void StartItemNames();

}  // namespace quendra
