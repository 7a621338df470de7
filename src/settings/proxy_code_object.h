// The configuration object's settings as flat published properties, each named after the dialog control
// and property that edits it with the dot turned into an underscore (the dialog's "BegSign.Text" is
// BegSign_Text here), so one settings map serves the dialog and the configuration alike.
#pragma once

#include <string>

#include "component/component.h"
#include "component/string_list.h"

namespace quendra {

// The settings store addresses objects of this class by flattened names. No settings of its own.
class TProxyCodeCustomObject : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

// Every persisted setting of the parser, with its default. The three translation map lists are read-only
// properties: loading replaces their lines, never the lists.
class TProxyCodeObject : public TProxyCodeCustomObject {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Bounds of the options dialog in screen pixels.
  int Left = 465;
  int Top = 277;
  int Height = 415;
  int Width = 337;
  // What the dialog's open-file and save-file boxes remember.
  std::string OpenDialog_FileName;
  int OpenDialog_FilterIndex = 1;
  std::string SaveDialog_FileName;
  int SaveDialog_FilterIndex = 1;
  // Name of the root element whose blocks are cut from the stream; codes below hexadecimal 20 as "#XX".
  std::string BegSign_Text = "Data";
  bool LeftTrim_Checked = false;
  bool RightTrim_Checked = false;
  std::string FmtDate_Text = "DD.MM.YYYY";
  std::string FmtTime_Text = "HH\":\"NN\":\"SS";
  std::string FmtDateTime_Text = "DD.MM.YYYY HH\":\"NN\":\"SS";
  bool chkUseNowTime_Checked = false;
  bool chkUseNowDate_Checked = false;
  // Windows locale identifier of the date and time templates; used truncated to an integer.
  double spLocaleID_Value = 1033;
  // Rows of the packet filter table and of the nodes-and-attributes table, one per line.
  std::string Filters_Hint;
  std::string XMLs_Hint;
  // Milliseconds an unfinished root element may wait; 0 waits for ever. Used truncated to an integer.
  double spSignTimeout_Value = 5000;
  bool chkExpNode_Checked = true;
  bool chkExpAttr_Checked = true;
  bool chkAddNodeName_Checked = false;
  bool chkNameUpper_Checked = false;
  // Lines of the data-packet, string-variables and RAW-data translation maps.
  TStringList MapTransl0_Strings;
  TStringList MapTransl1_Strings;
  TStringList MapTransl2_Strings;
  // Translation map (0 data packet, 1 string variables, 2 RAW data) and character last shown in the dialog.
  int comboTransDirection_Tag = 0;
  int comboChar_Tag = 0;
};

}  // namespace quendra
