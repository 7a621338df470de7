#include "quendra/value_conversion.h"

#include <cmath>
#include <exception>

#include "quendra/text_resources.h"
#include "text/conversion_error.h"
#include "text/date_template.h"
#include "text/format_text.h"
#include "text/number_text.h"

namespace quendra {
namespace {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

// Built with append: g++ 12 at -O3 reports a false -Wrestrict for the operator+ chain.
std::string Quoted(std::string_view text, std::string_view what) {
  std::string reason;
  reason.reserve(text.size() + what.size() + 26);
  reason.append(1, '\'').append(text).append("' is not a valid ").append(what).append(" value");
  return reason;
}

// Decimal marks are read as "." whatever the process locale says, so the outcome never depends on
// the host's regional settings or on another thread.
constexpr char kDecimalSeparator = '.';

OleVariant ConvertBoolean(std::string_view copy) {
  if (std::optional<double> number = ParseFloatText(copy, kDecimalSeparator)) {
    return OleVariant::from_bool(*number != 0);
  }
  if (EqualsIgnoringAsciiCase(copy, "True")) return OleVariant::from_bool(true);
  if (EqualsIgnoringAsciiCase(copy, "False")) return OleVariant::from_bool(false);
  throw ConversionError(Quoted(copy, "boolean"));
}

OleVariant ConvertFloat(std::string_view text) {
  // Most texts have no comma: they are read in place, and only a text with one is copied to be rewritten.
  std::string copy;
  if (text.find(',') != std::string_view::npos) {
    copy.assign(text);
    for (char& c : copy) {
      if (c == '.' || c == ',') c = kDecimalSeparator;
    }
    text = copy;
  }
  std::optional<double> value = ParseFloatText(text, kDecimalSeparator);
  if (!value) throw ConversionError(Quoted(text, "floating point"));
  return OleVariant::from_double(*value);
}

// The module's log may be missing in a test, and a failing log must not make the conversion fail.
void Log(const ValueConversionContext& context, const std::string& message) noexcept {
  try {
    if (context.log) context.log(0, message);
  } catch (...) {
  }
}

template <typename Parse, typename Make>
OleVariant ConvertInteger(std::string_view copy, Parse parse, Make make) {
  auto value = parse(copy);
  if (!value) throw ConversionError(Quoted(copy, "integer"));
  return make(*value);
}

// 0 date, 1 time, 2 date and time: the order of ExpandedTemplates.
int TemplateIndex(TParamDataType data_type) {
  return data_type == kDataDate ? 0 : data_type == kDataTime ? 1 : 2;
}

const std::string& TemplateFor(const ValueConversionSettings& settings, TParamDataType data_type) {
  const std::string* templates[] = {&settings.FmtDate_Text, &settings.FmtTime_Text,
                                    &settings.FmtDateTime_Text};
  return *templates[TemplateIndex(data_type)];
}

}  // namespace

std::int32_t LocaleIdFromSetting(double value) {
  if (!std::isfinite(value)) return 0;
  double truncated = std::trunc(value);
  if (truncated < -2147483648.0 || truncated > 2147483647.0) return 0;
  return static_cast<std::int32_t>(truncated);
}

bool TryFormatParamValue(const ValueConversionContext& context, TParamDataType data_type,
                         std::string_view text, OleVariant& out) {
  const ValueConversionSettings& settings = context.settings;
  std::string copy;
  try {
    switch (data_type) {
      case kDataString: {
        std::string_view view = text;
        if (settings.StringVariablesMap != nullptr && !settings.StringVariablesMap->IsIdentity()) {
          copy = settings.StringVariablesMap->Translate(text);
          view = copy;
        }
        if (settings.LeftTrim_Checked) view = TrimLeft(view);
        if (settings.RightTrim_Checked) view = TrimRight(view);
        out = OleVariant::from_ansi_as_wide(view);
        return true;
      }
      case kDataBoolean:
        // Not trimmed: " true" is no boolean.
        out = ConvertBoolean(text);
        return true;
      case kDataFloat:
        out = ConvertFloat(Trim(text));
        return true;
      case kDataSmallint:
      case kDataWord:
      case kDataInteger:
      case kDataDWord:
      case kDataByte:
      case kDataShortint:
        // Every width reads as a signed 32-bit value; the declared width is not enforced.
        out = ConvertInteger(Trim(text), ParseInt32Text, OleVariant::from_int32);
        return true;
      case kDataInt64:
        out = ConvertInteger(Trim(text), ParseInt64Text, OleVariant::from_int64);
        return true;
      case kDataDate:
      case kDataTime:
      case kDataDateTime: {
        const std::string& tmpl = TemplateFor(settings, data_type);
        const std::string_view trimmed = Trim(text);
        try {
          const platform::LocaleInfo& locale =
              settings.Locale ? *settings.Locale
                              : LocaleDataForLcid(LocaleIdFromSetting(settings.spLocaleID_Value));
          // The clock is read only when a part of it is used.
          const bool use_now = settings.chkUseNowDate_Checked || settings.chkUseNowTime_Checked;
          const platform::LocalDateTime now =
              use_now ? platform::CurrentLocalDateTime() : platform::LocalDateTime{};
          const double value =
              settings.ExpandedTemplates && settings.Locale
                  ? DateTimeFromExpandedTemplate(settings.ExpandedTemplates[TemplateIndex(data_type)], locale,
                                                 trimmed, settings.chkUseNowDate_Checked,
                                                 settings.chkUseNowTime_Checked, now)
                  : DateTimeFromTemplate(tmpl, locale, trimmed, settings.chkUseNowDate_Checked,
                                         settings.chkUseNowTime_Checked, now);
          out = OleVariant::from_date(value);
          return true;
        } catch (const ConversionError& e) {
          // The value as read (trimmed) and the template as configured, not their upper-cased forms.
          Log(context, FormatText(context.texts.ErrDateTimeConvert, {trimmed, tmpl, e.what()}));
          return false;
        }
      }
      default:  // Memo, Bytes, Blob, Currency and unknown types: the text as it is
        out = OleVariant::from_ansi_as_wide(text);
        return true;
    }
  } catch (const std::exception& e) {
    Log(context, FormatText(context.texts.ErrParamFormat, {e.what()}));
    return false;
  }
}

OleVariant FormatParamValue(const ValueConversionContext& context, std::optional<TParamDataType> data_type,
                            std::string_view text) {
  OleVariant result;
  try {
    if (data_type && TryFormatParamValue(context, *data_type, text, result)) return result;
  } catch (...) {
    // Out of memory while logging a failure: the value still goes out, as its text.
  }
  return OleVariant::from_ansi_as_wide(text);
}

}  // namespace quendra
