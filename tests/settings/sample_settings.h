// A configuration with every setting away from its default, and a comparison of two configurations
// through their published properties.
#pragma once

#include <gtest/gtest.h>

#include "component/string_list.h"
#include "settings/data_source_cfg.h"
#include "settings/settings_map.h"

namespace quendra::testing {

inline void SetSample(TProxyCodeObject& c) {
  c.Left = 10;
  c.Top = -20;
  c.Height = 300;
  c.Width = 400;
  c.OpenDialog_FileName = "C:\\Data\\in.xml";
  c.OpenDialog_FilterIndex = 2;
  c.SaveDialog_FileName = " out file.ini";
  c.SaveDialog_FilterIndex = 3;
  c.BegSign_Text = "Packet";
  c.LeftTrim_Checked = true;
  c.RightTrim_Checked = true;
  c.FmtDate_Text = "YYYY-MM-DD";
  c.FmtTime_Text = "HH\":\"NN";
  c.FmtDateTime_Text = "100%";
  c.chkUseNowTime_Checked = true;
  c.chkUseNowDate_Checked = true;
  c.spLocaleID_Value = 1031;
  c.Filters_Hint = "1||0||a+b||1\r\n";
  c.XMLs_Hint = "Value||1||1||8\r\nTime||0||1||10\r\n";
  c.spSignTimeout_Value = 2500.5;
  c.chkExpNode_Checked = false;
  c.chkExpAttr_Checked = false;
  c.chkAddNodeName_Checked = true;
  c.chkNameUpper_Checked = true;
  c.MapTransl0_Strings.SetLines({"Y", "N", "0"});
  c.MapTransl1_Strings.Clear();
  c.MapTransl2_Strings.SetLines({"", "x y "});
  c.comboTransDirection_Tag = 2;
  c.comboChar_Tag = 65;
}

// The sample as an INI file without a section prefix stores it.
inline const char* kSampleIni =
    "[Common]\r\n"
    "Left=10\r\n"
    "Top=-20\r\n"
    "Height=300\r\n"
    "Width=400\r\n"
    "Open files dir=C:\\Data\\in.xml\r\n"
    "Open files dir filter index=2\r\n"
    "Save files dir=+out file.ini\r\n"
    "Save files dir filter index=3\r\n"
    "Start string=Packet\r\n"
    "Left trim=True\r\n"
    "Right trim=True\r\n"
    "Date format=YYYY-MM-DD\r\n"
    "Time format=HH\":\"NN\r\n"
    "Date and time format=100%%\r\n"
    "Use current time=True\r\n"
    "Use current date=True\r\n"
    "Locale ID=1031\r\n"
    "Filter=1||0||a%2bb||1%0d%0a\r\n"
    "XMLs=Value||1||1||8%0d%0aTime||0||1||10%0d%0a\r\n"
    "Sign timeout=2500.5\r\n"
    "Export nodes=False\r\n"
    "Export attrs=False\r\n"
    "Add node name=True\r\n"
    "Export upper case name=True\r\n"
    "\r\n"
    "[Translation]\r\n"
    "Map0=Y%0d%0aN%0d%0a0%0d%0a\r\n"
    "Map1=\r\n"
    "Map2=%0d%0ax y %0d%0a\r\n"
    "Type=2\r\n"
    "Character=65\r\n"
    "\r\n";

// Defaults as a fresh configuration saves them: all twenty-nine entries, the bounds included.
inline const char* kDefaultIni =
    "[Common]\r\n"
    "Left=465\r\n"
    "Top=277\r\n"
    "Height=415\r\n"
    "Width=337\r\n"
    "Open files dir=\r\n"
    "Open files dir filter index=1\r\n"
    "Save files dir=\r\n"
    "Save files dir filter index=1\r\n"
    "Start string=Data\r\n"
    "Left trim=False\r\n"
    "Right trim=False\r\n"
    "Date format=DD.MM.YYYY\r\n"
    "Time format=HH\":\"NN\":\"SS\r\n"
    "Date and time format=DD.MM.YYYY HH\":\"NN\":\"SS\r\n"
    "Use current time=False\r\n"
    "Use current date=False\r\n"
    "Locale ID=1033\r\n"
    "Filter=\r\n"
    "XMLs=\r\n"
    "Sign timeout=5000\r\n"
    "Export nodes=True\r\n"
    "Export attrs=True\r\n"
    "Add node name=False\r\n"
    "Export upper case name=False\r\n"
    "\r\n"
    "[Translation]\r\n"
    "Map0=\r\n"
    "Map1=\r\n"
    "Map2=\r\n"
    "Type=0\r\n"
    "Character=0\r\n"
    "\r\n";

// Every published setting of `a` equals that of `b` (lists by their lines).
inline void ExpectSameSettings(TProxyCodeObject& a, TProxyCodeObject& b) {
  for (const PropertyInfo* p : a.ClassInfo().AllProperties()) {
    if (p->Name == "Name" || p->Name == "Tag") continue;
    if (p->Kind == PropertyKind::Object) {
      EXPECT_EQ(static_cast<TStringList*>(p->Object(a))->Lines(),
                static_cast<TStringList*>(p->Object(b))->Lines())
          << p->Name;
    } else {
      EXPECT_EQ(p->Get(a), p->Get(b)) << p->Name;
    }
  }
}

inline TStringList ModuleMap() {
  return TStringList(DataSourceSettingsMap());
}

}  // namespace quendra::testing
