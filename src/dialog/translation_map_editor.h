// The "Characters translation" page: edits the three character translation maps of the dialog as text
// lines. Line 1 is "Y"/"N" for dropping codes below 32, line 2 the same for codes above 127, line 3 the case
// conversion (0 none, 1 upper, 2 lower), and line 4 + n the entry of character n: empty (keep), "R"
// (remove), "C" and a decimal code (replace by that character) or "S" and a text (replace by a string). The
// page never holds a table: each change rewrites one line of the current map and refreshes the list of
// translations.
#pragma once

#include <string>

#include "component/string_list.h"

namespace quendra {

class TfrmOption;

class TranslationMapEditor {
 public:
  // Attaches the handlers to the page's controls of `form`.
  explicit TranslationMapEditor(TfrmOption& form);

  // Sets the direction and the character from their remembered tags and shows the map.
  void PreparePage();

  // The map the direction drop-down shows: MapTransl1 for item 1, MapTransl2 for item 2, else MapTransl0.
  TStringList& CurrentMap();

  // Handlers; `by_user` tells a user's change from the page's own preparation.
  void DirectionChange(bool by_user);
  void CharacterChange();
  void ModeChange();
  void StringEditChange();
  // `tag` is the clicked control's tag: 0 below 32, 1 above 127, 2 case conversion.
  void RangeOrCaseClick(int tag);
  void ClearClick();
  void TranslationsClick();
  void ShowTranslations(const TStringList& map);

 private:
  bool Suspended() const;
  // Shows the entry of the selected character (character change from its second step).
  void ShowEntry();
  void ShowModeControls(int mode);
  // Appends empty lines until the map has `count` lines.
  static void EnsureLines(TStringList& map, std::size_t count);

  TfrmOption& form_;
};

}  // namespace quendra
