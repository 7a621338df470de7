#include "quendra/text_resources.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quendra {
namespace {

TEST(TTextResources, DefaultTextsCharacterForCharacter) {
  TTextResources texts;
  EXPECT_EQ(texts.Tag(), 9997);
  EXPECT_EQ(texts.ErrParamFormat, "Error occurred while parameter formatting (%s)");
  EXPECT_EQ(texts.ErrDateTimeConvert,
            "Error occurred while converting date/time string value '%s' with the template %s (%s)");
  EXPECT_EQ(texts.ErrBadRegExp, "An invalid regular expression %s [%s]. Please, use valid regexp syntax.");
  EXPECT_EQ(texts.ErrParseData, "Unable to parse data");
  EXPECT_EQ(texts.ErrConfigChange, "Error occurred while changing the configuration (%s)");
}

TEST(TTextResources, PropertiesInRegistrationOrder) {
  TTextResources texts;
  std::vector<std::string_view> names = texts.PropertyNames();
  EXPECT_EQ(names, (std::vector<std::string_view>{"ErrParamFormat", "ErrDateTimeConvert", "ErrBadRegExp",
                                                  "ErrParseData", "ErrConfigChange"}));
  ASSERT_NE(texts.Property("ErrParseData"), nullptr);
  EXPECT_EQ(*texts.Property("ErrParseData"), "Unable to parse data");
  EXPECT_EQ(texts.Property("errparsedata"), nullptr);
  EXPECT_EQ(texts.Property("Tag"), nullptr);
  EXPECT_TRUE(texts.SetProperty("ErrConfigChange", "Config (%s)"));
  EXPECT_EQ(texts.ErrConfigChange, "Config (%s)");
  EXPECT_FALSE(texts.SetProperty("Nope", "x"));
}

TEST(TTextResources, TranslationHookGoesOnAfterAFailure) {
  TTextResources texts;
  std::vector<std::u16string> asked;
  texts.TranslateTexts([&](std::u16string_view text) -> std::u16string {
    asked.emplace_back(text);
    if (text == u"Error occurred while parameter formatting (%s)") throw std::runtime_error("no translation");
    if (text == u"Unable to parse data") return u"Daten nicht lesbar (\u00FC\u20AC)";
    if (text == u"Error occurred while changing the configuration (%s)")
      return u"Erreur de configuration (%s)";
    return std::u16string(text);  // nothing known: unchanged
  });
  ASSERT_EQ(asked.size(), 5u);
  EXPECT_EQ(asked[0], u"Error occurred while parameter formatting (%s)");
  EXPECT_EQ(asked[4], u"Error occurred while changing the configuration (%s)");
  EXPECT_EQ(texts.ErrParamFormat, "Error occurred while parameter formatting (%s)");
  EXPECT_EQ(texts.ErrParseData, "Daten nicht lesbar (\xFC\x80)");
  EXPECT_EQ(texts.ErrConfigChange, "Erreur de configuration (%s)");
  EXPECT_EQ(texts.ErrBadRegExp, "An invalid regular expression %s [%s]. Please, use valid regexp syntax.");
}

TEST(TTextResources, NonAsciiDefaultsReachTheTranslatorAsUtf16) {
  TTextResources texts;
  texts.ErrParseData =
      "Donn\xE9"
      "es illisibles";
  std::u16string seen;
  texts.TranslateTexts([&](std::u16string_view text) {
    if (text.starts_with(u"Donn")) seen = text;
    return std::u16string(text);
  });
  EXPECT_EQ(seen, u"Donn\u00E9es illisibles");
  EXPECT_EQ(texts.ErrParseData,
            "Donn\xE9"
            "es illisibles");
}

}  // namespace
}  // namespace quendra
