// The module's log message texts: format strings with "%s" placeholders, kept in one table so the
// interface localisation can translate them with the rest of the module.
//
// Built with the module, translated once right after, read afterwards by any thread that logs; the
// texts do not change once translation is done. Not copyable: the registry of texts points at the
// table's own fields.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// The translatable part: a list of named text fields and the hook that translates them all.
class TCustomTextResources {
 public:
  // The component tag that marks a message table.
  static constexpr int kTag = 9997;

  TCustomTextResources() = default;
  TCustomTextResources(const TCustomTextResources&) = delete;
  TCustomTextResources& operator=(const TCustomTextResources&) = delete;
  virtual ~TCustomTextResources() = default;

  int Tag() const { return tag_; }

  // Translates one wide text; returns the text itself when it knows no translation.
  using TextTranslator = std::function<std::u16string(std::u16string_view)>;
  // The translation hook: every registered text, in registration order, goes to UTF-16, through
  // `translate` and back to the ANSI code page. A text whose translation fails stays as it was, and
  // the hook goes on with the next one.
  virtual void TranslateTexts(const TextTranslator& translate);

  // The registered texts by property name, in registration order.
  std::vector<std::string_view> PropertyNames() const;
  // nullptr for a name that is not a text of this table (names match exactly).
  const std::string* Property(std::string_view name) const;
  bool SetProperty(std::string_view name, std::string value);

 protected:
  void RegisterText(std::string_view name, std::string* field);

 private:
  struct Entry {
    std::string_view name;
    std::string* field;
  };
  int tag_ = kTag;
  std::vector<Entry> texts_;
};

class TTextResources : public TCustomTextResources {
 public:
  TTextResources();

  // A value that failed to convert: the reason.
  std::string ErrParamFormat = "Error occurred while parameter formatting (%s)";
  // A date or time that failed to read: the value, the template, the reason.
  std::string ErrDateTimeConvert =
      "Error occurred while converting date/time string value '%s' with the template %s (%s)";
  // A filter expression that does not compile: the expression, the engine's message.
  std::string ErrBadRegExp = "An invalid regular expression %s [%s]. Please, use valid regexp syntax.";
  // A block the XML reader rejects; the log line adds ": " and the reader's message.
  std::string ErrParseData = "Unable to parse data";
  // A failure while the configuration is loaded: the error's message.
  std::string ErrConfigChange = "Error occurred while changing the configuration (%s)";
};

}  // namespace quendra
