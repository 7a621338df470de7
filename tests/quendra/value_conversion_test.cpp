#include "quendra/value_conversion.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "quendra/text_resources.h"

namespace quendra {
namespace {

// What a value must arrive as.
struct Text {
  std::u16string value;
};
struct I4 {
  std::int32_t value;
};
struct I8 {
  std::int64_t value;
};
struct R8 {
  double value;
};
struct Bool {
  bool value;
};
struct Date {
  double value;
};
using Expected = std::variant<Text, I4, I8, R8, Bool, Date>;

class ValueConversionTest : public ::testing::Test {
 protected:
  OleVariant Convert(std::optional<TParamDataType> type, std::string_view text) {
    ValueConversionContext context{settings, texts, log};
    return FormatParamValue(context, type, text);
  }

  static void ExpectValue(const OleVariant& v, const Expected& expected, const std::string& what) {
    SCOPED_TRACE(what);
    if (auto* t = std::get_if<Text>(&expected)) {
      ASSERT_EQ(v.type(), VarType::OleStr);
      EXPECT_EQ(std::u16string(v.wide_view()), t->value);
    } else if (auto* i = std::get_if<I4>(&expected)) {
      ASSERT_EQ(v.type(), VarType::Int32);
      EXPECT_EQ(v.raw().Value.Int32, i->value);
    } else if (auto* l = std::get_if<I8>(&expected)) {
      ASSERT_EQ(v.type(), VarType::Int64);
      EXPECT_EQ(v.raw().Value.Int64, l->value);
    } else if (auto* r = std::get_if<R8>(&expected)) {
      ASSERT_EQ(v.type(), VarType::Double);
      EXPECT_EQ(v.raw().Value.Double, r->value);
    } else if (auto* b = std::get_if<Bool>(&expected)) {
      ASSERT_EQ(v.type(), VarType::Bool);
      EXPECT_EQ(v.raw().Value.Bool, b->value ? -1 : 0);
    } else if (auto* d = std::get_if<Date>(&expected)) {
      ASSERT_EQ(v.type(), VarType::Date);
      EXPECT_NEAR(v.raw().Value.Double, d->value, 1e-9);
    }
  }

  ValueConversionSettings settings;
  TTextResources texts;
  std::vector<std::pair<int, std::string>> logged;
  ConversionLog log = [this](int type, const std::string& message) { logged.emplace_back(type, message); };
};

struct ConversionCase {
  TParamDataType type;
  std::string text;
  Expected expected;
  std::string log;  // the one log line expected, or empty for none
};

std::string FormatError(const std::string& reason) {
  return "Error occurred while parameter formatting (" + reason + ")";
}

TEST_F(ValueConversionTest, EveryTypeWithDefaultSettings) {
  const ConversionCase cases[] = {
      {kDataString, "  abc\t", Text{u"  abc\t"}, ""},
      {kDataMemo, " memo ", Text{u" memo "}, ""},
      {kDataBytes, " \x01\x02", Text{u" \u0001\u0002"}, ""},
      {kDataBlob, "blob", Text{u"blob"}, ""},
      {kDataBoolean, "True", Bool{true}, ""},
      {kDataBoolean, "FALSE", Bool{false}, ""},
      {kDataBoolean, "tRuE", Bool{true}, ""},
      {kDataBoolean, "1", Bool{true}, ""},
      {kDataBoolean, "0", Bool{false}, ""},
      {kDataBoolean, "-2.5", Bool{true}, ""},
      {kDataBoolean, "0.0", Bool{false}, ""},
      {kDataBoolean, " true", Text{u" true"}, FormatError("' true' is not a valid boolean value")},
      {kDataBoolean, "yes", Text{u"yes"}, FormatError("'yes' is not a valid boolean value")},
      {kDataBoolean, "", Text{u""}, FormatError("'' is not a valid boolean value")},
      {kDataFloat, "3,5", R8{3.5}, ""},
      {kDataFloat, "3.5", R8{3.5}, ""},
      {kDataFloat, " -1.5E3 ", R8{-1500.0}, ""},
      {kDataFloat, "\t2e-3\r\n", R8{0.002}, ""},
      {kDataFloat, "1,234.5", Text{u"1,234.5"}, FormatError("'1.234.5' is not a valid floating point value")},
      {kDataFloat, "1e999", Text{u"1e999"}, FormatError("'1e999' is not a valid floating point value")},
      {kDataFloat, "", Text{u""}, FormatError("'' is not a valid floating point value")},
      {kDataInteger, "$1F", I4{31}, ""},
      {kDataInteger, "0x1F", I4{31}, ""},
      {kDataInteger, " 31 ", I4{31}, ""},
      {kDataInteger, "-2147483648", I4{-2147483647 - 1}, ""},
      {kDataInteger, "abc", Text{u"abc"}, FormatError("'abc' is not a valid integer value")},
      {kDataInteger, " 2147483648 ", Text{u" 2147483648 "},
       FormatError("'2147483648' is not a valid integer value")},
      {kDataInteger, "", Text{u""}, FormatError("'' is not a valid integer value")},
      {kDataSmallint, "70000", I4{70000}, ""},
      {kDataByte, "300", I4{300}, ""},
      {kDataShortint, "-200", I4{-200}, ""},
      {kDataWord, "$FFFF", I4{65535}, ""},
      {kDataDWord, "2147483647", I4{2147483647}, ""},
      {kDataDWord, "4294967295", Text{u"4294967295"},
       FormatError("'4294967295' is not a valid integer value")},
      {kDataDWord, "$FFFFFFFF", I4{-1}, ""},
      {kDataInt64, "-5000000000", I8{-5000000000LL}, ""},
      {kDataInt64, " $FFFFFFFF ", I8{4294967295LL}, ""},
      {kDataInt64, "9223372036854775808", Text{u"9223372036854775808"},
       FormatError("'9223372036854775808' is not a valid integer value")},
      {kDataCurrency, "12.50 ", Text{u"12.50 "}, ""},
      {kDataNone, " untouched ", Text{u" untouched "}, ""},
      {200, "odd code", Text{u"odd code"}, ""},
      {kDataDate, " 05.06.2023 ", Date{45082}, ""},
      {kDataTime, "14:05:09", Date{(14 * 3600 + 5 * 60 + 9) / 86400.0}, ""},
      {kDataDateTime, "05.06.2023 14:05:09", Date{45082 + (14 * 3600 + 5 * 60 + 9) / 86400.0}, ""},
      {kDataDate, "", Text{u""},
       "Error occurred while converting date/time string value '' with the template DD.MM.YYYY "
       "('' is not a valid integer value)"},
  };
  for (const ConversionCase& c : cases) {
    logged.clear();
    std::string what = std::string(DataTypeName(c.type)) + " '" + c.text + "'";
    ExpectValue(Convert(c.type, c.text), c.expected, what);
    if (c.log.empty()) {
      EXPECT_TRUE(logged.empty()) << what << ": " << (logged.empty() ? "" : logged[0].second);
    } else {
      ASSERT_EQ(logged.size(), 1u) << what;
      EXPECT_EQ(logged[0].first, 0) << what;
      EXPECT_EQ(logged[0].second, c.log) << what;
    }
  }
}

TEST_F(ValueConversionTest, NoRuleDeliversTheTextUnchanged) {
  TzelTranslationTable map;
  map.LoadFromStrings(std::vector<std::string>{"Y", "N", "1"});
  settings.StringVariablesMap = &map;
  settings.LeftTrim_Checked = settings.RightTrim_Checked = true;
  ExpectValue(Convert(std::nullopt, "  x\tabc "), Text{u"  x\tabc "}, "no rule");
  ExpectValue(Convert(std::nullopt, "caf\xE9"), Text{u"caf\u00E9"}, "ANSI to wide");
  EXPECT_TRUE(logged.empty());
}

TEST_F(ValueConversionTest, StringTrimsAfterTranslation) {
  settings.LeftTrim_Checked = settings.RightTrim_Checked = true;
  ExpectValue(Convert(kDataString, "  abc\t"), Text{u"abc"}, "both trims");
  ExpectValue(Convert(kDataString, std::string("\0\x1F abc \x7F", 8)), Text{u"abc \u007F"},
              "codes 0..32 only");
  settings.RightTrim_Checked = false;
  ExpectValue(Convert(kDataString, "  abc "), Text{u"abc "}, "left trim only");
  settings.LeftTrim_Checked = false;
  settings.RightTrim_Checked = true;
  ExpectValue(Convert(kDataString, "  abc "), Text{u"  abc"}, "right trim only");

  // A map that removes "x": translation comes first, so the trims see the spaces it leaves.
  std::vector<std::string> lines(3 + 121);
  lines[3 + 'x'] = "R";
  TzelTranslationTable map;
  map.LoadFromStrings(lines);
  settings.StringVariablesMap = &map;
  settings.LeftTrim_Checked = true;
  ExpectValue(Convert(kDataString, "x abc x"), Text{u"abc"}, "translated then trimmed");
  // Other types never see the String variables map.
  ExpectValue(Convert(kDataMemo, "x abc x"), Text{u"x abc x"}, "memo untranslated");
  EXPECT_TRUE(logged.empty());
}

TEST_F(ValueConversionTest, DateFailureLogsTrimmedValueAndTemplateAsConfigured) {
  settings.FmtDate_Text = "dd.mm.yyyy";
  ExpectValue(Convert(kDataDate, " 5/6/2023 "), Text{u" 5/6/2023 "}, "rejected date");
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0].second,
            "Error occurred while converting date/time string value '5/6/2023' with the template dd.mm.yyyy "
            "(On format: MM.YYYY string: /6/2023)");
  logged.clear();
  ExpectValue(Convert(kDataDate, "31.04.2023"), Text{u"31.04.2023"}, "no such day");
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(
      logged[0].second,
      "Error occurred while converting date/time string value '31.04.2023' with the template dd.mm.yyyy "
      "(Invalid argument to date encode)");
}

TEST_F(ValueConversionTest, DateSettings) {
  settings.spLocaleID_Value = 1031.9;  // truncated to 1031
  settings.FmtDate_Text = "D. MMMM YYYY";
  ExpectValue(Convert(kDataDate, "7. M\xE4rz 2021"), Date{44262}, "German month name");
  settings.FmtTime_Text = "HH:NN";
  ExpectValue(Convert(kDataTime, "14:05"), Date{(14 * 60 + 5) / 1440.0}, "time without seconds");
  settings.FmtDateTime_Text = "";  // empty: the locale's short date and long time
  ExpectValue(Convert(kDataDateTime, "07.03.2021 14:05:09"), Date{44262 + (14 * 3600 + 5 * 60 + 9) / 86400.0},
              "empty template");
  EXPECT_TRUE(logged.empty());
}

TEST_F(ValueConversionTest, TranslatedMessageTexts) {
  texts.ErrParamFormat = "Formatfehler: %s";
  texts.ErrDateTimeConvert = "Datum %s / %s / %s";
  Convert(kDataInteger, "x");
  Convert(kDataDate, "x");
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[0].second, "Formatfehler: 'x' is not a valid integer value");
  EXPECT_EQ(logged[1].second, "Datum x / DD.MM.YYYY / '' is not a valid integer value");
}

TEST_F(ValueConversionTest, MissingOrFailingLogStillDeliversTheText) {
  log = nullptr;
  ExpectValue(Convert(kDataInteger, "abc"), Text{u"abc"}, "no log");
  log = [](int, const std::string&) { throw std::runtime_error("log window gone"); };
  ExpectValue(Convert(kDataFloat, "abc"), Text{u"abc"}, "throwing log");
}

TEST_F(ValueConversionTest, FloatIgnoresTheProcessDecimalSeparator) {
  // Some hosts switch the C locale to one with a decimal comma; the result must not change.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous != nullptr ? previous : "C";
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "German"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      switched = true;
      break;
    }
  }
  ExpectValue(Convert(kDataFloat, "3.5"), R8{3.5}, "dot");
  ExpectValue(Convert(kDataFloat, "3,5"), R8{3.5}, "comma");
  ExpectValue(Convert(kDataBoolean, "0.5"), Bool{true}, "boolean with a dot");
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
}

TEST(LocaleIdFromSetting, TruncatesTowardZero) {
  EXPECT_EQ(LocaleIdFromSetting(1033), 1033);
  EXPECT_EQ(LocaleIdFromSetting(1031.9), 1031);
  EXPECT_EQ(LocaleIdFromSetting(-1.9), -1);
  EXPECT_EQ(LocaleIdFromSetting(1e12), 0);
  EXPECT_EQ(LocaleIdFromSetting(-1e12), 0);
  EXPECT_EQ(LocaleIdFromSetting(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(LocaleIdFromSetting(std::numeric_limits<double>::infinity()), 0);
}

TEST(DataTypeByName, MisspelledNameDeliversText) {
  EXPECT_EQ(DataTypeByName("Integr"), kDataNone);
}

}  // namespace
}  // namespace quendra
