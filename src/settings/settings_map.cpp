#include "settings/settings_map.h"

namespace quendra {

std::vector<std::string> DataSourceSettingsMap() {
  return {
      "Left,Left",
      "Top,Top",
      "Height,Height",
      "Width,Width",
      kShortListMarker,
      "OpenDialog.FileName,Open files dir",
      "OpenDialog.FilterIndex,Open files dir filter index",
      "SaveDialog.FileName,Save files dir",
      "SaveDialog.FilterIndex,Save files dir filter index",
      "BegSign.Text,Start string",
      "LeftTrim.Checked,Left trim",
      "RightTrim.Checked,Right trim",
      "FmtDate.Text,Date format",
      "FmtTime.Text,Time format",
      "FmtDateTime.Text,Date and time format",
      "chkUseNowTime.Checked,Use current time",
      "chkUseNowDate.Checked,Use current date",
      "spLocaleID.Value,Locale ID",
      "Filters.Hint,Filter",
      "XMLs.Hint,XMLs",
      "spSignTimeout.Value,Sign timeout",
      "chkExpNode.Checked,Export nodes",
      "chkExpAttr.Checked,Export attrs",
      "chkAddNodeName.Checked,Add node name",
      "chkNameUpper.Checked,Export upper case name",
      "MapTransl0.Strings,Translation\\Map0",
      "MapTransl1.Strings,Translation\\Map1",
      "MapTransl2.Strings,Translation\\Map2",
      "comboTransDirection.Tag,Translation\\Type",
      "comboChar.Tag,Translation\\Character",
  };
}

TStringList ShortenSettingsMap(const TStringList& map) {
  std::string text = map.Text();
  const std::size_t marker = text.find(kShortListMarker);
  if (marker != std::string::npos) {
    // Keep the marker and the one character after it (the carriage return that ends its line).
    text.resize(std::min(text.size(), marker + std::char_traits<char>::length(kShortListMarker) + 1));
  }
  TStringList out;
  out.SetText(text);
  return out;
}

}  // namespace quendra
