// The settings map of the parser module (its `Properties` list): one line per persisted setting, the
// dialog's property path, a comma, and the key path it is stored under. Lines above ";---short---" are
// the short list the dialog saves even when it is cancelled.
#pragma once

#include <string>
#include <vector>

#include "component/string_list.h"

namespace quendra {

inline constexpr const char* kShortListMarker = ";---short---";

// The module's map, in order.
std::vector<std::string> DataSourceSettingsMap();

// The map cut after the marker line: the lines above it and the marker itself; a map without the marker
// is returned whole.
TStringList ShortenSettingsMap(const TStringList& map);

}  // namespace quendra
