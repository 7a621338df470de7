#include "dialog/preset_menu.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "component/ascii_text.h"
#include "dialog/file_attributes.h"
#include "dialog/grid_rows.h"
#include "dialog/options_dialog.h"

namespace quendra {

namespace {

constexpr const char* kFilterItemName = "miPresetFilter";

std::filesystem::path FolderPath(std::string folder) {
  // The module keeps its folder with a trailing backslash, as Windows writes it.
  while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return std::filesystem::path(folder);
}

std::string FilterText(const TfrmOption& form) {
  for (std::size_t i = 0; i < form.pmPresets->Count(); ++i)
    if (SameTextAscii(form.pmPresets->Items(i).Name(), kFilterItemName))
      return form.pmPresets->Items(i).Caption;
  return kPresetFilter;
}

// The second field of the filter split at each "|*.": "ini" for "Presets (*.ini)|*.ini".
std::string DefaultExtension(const std::string& filter) {
  const std::size_t at = filter.find("|*.");
  if (at == std::string::npos) return {};
  const std::size_t from = at + 3;
  const std::size_t next = filter.find("|*.", from);
  return filter.substr(from, next == std::string::npos ? std::string::npos : next - from);
}

// Puts a value back when the operation ends, however it ends.
template <class T>
class Restore {
 public:
  explicit Restore(T& value) : value_(value), saved_(value) {}
  ~Restore() { value_ = saved_; }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

 private:
  T& value_;
  T saved_;
};

}  // namespace

std::vector<std::string> FindPresetFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  const std::filesystem::path dir = FolderPath(folder);
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::filesystem::path& path = it->path();
    if (!SameTextAscii(path.extension().string(), ".ini")) continue;
    if (!IsPlainVisibleFile(path.string())) continue;
    files.push_back(path.string());
  }
  std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
    return LowerAscii(std::filesystem::path(a).filename().string()) <
           LowerAscii(std::filesystem::path(b).filename().string());
  });
  return files;
}

void BuildPresetMenu(TfrmOption& form) {
  TPopupMenu& menu = *form.pmPresets;
  auto run = [&form](TMenuItem& item) { RunPresetOperation(form, item); };
  TMenuItem& load = menu.Add("miLoadPreset");
  load.Caption = "Load preset";
  load.SetTag(kLoadPresetTag);
  load.OnClick = run;
  // Assigned by count: mingw g++ 12 at -O3 reports a false -Wrestrict for a one-character literal.
  menu.Add("miPresetSeparator").Caption.assign(1, '-');
  TMenuItem& save = menu.Add("miSavePreset");
  save.Caption = "Save preset";
  save.SetTag(kSavePresetTag);
  save.OnClick = run;
  TMenuItem& filter = menu.Add(kFilterItemName);
  filter.Caption = kPresetFilter;
  filter.Visible = false;
  menu.OnPopup = [&form](TPopupMenu&) { PresetMenuPopup(form); };
}

void PresetMenuPopup(TfrmOption& form) {
  TPopupMenu& menu = *form.pmPresets;
  if (menu.Count() > 0 && menu.Items(0).Tag() == kPresetItemTag) return;
  std::size_t at = 0;
  for (const std::string& file : FindPresetFiles(form.Host().ModuleDir)) {
    TMenuItem& item = menu.Insert(at++);
    item.Caption = std::filesystem::path(file).stem().string();
    item.Hint = file;
    item.SetTag(kPresetItemTag);
    item.OnClick = [&form](TMenuItem& clicked) { RunPresetOperation(form, clicked); };
  }
}

void RunPresetOperation(TfrmOption& form, const TMenuItem& item) {
  const bool load = item.Tag() == kLoadPresetTag || item.Tag() == kPresetItemTag;
  TFileDialog& box = load ? static_cast<TFileDialog&>(*form.OpenDialog) : *form.SaveDialog;
  Restore<std::string> keep_filter(box.Filter);
  box.Filter = FilterText(form);
  box.DefaultExt = DefaultExtension(box.Filter);
  box.InitialDir = form.Host().ModuleDir;

  std::string file;
  if (item.Tag() == kPresetItemTag) {
    file = item.Hint;
  } else {
    // A listed preset leaves the boxes as they were; only a box the user saw takes the filter index.
    const int keep_index = box.FilterIndex;
    box.FilterIndex = 1;
    if (!form.ExecuteFileBox || !form.ExecuteFileBox(box)) {
      box.FilterIndex = keep_index;
      return;
    }
    file = box.FileName;
  }
  if (file.empty()) return;

  // The preset's own location: the module's, with the preset file and no section prefix. The module's
  // location is never changed, so nothing else can see it half-switched.
  SettingsLocation location = form.Host().Location;
  location.IniFile = file;
  location.IniSectionPrefix.clear();
  if (load) {
    form.LoadControls(location);
    // The preset carries the boxes' entries of whoever saved it; the box the user just used keeps the
    // file chosen in it, so the next save remembers that one.
    if (item.Tag() != kPresetItemTag) {
      box.FileName = file;
      box.FilterIndex = 1;
    }
  } else {
    form.Filters->Hint = RowsToText(*form.Filters);
    form.XMLs->Hint = RowsToText(*form.XMLs);
    SaveSettings(location, form.Host().Map, form);
  }
}

}  // namespace quendra
