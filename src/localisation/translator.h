// TWtransl: replaces the English interface texts of a component tree, or of single texts, by those of a
// language file.
//
// A translation pass names a target language and a base language ("DE" from "EN"). The first pass for a pair
// reads the language file; the translations stay loaded until 20 s after the last pass and are then dropped,
// so the next pass reads the file again (a file edited meanwhile is picked up). A missing or unreadable file
// means no translations: the pass then changes nothing and reports false, unless the file asked to collect
// texts.
//
// The walk over a component: each property named in ComponentProperties (ignoring case) is translated: a
// text property, every line of a string list, or an object's own listed properties. Components are left
// out by tag and name: tag 9999, a windowed control with help context -1 or 9999, or a name starting "__"
// skip the component and everything it owns; tags 9998 and 9997 skip the component but not what it owns; a
// name starting "_" stops the walk below it; tags 10000..10015 skip the hint (bit 1), caption (2), items (4)
// or strings (8). The items of drop-down lists and radio groups are translated, their selection kept; text
// typed or chosen by the user (the text of edits and combo boxes, list box lines) is never translated.
//
// Save modes set by the file collect untranslated or unused texts; they are written beside the language
// file (".new" or ".unused") when the translator is destroyed.
//
// Threads: every pass, lookup and release runs under the translator's lock, so several threads may use one
// translator. The component tree passed in must not be changed by another thread during the pass.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "component/component.h"
#include "component/string_list.h"
#include "localisation/language_file.h"
#include "localisation/translation_maps.h"

namespace quendra {

class TWtransl : public TComponent {
 public:
  // Translations are dropped this long after the last pass.
  static constexpr std::uint32_t kReleaseIntervalMs = 20000;

  TWtransl();
  // Writes the collected texts, if any; failures to write are ignored.
  ~TWtransl() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Published: the property names translated, compared ignoring case, and the language file's path. Set
  // them before the first pass; they are not guarded.
  TStringList ComponentProperties{{"CAPTION", "HINT", "TEXT", "TITLE", "CAPTIONS"}};
  std::string LanguageFile = "app.lng";
  // The base language of passes that name none.
  std::string BaseLanguage = "EN";

  // Translates `component` (unless its tag is 9998) and the components it owns. True when a pass ran.
  bool TranslateComponent(std::string_view language, TComponent& component,
                          std::optional<std::string_view> base = std::nullopt);
  // Replaces `text` by its translation. True when a pass ran.
  bool TranslateComponent(std::string_view language, std::string& text,
                          std::optional<std::string_view> base = std::nullopt);
  // A pass over texts held outside any component tree: `pass` runs under the lock, with the translations
  // loaded, and calls TranslateText for each text. True when the pass ran.
  bool TranslateWith(std::string_view language, std::optional<std::string_view> base,
                     const std::function<void()>& pass);

  // One text in, its translation out (the text itself when there is none); collected in the save modes.
  // Meant for custom translators and TranslateWith passes, which run with the translations loaded.
  std::string TranslateText(std::string_view text);
  // The listed properties of an object that is not a component (a collection item), then the custom
  // translator for its class; for custom translators that walk collections.
  void TranslateItem(TPersistent& item);

  // "Default" of "[Languages]" in the language file; empty when there is none.
  std::string ReadFileLanguage() const;

  // Drops the translations now, as the release timer does.
  void ReleaseTranslations();

  // State read from the language file by the last load.
  struct FileState {
    int Count = 0;  // translations loaded; -1 when the file is missing or unreadable
    TextEncoding Encoding = TextEncoding::None;
    ReadingDirection Direction = ReadingDirection::None;
    int Charset = kDefaultCharset;
    std::uint32_t Locale = 0;  // the file's "Locale=" value, 0 when none
    SaveMode Save = SaveMode::None;
    FileMode File = FileMode::New;
  };
  FileState State();

 private:
  void ReleaseIfDue();
  int LoadLanguageFile(const std::string& base, const std::string& target);
  TextLookup LookupAndCollect(std::string_view text, std::string_view property_name);
  void TranslateOne(TComponent& component);
  void WalkOwned(TComponent& owner);
  void TranslateProperties(TPersistent& object, unsigned skip_bits);
  void TranslateProperty(TPersistent& object, const PropertyInfo& info);
  void TranslateListItems(TComponent& list);
  void ApplyDirectionAndFonts(TPersistent& object);
  void WriteCollectedTexts();

  std::recursive_mutex lock_;
  std::string language_, base_;  // of the last pass
  TWtranslLanguagesList translations_;
  bool loaded_ = false;
  std::string loaded_key_;
  FileState state_;
  // Save modes: texts collected for the file's translators, and in save mode 3 the sources a lookup used.
  std::set<std::string> collected_;
  std::set<std::string> used_sources_;
  // The release timer: armed after each pass, checked when the translator is next used.
  bool release_armed_ = false;
  std::uint32_t armed_at_ = 0;
  // The component whose properties are being translated, for the paths of save mode 4.
  const TComponent* current_ = nullptr;
  int item_depth_ = 0;
};

}  // namespace quendra
