#include "localisation/translator.h"

#include <vector>

#include "component/ascii_text.h"
#include "component/control.h"
#include "component/property_binding.h"
#include "localisation/custom_translators.h"
#include "platform/clock.h"
#include "platform/file_io.h"

namespace quendra {

namespace {

constexpr int kTagSkipAll = 9999;
constexpr int kTagSkipSelf = 9998;
constexpr int kTagOwnerTranslates = 9997;
constexpr int kTagSkipFirst = 10000;
constexpr int kTagSkipLast = 10015;
// An object property leading back into its owner must not walk forever.
constexpr int kMaxItemDepth = 8;
// File mode new tries this many numbered names before it gives up.
constexpr int kMaxNumberedNames = 1000;

bool is_combo_box(const TPersistent& object) {
  const TClassInfo& info = object.ClassInfo();
  return info.InheritsFrom("TCustomComboBox") || info.InheritsFrom("TComboBox");
}

// Lists whose items are fixed choices of the interface: drop-down lists and radio groups. A list box holds
// data and keeps its lines.
bool has_interface_items(const TPersistent& object) {
  const TClassInfo& info = object.ClassInfo();
  return is_combo_box(object) || info.InheritsFrom("TCustomRadioGroup") || info.InheritsFrom("TRadioGroup");
}

// Controls whose "Text" is what the user typed or chose: never translated. Setting a combo box's text would
// also move its selection.
bool text_is_user_input(const TPersistent& object) {
  const TClassInfo& info = object.ClassInfo();
  for (std::string_view name : {"TCustomEdit", "TEdit", "TSpinEdit", "TCustomMemo", "TMemo"})
    if (info.InheritsFrom(name)) return true;
  return is_combo_box(object);
}

// Bits 1 hint, 2 caption, 4 items, 8 strings of a tag in 10000..10015.
unsigned skip_bits_of(const TComponent& component) {
  const int tag = component.Tag();
  return tag >= kTagSkipFirst && tag <= kTagSkipLast ? static_cast<unsigned>(tag - kTagSkipFirst) : 0u;
}

bool skipped_by_tag(std::string_view property, unsigned bits) {
  return ((bits & 1u) && SameTextAscii(property, "hint")) ||
         ((bits & 2u) && SameTextAscii(property, "caption")) ||
         ((bits & 4u) && SameTextAscii(property, "items")) ||
         ((bits & 8u) && SameTextAscii(property, "strings"));
}

bool worth_collecting(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || byte >= 128) return true;
  }
  return false;
}

// "[TForm]Options -> [TButton]btnOK": the owners from the outermost down to the component.
std::string component_path(const TComponent* component) {
  std::vector<const TComponent*> chain;
  for (; component != nullptr; component = component->Owner()) chain.push_back(component);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!path.empty()) path += " -> ";
    path += "[" + (*it)->ClassName() + "]" + (*it)->Name();
  }
  return path;
}

std::optional<std::int64_t> item_index(TPersistent& object) {
  const PropertyInfo* info = object.FindProperty("ItemIndex");
  if (info == nullptr || info->Kind != PropertyKind::Integer) return std::nullopt;
  try {
    return ValueToInteger(info->Get(object));
  } catch (...) {
    return std::nullopt;
  }
}

void restore_item_index(TPersistent& object, std::optional<std::int64_t> index) {
  if (!index || item_index(object) == index) return;
  try {
    object.SetOrdProp("ItemIndex", *index);
  } catch (...) {
  }
}

// "quendra.lng.new" -> "quendra.lng.1.new": the number goes before the last extension.
std::string numbered_name(const std::string& name, int number) {
  const std::size_t dot = name.find_last_of('.');
  const std::size_t slash = name.find_last_of("\\/");
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::size_t at = has_extension ? dot : name.size();
  return name.substr(0, at) + "." + std::to_string(number) + name.substr(at);
}

}  // namespace

const TClassInfo& TWtransl::StaticClass() {
  static const TClassInfo info{"TWtransl",
                               &TComponent::StaticClass(),
                               {
                                   binding::Field("ComponentProperties", &TWtransl::ComponentProperties),
                                   binding::Field("LanguageFile", &TWtransl::LanguageFile),
                               }};
  return info;
}

TWtransl::TWtransl() = default;

TWtransl::~TWtransl() {
  try {
    WriteCollectedTexts();
  } catch (...) {
    // Collected texts are a help for translators; losing them must not break the module's destruction.
  }
}

TWtransl::FileState TWtransl::State() {
  std::lock_guard lock(lock_);
  return state_;
}

std::string TWtransl::ReadFileLanguage() const {
  return ReadDefaultLanguage(LanguageFile);
}

void TWtransl::ReleaseTranslations() {
  std::lock_guard lock(lock_);
  translations_.Clear();
  loaded_ = false;
  loaded_key_.clear();
  state_.Count = 0;
  release_armed_ = false;
}

void TWtransl::ReleaseIfDue() {
  if (release_armed_ && platform::tick_count() - armed_at_ >= kReleaseIntervalMs) ReleaseTranslations();
}

int TWtransl::LoadLanguageFile(const std::string& base, const std::string& target) {
  if (LanguageFile.empty() || !platform::file_exists(LanguageFile)) return -1;
  std::optional<std::string> text;
  try {
    text = platform::read_whole_file(LanguageFile);
  } catch (...) {
    return -1;
  }
  if (!text) return -1;
  ParsedLanguageFile file = ParseLanguageFile(*text, base, target);
  translations_.Clear();
  state_.Encoding = file.Encoding;
  state_.Direction = file.Direction;
  state_.Charset = file.Charset;
  // The thread's locale is not changed: conversions on other threads must not see another decimal
  // separator halfway through. The number is kept for whoever needs it.
  state_.Locale = file.Locale;
  if (file.Save) state_.Save = *file.Save;
  if (file.File) state_.File = *file.File;
  for (const LanguageFileBlock& block : file.Blocks) {
    translations_.Add(block.Source, block.Translation);
    if (state_.Save == SaveMode::Unused) collected_.insert(block.Source);
  }
  return static_cast<int>(file.Blocks.size());
}

bool TWtransl::TranslateWith(std::string_view language, std::optional<std::string_view> base,
                             const std::function<void()>& pass) {
  std::lock_guard lock(lock_);
  language_ = std::string(language);
  base_ = std::string(base.value_or(BaseLanguage));
  ReleaseIfDue();
  release_armed_ = false;
  // A separator keeps "EN"+"DE" apart from "END"+"E".
  const std::string key = base_ + '\n' + language_;
  if (!loaded_ || key != loaded_key_) {
    loaded_ = true;
    loaded_key_ = key;
    state_.Count = LoadLanguageFile(base_, language_);
  }
  if (state_.Save == SaveMode::None && state_.Count <= 0) return false;
  struct ArmOnExit {
    TWtransl& self;
    ~ArmOnExit() {
      self.release_armed_ = true;
      self.armed_at_ = platform::tick_count();
    }
  } arm{*this};
  pass();
  return true;
}

bool TWtransl::TranslateComponent(std::string_view language, TComponent& component,
                                  std::optional<std::string_view> base) {
  return TranslateWith(language, base, [this, &component] {
    if (component.Tag() != kTagSkipSelf) TranslateOne(component);
    WalkOwned(component);
  });
}

bool TWtransl::TranslateComponent(std::string_view language, std::string& text,
                                  std::optional<std::string_view> base) {
  return TranslateWith(language, base, [this, &text] { text = TranslateText(text); });
}

std::string TWtransl::TranslateText(std::string_view text) {
  std::lock_guard lock(lock_);
  const TextLookup found = LookupAndCollect(text, {});
  return found.Found ? found.Translation : std::string(text);
}

TextLookup TWtransl::LookupAndCollect(std::string_view text, std::string_view property_name) {
  TextLookup found = translations_.Lookup(text, state_.Encoding);
  switch (state_.Save) {
    case SaveMode::Untranslated:
      if (!found.Found && worth_collecting(found.Escaped)) collected_.insert(found.Escaped);
      break;
    case SaveMode::UntranslatedWithPath:
      if (!found.Found && worth_collecting(found.Escaped)) {
        const std::string path = component_path(current_);
        collected_.insert(path.empty() ? found.Escaped
                                       : path + "." + std::string(property_name) + "=" + found.Escaped);
      }
      break;
    case SaveMode::Unused:
      // Kept apart from the sources, which a later reload of the file adds again.
      if (found.Found) used_sources_.insert(found.Source);
      used_sources_.insert(found.Escaped);
      break;
    case SaveMode::None:
    case SaveMode::All:
      break;
  }
  return found;
}

void TWtransl::TranslateProperty(TPersistent& object, const PropertyInfo& info) {
  if (info.Kind == PropertyKind::Text) {
    if (!info.Writable()) return;
    const std::string value = ValueToText(info.Get(object));
    const TextLookup found = LookupAndCollect(value, info.Name);
    if (found.Found && found.Translation != value) info.Set(object, found.Translation);
    return;
  }
  if (info.Kind != PropertyKind::Object || !info.Object) return;
  TPersistent* value = info.Object(object);
  if (value == nullptr) return;
  if (auto* list = dynamic_cast<TStringList*>(value)) {
    for (std::size_t i = 0; i < list->Count(); ++i) {
      const TextLookup found = LookupAndCollect((*list)[i], info.Name);
      if (found.Found && found.Translation != (*list)[i]) (*list)[i] = found.Translation;
    }
    return;
  }
  // A component met as a property value is someone else's: its owner's walk translates it.
  if (dynamic_cast<TComponent*>(value) != nullptr) return;
  if (const CustomTranslator custom = FindCustomTranslator(*value, false)) {
    custom(*this, *value);
    return;
  }
  TranslateItem(*value);
}

void TWtransl::TranslateProperties(TPersistent& object, unsigned skip_bits) {
  const bool skip_text = text_is_user_input(object);
  for (const std::string& name : ComponentProperties.Lines()) {
    if (skipped_by_tag(name, skip_bits) || (skip_text && SameTextAscii(name, "text"))) continue;
    const PropertyInfo* info = object.FindProperty(name);
    if (info == nullptr) continue;
    try {
      TranslateProperty(object, *info);
    } catch (...) {
      // One property that cannot be translated keeps its text; the others are still tried.
    }
  }
  if (const CustomTranslator custom = FindCustomTranslator(object, true)) {
    try {
      custom(*this, object);
    } catch (...) {
    }
  }
}

void TWtransl::TranslateItem(TPersistent& item) {
  std::lock_guard lock(lock_);
  if (item_depth_ >= kMaxItemDepth) return;
  ++item_depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{item_depth_};
  TranslateProperties(item, 0);
}

void TWtransl::ApplyDirectionAndFonts(TPersistent& object) {
  if (state_.Direction != ReadingDirection::None) {
    if (const PropertyInfo* info = object.FindProperty("BiDiMode"); info != nullptr && info->Writable()) {
      try {
        info->Set(object, static_cast<std::int64_t>(state_.Direction));
      } catch (...) {
      }
    }
  }
  for (std::string_view name : {"FocusFont", "Font"}) {
    const PropertyInfo* info = object.FindProperty(name);
    if (info == nullptr || info->Kind != PropertyKind::Object || !info->Object) continue;
    TPersistent* font = info->Object(object);
    if (font == nullptr || font->ClassInfo().InheritsFrom("TUniFont")) continue;
    try {
      if (font->GetOrdProp("Charset") != kSymbolCharset) font->SetOrdProp("Charset", state_.Charset);
    } catch (...) {
    }
  }
}

void TWtransl::TranslateOne(TComponent& component) {
  const TComponent* outer = current_;
  current_ = &component;
  ApplyDirectionAndFonts(component);
  const std::optional<std::int64_t> index =
      has_interface_items(component) ? item_index(component) : std::nullopt;
  TranslateProperties(component, skip_bits_of(component));
  restore_item_index(component, index);
  current_ = outer;
}

void TWtransl::TranslateListItems(TComponent& list) {
  if (skip_bits_of(list) & 4u) return;
  const PropertyInfo* info = list.FindProperty("Items");
  if (info == nullptr) return;
  const TComponent* outer = current_;
  current_ = &list;
  const std::optional<std::int64_t> index = item_index(list);
  try {
    TranslateProperty(list, *info);
  } catch (...) {
  }
  restore_item_index(list, index);
  current_ = outer;
}

void TWtransl::WalkOwned(TComponent& owner) {
  for (std::size_t i = 0; i < owner.ComponentCount(); ++i) {
    TComponent& child = owner.Components(i);
    const int tag = child.Tag();
    const auto* windowed = dynamic_cast<const TWinControl*>(&child);
    if (tag == kTagSkipAll || child.Name().starts_with("__") ||
        (windowed != nullptr && (windowed->HelpContext == -1 || windowed->HelpContext == kTagSkipAll)))
      continue;
    if (tag != kTagSkipSelf && tag != kTagOwnerTranslates) TranslateOne(child);
    if (child.Name().starts_with("_")) continue;
    WalkOwned(child);
    if (tag != kTagOwnerTranslates && has_interface_items(child)) TranslateListItems(child);
  }
}

void TWtransl::WriteCollectedTexts() {
  std::lock_guard lock(lock_);
  std::vector<std::string> texts;
  for (const std::string& text : collected_) {
    if (text.empty()) continue;
    if (state_.Save == SaveMode::Unused && used_sources_.contains(text)) continue;
    texts.push_back(text);
  }
  if (texts.empty() || LanguageFile.empty()) return;

  const std::string first_name = LanguageFile + (state_.Save == SaveMode::Unused ? ".unused" : ".new");
  std::string name = first_name;
  if (state_.File == FileMode::New) {
    for (int number = 1; platform::file_exists(name); ++number) {
      if (number > kMaxNumberedNames) return;
      name = numbered_name(first_name, number);
    }
  }
  std::string out;
  const bool append = state_.File == FileMode::Append && platform::file_exists(name);
  if (append) {
    out = platform::read_whole_file(name).value_or(std::string());
  } else {
    // A file made afresh always starts with its languages, also when it replaces an older one.
    out += "[Languages]\r\n";
    out += "$" + base_ + " = #1\r\n";
    out += "$" + language_ + " = #2 (Default)\r\n";
    out += "Default = " + language_ + "\r\n";
    out += "\r\n";
  }
  for (const std::string& text : texts) {
    out += base_ + ":>" + text + "\r\n";
    out += language_ + ":>\r\n";
    out += "\r\n";
  }
  out += "\r\n";
  platform::write_file_atomically(name, out);
}

}  // namespace quendra
