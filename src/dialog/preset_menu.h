// Presets: complete sets of the dialog's settings kept in INI files of their own, loaded into and saved from
// the open dialog through the "Load & Save" menu. A preset is exactly what the settings store writes for the
// dialog with the full map when pointed at the file with no section prefix; those beside the library are
// offered in the menu directly.
#pragma once

#include <string>
#include <vector>

namespace quendra {

class TfrmOption;
class TMenuItem;

inline constexpr const char* kPresetFilter = "Presets (*.ini)|*.ini";

// The "*.ini" files of `folder` that are plain files (hidden and system files and folders left out), their
// full paths sorted by name without regard to case. An unreadable folder gives none.
std::vector<std::string> FindPresetFiles(const std::string& folder);

// Fills the menu with its fixed items: "Load preset", a separator, "Save preset" and the hidden filter item.
void BuildPresetMenu(TfrmOption& form);
// Before the menu opens: puts one item per preset file at its top, once per dialog.
void PresetMenuPopup(TfrmOption& form);
// A click on "Load preset", "Save preset" or a preset item.
void RunPresetOperation(TfrmOption& form, const TMenuItem& item);

}  // namespace quendra
