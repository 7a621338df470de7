#include "dialog/translation_map_editor.h"

#include <optional>

#include "component/text_numbers.h"
#include "dialog/options_dialog.h"

namespace quendra {

namespace {

constexpr std::size_t kEntryOffset = 3;  // the entry of code n is line n + 4, index n + 3
constexpr std::size_t kEntryRestLimit = 255;
constexpr int kSpaceCode = 32;

enum Mode { kKeep = 0, kRemove = 1, kReplaceChar = 2, kReplaceString = 3 };

const std::string& LineOf(const TStringList& map, std::size_t index) {
  static const std::string empty;
  return index < map.Count() ? map[index] : empty;
}

std::string EntryRest(const std::string& entry) {
  return entry.size() > 1 ? entry.substr(1, kEntryRestLimit) : std::string();
}

// A whole decimal number as the map stores it; nothing for anything else.
std::optional<int> ReadNumber(std::string_view text) {
  const auto n = ParseInteger(text);
  if (!n || *n < INT32_MIN || *n > INT32_MAX) return std::nullopt;
  return static_cast<int>(*n);
}

// Sets a flag for the length of a scope, and puts the old value back however the scope ends.
class ScopedTag {
 public:
  ScopedTag(TComponent& component, int tag) : component_(component), old_(component.Tag()) {
    component_.SetTag(tag);
  }
  ~ScopedTag() { component_.SetTag(old_); }
  ScopedTag(const ScopedTag&) = delete;
  ScopedTag& operator=(const ScopedTag&) = delete;

 private:
  TComponent& component_;
  int old_;
};

}  // namespace

TranslationMapEditor::TranslationMapEditor(TfrmOption& form) : form_(form) {
  form_.comboTransDirection->OnChange = [this] { DirectionChange(true); };
  form_.comboChar->OnChange = [this] { CharacterChange(); };
  form_.rgTransMode->OnChange = [this] { ModeChange(); };
  form_.comboTransChar->OnChange = [this] { ModeChange(); };
  form_.edtTransStr->OnChange = [this] { StringEditChange(); };
  form_.chkRemoveBelow32->OnClick = [this] { RangeOrCaseClick(form_.chkRemoveBelow32->Tag()); };
  form_.chkRemoveAbove127->OnClick = [this] { RangeOrCaseClick(form_.chkRemoveAbove127->Tag()); };
  form_.rgCharReg->OnClick = [this] { RangeOrCaseClick(form_.rgCharReg->Tag()); };
  form_.btnClearTransl->OnClick = [this] { ClearClick(); };
  form_.lbTranslations->OnClick = [this] { TranslationsClick(); };
}

TStringList& TranslationMapEditor::CurrentMap() {
  switch (form_.comboTransDirection->ItemIndex()) {
    case 1:
      return form_.MapTransl1->Strings;
    case 2:
      return form_.MapTransl2->Strings;
    default:
      return form_.MapTransl0->Strings;
  }
}

bool TranslationMapEditor::Suspended() const {
  return form_.gbTran->Tag() == 1;
}

void TranslationMapEditor::EnsureLines(TStringList& map, std::size_t count) {
  while (map.Count() < count) map.Add({});
}

void TranslationMapEditor::PreparePage() {
  form_.comboTransDirection->SetItemIndex(form_.comboTransDirection->Tag());
  form_.comboChar->SetItemIndex(form_.comboChar->Tag());
  DirectionChange(false);
}

void TranslationMapEditor::DirectionChange(bool by_user) {
  if (by_user) form_.comboTransDirection->SetTag(form_.comboTransDirection->ItemIndex());
  ScopedTag suspend(*form_.gbTran, 1);
  TStringList& map = CurrentMap();
  form_.chkRemoveBelow32->Checked = LineOf(map, 0) == "Y";
  form_.chkRemoveAbove127->Checked = LineOf(map, 1) == "Y";
  form_.rgCharReg->SetItemIndex(ReadNumber(LineOf(map, 2)).value_or(0));
  ShowEntry();
  ShowTranslations(map);
}

void TranslationMapEditor::CharacterChange() {
  if (Suspended()) return;
  form_.comboChar->SetTag(form_.comboChar->ItemIndex());
  ShowEntry();
}

void TranslationMapEditor::ShowEntry() {
  const int code = form_.comboChar->ItemIndex();
  if (code < 0) return;
  TStringList& map = CurrentMap();
  const std::size_t line = static_cast<std::size_t>(code) + kEntryOffset;
  EnsureLines(map, line + 1);
  // The mode drop-down and the string edit only report user changes, so setting them here runs no
  // handler; the edit's tag still marks the refresh for a view that echoes every change.
  ScopedTag quiet(*form_.edtTransStr, 1);
  form_.edtTransStr->Text.clear();
  const std::string& entry = map[line];
  int mode = kKeep;
  if (entry == "R") {
    mode = kRemove;
  } else if (!entry.empty() && entry[0] == 'C') {
    mode = kReplaceChar;
    form_.comboTransChar->SetItemIndex(ReadNumber(EntryRest(entry)).value_or(-1));
  } else if (!entry.empty() && entry[0] == 'S') {
    mode = kReplaceString;
    form_.edtTransStr->Text = EntryRest(entry);
  }
  form_.rgTransMode->SetItemIndex(mode);
  ShowModeControls(mode);
}

void TranslationMapEditor::ShowModeControls(int mode) {
  form_.comboTransChar->Visible = mode == kReplaceChar;
  form_.edtTransStr->Visible = mode == kReplaceString;
  form_.edtTransStr->SetBounds(form_.comboTransChar->Bounds());
}

void TranslationMapEditor::StringEditChange() {
  if (Suspended() || form_.edtTransStr->Tag() == 1) return;
  ModeChange();
}

void TranslationMapEditor::ModeChange() {
  if (Suspended()) return;
  const int mode = form_.rgTransMode->ItemIndex();
  ShowModeControls(mode);
  TStringList& map = CurrentMap();
  const int code = form_.comboChar->ItemIndex();
  if (code >= 0) {
    const std::size_t line = static_cast<std::size_t>(code) + kEntryOffset;
    EnsureLines(map, line + 1);
    // Entries are built by appending: mingw g++ 12 at -O3 reports a false -Wrestrict for "C" + text.
    switch (mode) {
      case kRemove:
        map[line].assign(1, 'R');
        break;
      case kReplaceChar:
        if (form_.comboTransChar->ItemIndex() < 0) form_.comboTransChar->SetItemIndex(kSpaceCode);
        map[line].assign(1, 'C').append(std::to_string(form_.comboTransChar->ItemIndex()));
        break;
      case kReplaceString:
        map[line].assign(1, 'S').append(form_.edtTransStr->Text);
        break;
      default:
        map[line].clear();
        break;
    }
  }
  ShowTranslations(map);
}

void TranslationMapEditor::RangeOrCaseClick(int tag) {
  if (Suspended()) return;
  TStringList& map = CurrentMap();
  const std::size_t index = static_cast<std::size_t>(tag);
  EnsureLines(map, index + 1);
  if (tag == 0 || tag == 1) {
    const TCheckBox& box = tag == 0 ? *form_.chkRemoveBelow32 : *form_.chkRemoveAbove127;
    map[index].assign(1, box.Checked ? 'Y' : 'N');
  } else {
    map[2] = std::to_string(form_.rgCharReg->ItemIndex());
  }
  ShowTranslations(map);
}

void TranslationMapEditor::ClearClick() {
  if (Suspended()) return;
  TStringList& map = CurrentMap();
  map.Clear();
  ShowTranslations(map);
}

void TranslationMapEditor::ShowTranslations(const TStringList& map) {
  TStringList lines;
  int low = 0;
  int high = 255;
  if (LineOf(map, 0) == "Y") {
    lines.Add(form_.chkRemoveBelow32->Caption);
    low = 32;
  }
  if (LineOf(map, 1) == "Y") {
    lines.Add(form_.chkRemoveAbove127->Caption);
    high = 127;
  }
  if (const auto c = ReadNumber(LineOf(map, 2));
      c && (*c == 1 || *c == 2) && static_cast<std::size_t>(*c) < form_.rgCharReg->Items.Count())
    lines.Add(form_.rgCharReg->Caption + ": " + form_.rgCharReg->Items[static_cast<std::size_t>(*c)]);
  for (int code = low; code <= high; ++code) {
    const std::size_t line = static_cast<std::size_t>(code) + kEntryOffset;
    if (line >= map.Count()) break;
    const std::string& entry = map[line];
    if (entry.empty()) continue;
    const std::string ascii = "ASCII " + std::to_string(code);
    switch (entry[0]) {
      case 'R':
        lines.Add(form_.rgTransMode->Items[kRemove] + " " + ascii);
        break;
      case 'C':
        lines.Add(ascii + " -> ASCII " + EntryRest(entry));
        break;
      case 'S':
        lines.Add(ascii + " -> " + EntryRest(entry));
        break;
      default:
        break;
    }
  }
  form_.lbTranslations->Items = std::move(lines);
}

void TranslationMapEditor::TranslationsClick() {
  const std::string line = form_.lbTranslations->SelectedText();
  if (line.rfind("ASCII", 0) != 0) return;
  const std::size_t start = line.find("ASCII ");
  if (start == std::string::npos) return;
  const std::size_t from = start + 6;
  const std::size_t end = line.find(' ', from);
  const std::string_view digits =
      std::string_view(line).substr(from, end == std::string::npos ? end : end - from);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return;
  const auto code = ReadNumber(digits);
  if (!code || *code < 0 || static_cast<std::size_t>(*code) >= form_.comboChar->Items.Count()) return;
  form_.comboChar->SetItemIndex(*code);
  ShowEntry();
}

}  // namespace quendra
