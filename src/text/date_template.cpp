#include "text/date_template.h"

#include <map>
#include <memory>
#include <mutex>

#include "text/conversion_error.h"
#include "text/ole_date.h"

namespace quendra {
namespace {

enum class Tok {
  None,
  Separator,
  C,
  D,
  DD,
  DDD,
  DDDD,
  DDDDD,
  DDDDDD,
  M,
  MM,
  MMM,
  MMMM,
  YY,
  YYYY,
  H,
  HH,
  N,
  NN,
  S,
  SS,
  SSS,
  Z,
  ZZZ,
  T,
  TT,
  AmPm,
  AP,
  LocaleAmPm,
  Literal,
  DateSeparator,
  TimeSeparator,
};

struct Token {
  Tok kind = Tok::None;
  std::size_t length = 0;  // template characters the token spans
  std::string_view text;   // Separator: the character; Literal: its text without the quotes
};

bool IsSeparatorChar(char c) {
  static constexpr std::string_view kSeparators = "\t\n\r .,`~!@#$%^&*()_-=+\\|]}[{?;";
  return kSeparators.find(c) != std::string_view::npos;
}

bool IsLetterOrDigit(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperAscii(c);
  return result;
}

// A quote closes its literal unless another quote of the same kind follows before the next letter,
// digit or the end of the template; an unclosed literal runs to the end.
Token QuotedLiteral(std::string_view t, std::size_t pos) {
  char quote = t[pos];
  for (std::size_t j = pos + 1; j < t.size(); ++j) {
    if (t[j] != quote) continue;
    bool another = false;
    for (std::size_t k = j + 1; k < t.size() && !IsLetterOrDigit(t[k]); ++k) {
      if (t[k] == quote) {
        another = true;
        break;
      }
    }
    if (!another) return {Tok::Literal, j - pos + 1, t.substr(pos + 1, j - pos - 1)};
  }
  return {Tok::Literal, t.size() - pos, t.substr(pos + 1)};
}

// The token at `pos` of an upper-cased template; Tok::None at the end or where no token starts.
Token NextToken(std::string_view t, std::size_t pos) {
  if (pos >= t.size()) return {};
  char c = t[pos];
  std::size_t run = 1;
  while (pos + run < t.size() && t[pos + run] == c) ++run;
  std::string_view rest = t.substr(pos);
  if (IsSeparatorChar(c)) return {Tok::Separator, 1, t.substr(pos, 1)};
  switch (c) {
    case 'C':
      return {Tok::C, 1, {}};
    case 'D': {
      static constexpr Tok kByRun[] = {Tok::D, Tok::DD, Tok::DDD, Tok::DDDD, Tok::DDDDD, Tok::DDDDDD};
      std::size_t n = std::min<std::size_t>(run, 6);
      return {kByRun[n - 1], n, {}};
    }
    case 'M': {
      static constexpr Tok kByRun[] = {Tok::M, Tok::MM, Tok::MMM, Tok::MMMM};
      if (run > 4) return {};
      return {kByRun[run - 1], run, {}};
    }
    case 'Y':
      if (run >= 4) return {Tok::YYYY, 4, {}};
      if (run == 2) return {Tok::YY, 2, {}};
      return {};
    case 'H':
      return run >= 2 ? Token{Tok::HH, 2, {}} : Token{Tok::H, 1, {}};
    case 'N':
      return run >= 2 ? Token{Tok::NN, 2, {}} : Token{Tok::N, 1, {}};
    case 'S':
      if (run >= 3) return {Tok::SSS, 3, {}};
      return run == 2 ? Token{Tok::SS, 2, {}} : Token{Tok::S, 1, {}};
    case 'Z':
      if (run >= 3) return {Tok::ZZZ, 3, {}};
      return run == 1 ? Token{Tok::Z, 1, {}} : Token{};
    case 'T':
      return run >= 2 ? Token{Tok::TT, 2, {}} : Token{Tok::T, 1, {}};
    case 'A':
      if (rest.starts_with("AM/PM")) return {Tok::AmPm, 5, {}};
      if (rest.starts_with("A/P")) return {Tok::AP, 3, {}};
      if (rest.starts_with("AMPM")) return {Tok::LocaleAmPm, 4, {}};
      return {};
    case '\'':
    case '"':
      return QuotedLiteral(t, pos);
    case '/':
      return {Tok::DateSeparator, 1, {}};
    case ':':
      return {Tok::TimeSeparator, 1, {}};
    default:
      return {};
  }
}

// Hours "hh" or "h", minutes (and seconds), and the "AMPM" marker of a 12-hour clock. Minutes are
// written "nn": in this template language "mm" is the month, and a short time that read its minutes
// into the month could never read a time.
std::string TimePicture(const platform::LocaleInfo& locale, bool with_seconds) {
  std::string hours = locale.hours_leading_zero ? "hh" : "h";
  std::string body = hours + (with_seconds ? ":nn:ss" : ":nn");
  if (!locale.twelve_hour_clock) return body;
  return locale.marker_before_time ? "AMPM " + body : body + " AMPM";
}

class Reader {
 public:
  Reader(std::string_view expanded, std::string_view text, const platform::LocaleInfo& locale)
      : t_(expanded), v_(text), locale_(locale) {}

  // The value under construction, in the field order of a Windows SYSTEMTIME.
  std::uint16_t year = 1899, month = 12, day_of_week = 0, day = 30;
  std::uint16_t hour = 0, minute = 0, second = 0, millisecond = 0;

  void ReadAll() {
    do {
      Step();
    } while (tp_ < t_.size() && vp_ < v_.size());
  }

 private:
  [[noreturn]] void FailAtPosition() const {
    // Both texts are upper-cased already.
    throw ConversionError("On format: " + std::string(t_.substr(tp_)) +
                          " string: " + std::string(v_.substr(vp_)));
  }

  std::uint16_t Number(std::size_t max_chars, std::size_t* digit_count = nullptr) {
    std::size_t start = vp_;
    std::size_t digits = 0;
    unsigned value = 0;
    while (vp_ < v_.size() && vp_ - start < max_chars) {
      char c = v_[vp_];
      if (c == ' ' && !digits) {
        ++vp_;
      } else if (c >= '0' && c <= '9') {
        value = value * 10 + static_cast<unsigned>(c - '0');
        ++digits;
        ++vp_;
      } else {
        break;
      }
    }
    if (digit_count != nullptr) *digit_count = digits;
    if (digits == 0)
      throw ConversionError("'" + std::string(v_.substr(start, vp_ - start)) +
                            "' is not a valid integer value");
    return static_cast<std::uint16_t>(value);  // at most 4 digits
  }

  bool Match(std::string_view expected) {
    if (v_.size() - vp_ < expected.size()) return false;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      if (UpperAscii(v_[vp_ + i]) != UpperAscii(expected[i])) return false;
    }
    vp_ += expected.size();
    return true;
  }

  void MustMatch(std::string_view expected) {
    if (!Match(expected)) FailAtPosition();
  }

  template <std::size_t N>
  std::uint16_t MatchName(const std::array<std::string, N>& names) {
    for (std::size_t i = 0; i < N; ++i) {
      if (Match(names[i])) return static_cast<std::uint16_t>(i + 1);
    }
    FailAtPosition();
  }

  // The designator is applied once the whole text is read: a locale that writes it before the time
  // ("PM 9:45") would otherwise have its hour overwritten after the adjustment.
  void Designator(std::string_view pm, std::string_view am) {
    // A locale without designators (a 24-hour clock) has nothing to read; an empty PM text would
    // otherwise match every value and move every hour by 12.
    if (pm.empty() && am.empty()) return;
    if (Match(pm)) {
      half_ = Half::Pm;
    } else if (Match(am)) {
      half_ = Half::Am;
    } else {
      FailAtPosition();
    }
  }

 public:
  void ApplyDesignator() {
    if (half_ == Half::Pm && hour != 12) hour = static_cast<std::uint16_t>(hour + 12);
    if (half_ == Half::Am && hour == 12) hour = 0;
  }

 private:
  void Step() {
    Token token = NextToken(t_, tp_);
    if (token.kind == Tok::None) FailAtPosition();
    // A mismatch reports the template after the token that failed.
    tp_ += token.length;
    switch (token.kind) {
      case Tok::D:
      case Tok::DD:
        day = Number(2);
        break;
      case Tok::DDD:
        day_of_week = MatchName(locale_.short_days);
        break;
      case Tok::DDDD:
        day_of_week = MatchName(locale_.long_days);
        break;
      case Tok::M:
      case Tok::MM:
        month = Number(2);
        break;
      case Tok::MMM:
        month = MatchName(locale_.short_months);
        break;
      case Tok::MMMM:
        month = MatchName(locale_.long_months);
        break;
      case Tok::YY: {
        std::uint16_t yy = Number(2);
        year = static_cast<std::uint16_t>(yy < 50 ? yy + 2000 : yy + 1900);
        break;
      }
      case Tok::YYYY:
        year = Number(4);
        break;
      case Tok::H:
      case Tok::HH:
        hour = Number(2);
        break;
      case Tok::N:
      case Tok::NN:
        minute = Number(2);
        break;
      case Tok::S:
      case Tok::SS:
        second = Number(2);
        break;
      case Tok::SSS: {
        // The digits are a decimal fraction of a minute: "5" and "500" are half a minute, "05" is 3 s.
        std::size_t digits = 0;
        unsigned n = Number(3, &digits);
        unsigned scale = digits == 1 ? 10 : digits == 2 ? 100 : 1000;
        second = static_cast<std::uint16_t>(n * 60 / scale);
        break;
      }
      case Tok::Z:
      case Tok::ZZZ:
        millisecond = Number(3);
        break;
      case Tok::AmPm:
        Designator("PM", "AM");
        break;
      case Tok::AP:
        Designator("P", "A");
        break;
      case Tok::LocaleAmPm:
        Designator(locale_.pm, locale_.am);
        break;
      case Tok::DateSeparator:
        MustMatch(std::string_view(locale_.date_separator).substr(0, 1));
        break;
      case Tok::TimeSeparator:
        MustMatch(std::string_view(locale_.time_separator).substr(0, 1));
        break;
      case Tok::Separator:
      case Tok::Literal:
        MustMatch(token.text);
        break;
      default:  // C, DDDDD, DDDDDD, T, TT inside an inserted locale picture
        break;
    }
  }

  std::string_view t_;
  std::string_view v_;
  const platform::LocaleInfo& locale_;
  std::size_t tp_ = 0;
  std::size_t vp_ = 0;
  enum class Half { None, Am, Pm } half_ = Half::None;
};

}  // namespace

std::string ExpandDateTemplate(std::string_view tmpl, const platform::LocaleInfo& locale) {
  std::string t = UpperAscii(tmpl.empty() ? std::string_view("C") : tmpl);
  std::string expanded;
  for (std::size_t pos = 0;;) {
    Token token = NextToken(t, pos);
    if (token.kind == Tok::None) break;  // the rest of the template is ignored
    switch (token.kind) {
      case Tok::C:
        expanded += locale.short_date + " " + TimePicture(locale, true);
        break;
      case Tok::DDDDD:
        expanded += locale.short_date;
        break;
      case Tok::DDDDDD:
        expanded += locale.long_date;
        break;
      case Tok::T:
        expanded += TimePicture(locale, false);
        break;
      case Tok::TT:
        expanded += TimePicture(locale, true);
        break;
      default:
        expanded.append(t, pos, token.length);
        break;
    }
    pos += token.length;
  }
  return UpperAscii(expanded);
}

double DateTimeFromTemplate(std::string_view tmpl, const platform::LocaleInfo& locale, std::string_view text,
                            bool use_current_date, bool use_current_time,
                            const platform::LocalDateTime& now) {
  return DateTimeFromExpandedTemplate(ExpandDateTemplate(tmpl, locale), locale, text, use_current_date,
                                      use_current_time, now);
}

double DateTimeFromExpandedTemplate(std::string_view expanded, const platform::LocaleInfo& locale,
                                    std::string_view text, bool use_current_date, bool use_current_time,
                                    const platform::LocalDateTime& now) {
  // Values are short: upper-cased on the stack, and only a long one makes a string.
  char buffer[64];
  std::string long_value;
  std::string_view value;
  if (text.size() <= sizeof buffer) {
    for (std::size_t i = 0; i < text.size(); ++i) buffer[i] = UpperAscii(text[i]);
    value = std::string_view(buffer, text.size());
  } else {
    long_value = UpperAscii(text);
    value = long_value;
  }
  Reader reader(expanded, value, locale);
  if (use_current_date) {
    reader.year = now.year;
    reader.month = now.month;
    reader.day_of_week = now.day_of_week;
    reader.day = now.day;
  }
  if (use_current_time) {
    reader.hour = now.hour;
    reader.minute = now.minute;
    reader.second = now.second;
    reader.millisecond = now.millisecond;
  }
  reader.ReadAll();
  reader.ApplyDesignator();
  std::optional<double> date = EncodeOleDate(reader.year, reader.month, reader.day);
  if (!date) throw ConversionError("Invalid argument to date encode");
  std::optional<double> time = EncodeOleTime(reader.hour, reader.minute, reader.second, reader.millisecond);
  if (!time) throw ConversionError("Invalid argument to time encode");
  return CombineOleDateTime(*date, *time);
}

const platform::LocaleInfo& LocaleDataForLcid(std::int32_t lcid) {
  // Locale data is built once per ID and kept for the life of the process; entries are never removed,
  // so the references handed out stay valid.
  static std::mutex mutex;
  static std::map<std::int32_t, std::unique_ptr<const platform::LocaleInfo>> known;
  static std::unique_ptr<const platform::LocaleInfo> current;
  std::lock_guard lock(mutex);
  if (auto it = known.find(lcid); it != known.end()) return *it->second;
  if (std::optional<platform::LocaleInfo> info =
          platform::LocaleInfoForLcid(static_cast<std::uint32_t>(lcid))) {
    return *known.emplace(lcid, std::make_unique<const platform::LocaleInfo>(std::move(*info))).first->second;
  }
  if (!current) current = std::make_unique<const platform::LocaleInfo>(platform::CurrentLocaleInfo());
  return *current;
}

double DateTimeFromTemplate(std::string_view tmpl, std::int32_t lcid, std::string_view text,
                            bool use_current_date, bool use_current_time) {
  const platform::LocaleInfo& locale = LocaleDataForLcid(lcid);
  platform::LocalDateTime now = platform::CurrentLocalDateTime();
  return DateTimeFromTemplate(tmpl, locale, text, use_current_date, use_current_time, now);
}

}  // namespace quendra
