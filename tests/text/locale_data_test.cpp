// The platform's locale data and ANSI code page, as the text layer relies on them. The same
// expectations hold for ICU on Linux and for GetLocaleInfo / CharUpperBuffA under Windows.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/ansi_codepage.h"
#include "platform/locale_info.h"

namespace quendra {
namespace {

using platform::AnsiCodePage;
using platform::LocaleInfo;
using platform::LocaleInfoForLcid;

TEST(LocaleInfo, English1033) {
  std::optional<LocaleInfo> en = LocaleInfoForLcid(1033);
  ASSERT_TRUE(en.has_value());
  EXPECT_EQ(en->date_separator, "/");
  EXPECT_EQ(en->time_separator, ":");
  EXPECT_EQ(en->short_date, "M/d/yyyy");
  EXPECT_EQ(en->long_date, "dddd, MMMM d, yyyy");
  EXPECT_EQ(en->am, "AM");
  EXPECT_EQ(en->pm, "PM");
  EXPECT_FALSE(en->hours_leading_zero);
  EXPECT_TRUE(en->twelve_hour_clock);
  EXPECT_FALSE(en->marker_before_time);
  EXPECT_EQ(en->short_months, (std::array<std::string, 12>{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                                           "Aug", "Sep", "Oct", "Nov", "Dec"}));
  EXPECT_EQ(en->long_months,
            (std::array<std::string, 12>{"January", "February", "March", "April", "May", "June", "July",
                                         "August", "September", "October", "November", "December"}));
  EXPECT_EQ(en->short_days, (std::array<std::string, 7>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
  EXPECT_EQ(en->long_days, (std::array<std::string, 7>{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday",
                                                       "Friday", "Saturday"}));
}

TEST(LocaleInfo, German1031) {
  std::optional<LocaleInfo> de = LocaleInfoForLcid(1031);
  ASSERT_TRUE(de.has_value());
  EXPECT_EQ(de->date_separator, ".");
  EXPECT_EQ(de->time_separator, ":");
  EXPECT_EQ(de->long_date, "dddd, d. MMMM yyyy");
  EXPECT_TRUE(de->hours_leading_zero);
  EXPECT_FALSE(de->twelve_hour_clock);
  EXPECT_EQ(de->long_months,
            (std::array<std::string, 12>{"Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni", "Juli",
                                         "August", "September", "Oktober", "November", "Dezember"}));
  EXPECT_EQ(de->short_months, (std::array<std::string, 12>{"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun", "Jul",
                                                           "Aug", "Sep", "Okt", "Nov", "Dez"}));
  EXPECT_EQ(de->long_days, (std::array<std::string, 7>{"Sonntag", "Montag", "Dienstag", "Mittwoch",
                                                       "Donnerstag", "Freitag", "Samstag"}));
  // Short day names: Windows and ICU's stand-alone forms say "So"; wine's data says "So.".
  EXPECT_EQ(de->short_days[0].substr(0, 2), "So");
}

TEST(LocaleInfo, French1036) {
  std::optional<LocaleInfo> fr = LocaleInfoForLcid(1036);
  ASSERT_TRUE(fr.has_value());
  EXPECT_EQ(fr->date_separator, "/");
  EXPECT_EQ(fr->short_date, "dd/MM/yyyy");
  EXPECT_EQ(fr->long_date, "dddd d MMMM yyyy");
  EXPECT_TRUE(fr->hours_leading_zero);
  EXPECT_FALSE(fr->twelve_hour_clock);
  EXPECT_EQ(fr->long_months,
            (std::array<std::string, 12>{"janvier", "f\xE9vrier", "mars", "avril", "mai", "juin", "juillet",
                                         "ao\xFBt", "septembre", "octobre", "novembre",
                                         "d\xE9"
                                         "cembre"}));
  EXPECT_EQ(fr->short_months, (std::array<std::string, 12>{"janv.", "f\xE9vr.", "mars", "avr.", "mai", "juin",
                                                           "juil.", "ao\xFBt", "sept.", "oct.", "nov.",
                                                           "d\xE9"
                                                           "c."}));
  EXPECT_EQ(fr->short_days,
            (std::array<std::string, 7>{"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."}));
  EXPECT_EQ(fr->long_days, (std::array<std::string, 7>{"dimanche", "lundi", "mardi", "mercredi", "jeudi",
                                                       "vendredi", "samedi"}));
}

TEST(LocaleInfo, UnknownIdsAreRejected) {
  for (std::uint32_t lcid : {0u, 12345u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x10409u}) {
    EXPECT_FALSE(LocaleInfoForLcid(lcid).has_value()) << lcid;
  }
  // The fallback always has data.
  LocaleInfo current = platform::CurrentLocaleInfo();
  EXPECT_FALSE(current.long_months[0].empty());
  EXPECT_FALSE(current.short_date.empty());
}

TEST(AnsiCodePage, Default1252CaseTables) {
  const AnsiCodePage& cp = AnsiCodePage::System();
  ASSERT_EQ(cp.number(), 1252u);
  // Every byte whose case changes, and what it changes to, written out from the code page chart.
  std::array<unsigned char, 256> upper{}, lower{};
  for (int b = 0; b < 256; ++b) upper[b] = lower[b] = static_cast<unsigned char>(b);
  for (int b = 'a'; b <= 'z'; ++b) upper[b] = static_cast<unsigned char>(b - 32);
  for (int b = 'A'; b <= 'Z'; ++b) lower[b] = static_cast<unsigned char>(b + 32);
  for (int b = 0xE0; b <= 0xFE; ++b)
    if (b != 0xF7) upper[b] = static_cast<unsigned char>(b - 32);  // not the division sign
  for (int b = 0xC0; b <= 0xDE; ++b)
    if (b != 0xD7) lower[b] = static_cast<unsigned char>(b + 32);  // not the multiplication sign
  upper[0x9A] = 0x8A;                                              // s caron
  upper[0x9C] = 0x8C;                                              // oe
  upper[0x9E] = 0x8E;                                              // z caron
  upper[0xFF] = 0x9F;                                              // y diaeresis
  lower[0x8A] = 0x9A;
  lower[0x8C] = 0x9C;
  lower[0x8E] = 0x9E;
  lower[0x9F] = 0xFF;
  // 0xDF sharp s, 0xB5 micro sign, 0xAA and 0xBA ordinals have no single-byte other case: unchanged.
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(cp.Upper(static_cast<unsigned char>(b)), upper[b]) << "upper of " << b;
    EXPECT_EQ(cp.Lower(static_cast<unsigned char>(b)), lower[b]) << "lower of " << b;
  }
  EXPECT_EQ(cp.ToUpper("Stra\xDF"
                       "e \xE9t\xE9 \xFF"),
            "STRA\xDF"
            "E \xC9T\xC9 \x9F");
  EXPECT_EQ(cp.ToLower("\xC4RGER"), "\xE4rger");
}

TEST(AnsiCodePage, Utf16Conversion) {
  const AnsiCodePage& cp = AnsiCodePage::System();
  EXPECT_EQ(cp.ToUtf16("a\x80\xE9\x9F"), u"a\u20AC\u00E9\u0178");
  EXPECT_EQ(cp.ToUtf16(std::string("\0x", 2)), std::u16string(u"\0x", 2));
  EXPECT_EQ(cp.ToUtf16(""), u"");
  EXPECT_EQ(cp.FromUtf16(u"a\u20AC\u00E9\u0178"), "a\x80\xE9\x9F");
  EXPECT_EQ(cp.FromUtf16(u"\u0100\u4E2D."), "??.");  // not in the code page
  EXPECT_EQ(cp.FromUtf16(u""), "");
  std::string all(256, '\0');
  for (int b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
  // Every byte the code page defines survives the round trip.
  std::string back = cp.FromUtf16(cp.ToUtf16(all));
  ASSERT_EQ(back.size(), 256u);
  for (int b : {0x00, 0x41, 0x80, 0x8A, 0x9F, 0xA0, 0xE9, 0xFF}) EXPECT_EQ(back[b], all[b]) << b;
}

TEST(AnsiCodePage, OtherCodePages) {
  AnsiCodePage cyrillic(1251);
  EXPECT_EQ(cyrillic.Upper(0xE0), 0xC0);  // а -> А
  EXPECT_EQ(cyrillic.Lower(0xC0), 0xE0);
  EXPECT_EQ(cyrillic.ToUtf16("\xC0"), u"\u0410");
  EXPECT_EQ(cyrillic.FromUtf16(u"\u0430"), "\xE0");
  AnsiCodePage greek(1253);
  EXPECT_EQ(greek.Upper(0xE1), 0xC1);  // α -> Α
  EXPECT_THROW(AnsiCodePage(4242), std::runtime_error);
}

#ifndef _WIN32
// The POSIX code page comes from the environment, read once per process: each case runs in a child.
void ExitWithCodePage(const char* setting) {
  setenv("QUENDRA_ANSI_CODEPAGE", setting, 1);
  const AnsiCodePage& cp = AnsiCodePage::System();
  std::exit(cp.number() == 1251 ? (cp.Upper(0xE0) == 0xC0 ? 51 : 1) : cp.number() == 1252 ? 52 : 2);
}

TEST(AnsiCodePageDeathTest, EnvironmentChoosesTheCodePage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitWithCodePage("1251"), ::testing::ExitedWithCode(51), "");
  EXPECT_EXIT(ExitWithCodePage("1252"), ::testing::ExitedWithCode(52), "");
  // Unusable settings fall back to 1252 rather than fail.
  EXPECT_EXIT(ExitWithCodePage("bogus"), ::testing::ExitedWithCode(52), "");
  EXPECT_EXIT(ExitWithCodePage("99999"), ::testing::ExitedWithCode(52), "");
  EXPECT_EXIT(ExitWithCodePage(""), ::testing::ExitedWithCode(52), "");
}
#endif

}  // namespace
}  // namespace quendra
