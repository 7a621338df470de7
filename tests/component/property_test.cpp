#include <gtest/gtest.h>

#include "component/file_dialog.h"
#include "component/form.h"
#include "component/input_controls.h"
#include "component/property_binding.h"
#include "component/strings_holder.h"

namespace quendra {
namespace {

TEST(PropertyTest, PublishedNamesAreFoundWithoutRegardToCaseAlongTheClassChain) {
  TCheckBox box;
  EXPECT_EQ(box.ClassName(), "TCheckBox");
  for (const char* name : {"Checked", "CHECKED", "caption", "Left", "hint", "Name", "tag", "HelpContext"}) {
    EXPECT_NE(box.FindProperty(name), nullptr) << name;
  }
  EXPECT_EQ(box.FindProperty("Text"), nullptr);
  EXPECT_TRUE(box.ClassInfo().InheritsFrom("TControl"));
  EXPECT_TRUE(box.ClassInfo().InheritsFrom("tcomponent"));
  EXPECT_FALSE(box.ClassInfo().InheritsFrom("TEdit"));
}

TEST(PropertyTest, KindsFollowTheValueTypes) {
  TSpinEdit spin;
  TStringsHolder holder;
  struct Case {
    TPersistent* object;
    const char* name;
    PropertyKind kind;
    bool writable;
  };
  const Case cases[] = {
      {&spin, "Left", PropertyKind::Integer, true},        {&spin, "Value", PropertyKind::Floating, true},
      {&spin, "Enabled", PropertyKind::Enumeration, true}, {&spin, "Hint", PropertyKind::Text, true},
      {&holder, "Strings", PropertyKind::Object, false},   {&holder, "Tag", PropertyKind::Integer, true},
  };
  for (const Case& c : cases) {
    const PropertyInfo& info = c.object->Property(c.name);
    EXPECT_EQ(info.Kind, c.kind) << c.name;
    EXPECT_EQ(info.Writable(), c.writable) << c.name;
  }
}

TEST(PropertyTest, TypedGetAndSet) {
  TForm form;
  auto& edit = form.Create<TEdit>("BegSign");
  auto& check = form.Create<TCheckBox>("chkExpNode");
  auto& spin = form.Create<TSpinEdit>("spLocaleID");

  edit.SetStrProp("Text", "Data");
  EXPECT_EQ(edit.Text, "Data");
  EXPECT_EQ(edit.GetStrProp("text"), "Data");

  check.SetBoolProp("Checked", true);
  EXPECT_TRUE(check.Checked);
  EXPECT_EQ(check.GetEnumProp("Checked"), "True");
  check.SetEnumProp("Checked", "false");
  EXPECT_FALSE(check.GetBoolProp("Checked"));
  EXPECT_THROW(check.SetEnumProp("Checked", "Yes"), EPropertyError);
  EXPECT_FALSE(check.Checked);

  spin.SetFloatProp("Value", 1033.5);
  EXPECT_DOUBLE_EQ(spin.GetFloatProp("Value"), 1033.5);

  form.SetOrdProp("Width", 344);
  form.SetProp("Height", std::string("419"));
  EXPECT_EQ(form.Bounds(), (TBounds{0, 0, 344, 419}));
  EXPECT_EQ(form.GetOrdProp("Height"), 419);
}

TEST(PropertyTest, MisuseThrows) {
  TEdit edit;
  EXPECT_THROW(edit.GetStrProp("NoSuch"), EPropertyError);
  EXPECT_THROW(edit.GetStrProp("Left"), EPropertyError);  // wrong kind
  EXPECT_THROW(edit.SetProp("Left", std::string("abc")), EPropertyError);
  EXPECT_THROW(edit.SetProp("Left", std::int64_t{1} << 40), EPropertyError);  // beyond an int
  EXPECT_THROW(edit.SetProp("Left", 1e300), EPropertyError);
  TStringsHolder holder;
  EXPECT_THROW(holder.SetProp("Strings", std::string("x")), EPropertyError);  // read-only object
  EXPECT_EQ(holder.GetObjectProp("Strings"), &holder.Strings);
}

TEST(PropertyTest, AllPropertiesListsAncestorsFirstInDeclarationOrder) {
  TFileDialog dialog;
  std::vector<std::string> names;
  for (const PropertyInfo* p : dialog.ClassInfo().AllProperties()) names.push_back(p->Name);
  const std::vector<std::string> expected{"Name",        "Tag",        "FileName", "Filter",
                                          "FilterIndex", "DefaultExt", "Title"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(dialog.FilterIndex, 1);
}

TEST(PropertyTest, ValueConversions) {
  EXPECT_EQ(ValueToInteger(std::string(" 0x1F ")), 31);
  EXPECT_EQ(ValueToInteger(2.5), 3);
  EXPECT_EQ(ValueToInteger(PropertyValue{}), 0);
  EXPECT_DOUBLE_EQ(ValueToFloat(std::string("1,5")), 1.5);
  EXPECT_EQ(ValueToText(std::int64_t{-7}), "-7");
  EXPECT_EQ(ValueToText(5000.0), "5000");
  EXPECT_EQ(ValueToText(0.1), "0.1");
  EXPECT_THROW(ValueToFloat(std::string("1.5x")), EPropertyError);
}

}  // namespace
}  // namespace quendra
