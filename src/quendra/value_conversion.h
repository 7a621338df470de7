// Turning the text of a selected element or attribute value into the variant the host receives,
// by the data type of the rule that selected it.
//
// Never fails and never drops a value: a text that does not convert is logged (message type 0) and
// delivered as the text it came in as. Keeps no state; the settings are read at each call, so a
// reloaded configuration applies from the next value on. Any number of threads may convert at once.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/ole_variant.h"
#include "platform/locale_info.h"
#include "text/param_data_type.h"
#include "text/translation_table.h"

namespace quendra {

class TTextResources;

// The settings of the configuration object that the conversion reads, under their property names.
struct ValueConversionSettings {
  bool LeftTrim_Checked = false;
  bool RightTrim_Checked = false;
  std::string FmtDate_Text = "DD.MM.YYYY";
  std::string FmtTime_Text = "HH\":\"NN\":\"SS";
  std::string FmtDateTime_Text = "DD.MM.YYYY HH\":\"NN\":\"SS";
  bool chkUseNowDate_Checked = false;
  bool chkUseNowTime_Checked = false;
  double spLocaleID_Value = 1033;
  // The "String variables" map; nullptr leaves texts unchanged. Borrowed: it must outlive the call.
  const TzelTranslationTable* StringVariablesMap = nullptr;
  // The locale data of spLocaleID_Value when the caller has looked it up already (for a whole block, say);
  // nullptr: looked up at each date conversion.
  const platform::LocaleInfo* Locale = nullptr;
  // The three templates expanded for Locale (ExpandDateTemplate), when the caller has done so for many
  // values; nullptr: expanded at each date conversion.
  const std::string* ExpandedTemplates = nullptr;  // date, time, date and time
};

// The module's log operation: a message type (0 failure) and the message.
using ConversionLog = std::function<void(int message_type, const std::string& message)>;

// What one conversion needs; all borrowed for the length of the call.
struct ValueConversionContext {
  const ValueConversionSettings& settings;
  const TTextResources& texts;
  const ConversionLog& log;
};

// The strict conversion: fills `out` and returns true, or logs the reason and returns false (`out`
// is then left as it was).
bool TryFormatParamValue(const ValueConversionContext& context, TParamDataType data_type,
                         std::string_view text, OleVariant& out);

// The value for the host: with no rule (`data_type` empty) the text unchanged; otherwise the
// converted value, or the text as it came in when the conversion failed. Always a value.
OleVariant FormatParamValue(const ValueConversionContext& context, std::optional<TParamDataType> data_type,
                            std::string_view text);

// `spLocaleID_Value` as the locale ID the template reader gets: truncated toward zero; a value
// beyond 32 bits (or not a number) gives 0, which no platform accepts, so the current locale is used.
std::int32_t LocaleIdFromSetting(double value);

}  // namespace quendra
