#include "quendra/text_resources.h"

#include "platform/ansi_codepage.h"

namespace quendra {

void TCustomTextResources::RegisterText(std::string_view name, std::string* field) {
  texts_.push_back(Entry{name, field});
}

void TCustomTextResources::TranslateTexts(const TextTranslator& translate) {
  const platform::AnsiCodePage& cp = platform::AnsiCodePage::System();
  for (const Entry& entry : texts_) {
    try {
      std::u16string translated = translate(cp.ToUtf16(*entry.field));
      *entry.field = cp.FromUtf16(translated);
    } catch (...) {
      // A text that cannot be translated keeps its default: logging must never lack a text.
    }
  }
}

std::vector<std::string_view> TCustomTextResources::PropertyNames() const {
  std::vector<std::string_view> names;
  names.reserve(texts_.size());
  for (const Entry& entry : texts_) names.push_back(entry.name);
  return names;
}

const std::string* TCustomTextResources::Property(std::string_view name) const {
  for (const Entry& entry : texts_) {
    if (entry.name == name) return entry.field;
  }
  return nullptr;
}

bool TCustomTextResources::SetProperty(std::string_view name, std::string value) {
  for (const Entry& entry : texts_) {
    if (entry.name == name) {
      *entry.field = std::move(value);
      return true;
    }
  }
  return false;
}

TTextResources::TTextResources() {
  RegisterText("ErrParamFormat", &ErrParamFormat);
  RegisterText("ErrDateTimeConvert", &ErrDateTimeConvert);
  RegisterText("ErrBadRegExp", &ErrBadRegExp);
  RegisterText("ErrParseData", &ErrParseData);
  RegisterText("ErrConfigChange", &ErrConfigChange);
}

}  // namespace quendra
