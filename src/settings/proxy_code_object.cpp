#include "settings/proxy_code_object.h"

#include "component/property_binding.h"

namespace quendra {

const TClassInfo& TProxyCodeCustomObject::StaticClass() {
  static const TClassInfo info{"TProxyCodeCustomObject", &TComponent::StaticClass(), {}};
  return info;
}

const TClassInfo& TProxyCodeObject::StaticClass() {
  using binding::Field;
  using T = TProxyCodeObject;
  static const TClassInfo info{"TProxyCodeObject",
                               &TProxyCodeCustomObject::StaticClass(),
                               {
                                   Field("Left", &T::Left),
                                   Field("Top", &T::Top),
                                   Field("Height", &T::Height),
                                   Field("Width", &T::Width),
                                   Field("OpenDialog_FileName", &T::OpenDialog_FileName),
                                   Field("OpenDialog_FilterIndex", &T::OpenDialog_FilterIndex),
                                   Field("SaveDialog_FileName", &T::SaveDialog_FileName),
                                   Field("SaveDialog_FilterIndex", &T::SaveDialog_FilterIndex),
                                   Field("BegSign_Text", &T::BegSign_Text),
                                   Field("LeftTrim_Checked", &T::LeftTrim_Checked),
                                   Field("RightTrim_Checked", &T::RightTrim_Checked),
                                   Field("FmtDate_Text", &T::FmtDate_Text),
                                   Field("FmtTime_Text", &T::FmtTime_Text),
                                   Field("FmtDateTime_Text", &T::FmtDateTime_Text),
                                   Field("chkUseNowTime_Checked", &T::chkUseNowTime_Checked),
                                   Field("chkUseNowDate_Checked", &T::chkUseNowDate_Checked),
                                   Field("spLocaleID_Value", &T::spLocaleID_Value),
                                   Field("Filters_Hint", &T::Filters_Hint),
                                   Field("XMLs_Hint", &T::XMLs_Hint),
                                   Field("spSignTimeout_Value", &T::spSignTimeout_Value),
                                   Field("chkExpNode_Checked", &T::chkExpNode_Checked),
                                   Field("chkExpAttr_Checked", &T::chkExpAttr_Checked),
                                   Field("chkAddNodeName_Checked", &T::chkAddNodeName_Checked),
                                   Field("chkNameUpper_Checked", &T::chkNameUpper_Checked),
                                   Field("MapTransl0_Strings", &T::MapTransl0_Strings),
                                   Field("MapTransl1_Strings", &T::MapTransl1_Strings),
                                   Field("MapTransl2_Strings", &T::MapTransl2_Strings),
                                   Field("comboTransDirection_Tag", &T::comboTransDirection_Tag),
                                   Field("comboChar_Tag", &T::comboChar_Tag),
                               }};
  return info;
}

}  // namespace quendra
