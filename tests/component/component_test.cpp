#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "component/form.h"
#include "component/input_controls.h"
#include "component/strings_holder.h"

namespace quendra {
namespace {

TEST(ComponentTest, OwnerHoldsNamedChildrenFoundWithoutRegardToCase) {
  TForm form;
  auto& a = form.Create<TEdit>("BegSign");
  auto& b = form.Create<TCheckBox>("chkExpNode");
  form.Create<TEdit>("");  // unnamed components never clash
  form.Create<TEdit>("");
  EXPECT_EQ(form.ComponentCount(), 4u);
  EXPECT_EQ(&form.Components(0), &a);
  EXPECT_EQ(form.FindComponent("begsign"), &a);
  EXPECT_EQ(form.FindComponent("CHKEXPNODE"), &b);
  EXPECT_EQ(form.FindComponent(""), nullptr);
  EXPECT_EQ(a.Owner(), &form);
  EXPECT_THROW(form.Create<TEdit>("BEGSIGN"), EComponentError);
  EXPECT_THROW(b.SetName("begSign"), EComponentError);
  EXPECT_EQ(b.Name(), "chkExpNode");
  b.SetName("chkExpAttr");
  EXPECT_EQ(form.FindComponent("chkExpAttr"), &b);
}

// Records destruction order through a shared log.
class Tracked : public TComponent {
 public:
  explicit Tracked(std::vector<std::string>* log) : log_(log) {}
  ~Tracked() override { log_->push_back(Name()); }

 private:
  std::vector<std::string>* log_;
};

TEST(ComponentTest, OwnerFreesChildrenLastCreatedFirstAndRemoveGivesOwnershipBack) {
  std::vector<std::string> log;
  std::unique_ptr<TComponent> kept;
  {
    TComponent owner;
    owner.Create<Tracked>("first", &log);
    auto& middle = owner.Create<Tracked>("middle", &log);
    owner.Create<Tracked>("last", &log);
    kept = owner.RemoveComponent(middle);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Owner(), nullptr);
    EXPECT_EQ(owner.RemoveComponent(middle), nullptr);
    EXPECT_EQ(owner.ComponentCount(), 2u);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"last", "first"}));
  kept.reset();
  EXPECT_EQ(log.back(), "middle");
}

TEST(ComponentTest, PropertyPathsReachFormControlsAndObjects) {
  TForm form;
  form.Create<TEdit>("BegSign").Text = "Data";
  form.Create<TStringsHolder>("MapTransl0").Strings.SetLines({"Y", "N"});
  form.SetWidth(344);
  struct Case {
    const char* path;
    bool found;
    const char* text;  // expected value as text when found
  };
  const Case cases[] = {
      {"BegSign.Text", true, "Data"},
      {"begsign.TEXT", true, "Data"},
      {"Width", true, "344"},
      {"MapTransl0.Strings.Text", true, "Y\r\nN\r\n"},
      {"MapTransl0.Strings.Count", true, "2"},
      {"Missing.Text", false, ""},
      {"BegSign.Missing", false, ""},
      {"BegSign.", false, ""},
      {".Text", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    const PropertyRef ref = ResolvePropertyPath(form, c.path);
    EXPECT_EQ(static_cast<bool>(ref), c.found) << c.path;
    if (ref) {
      EXPECT_EQ(ValueToText(ref.Get()), c.text) << c.path;
    }
  }
  const PropertyRef strings = ResolvePropertyPath(form, "MapTransl0.Strings");
  ASSERT_TRUE(strings);
  EXPECT_EQ(strings.Kind(), PropertyKind::Object);
  EXPECT_NE(dynamic_cast<TStringList*>(strings.Object()), nullptr);
  ResolvePropertyPath(form, "BegSign.Text").Set(std::string("Root"));
  EXPECT_EQ(static_cast<TEdit*>(form.FindComponent("BegSign"))->Text, "Root");
}

TEST(ComponentTest, ParentListsPlacedControlsAndForgetsThemEitherWay) {
  TForm form;
  auto& page = form.Create<TWinControl>("p_0_0");
  auto& edit = form.Create<TEdit>("BegSign");
  edit.SetParent(&page);
  EXPECT_EQ(page.Controls(), (std::vector<TControl*>{&edit}));
  edit.SetParent(&form);
  EXPECT_TRUE(page.Controls().empty());
  auto removed = form.RemoveComponent(edit);
  removed.reset();
  EXPECT_TRUE(form.Controls().empty());

  auto lone_page = std::make_unique<TWinControl>();
  TEdit lone;
  lone.SetParent(lone_page.get());
  lone_page.reset();
  EXPECT_EQ(lone.Parent(), nullptr);
}

}  // namespace
}  // namespace quendra
