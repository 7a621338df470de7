#include "component/side_bar.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"

namespace quendra {
namespace {

TEST(SideBarTest, PageListGivesGroupsButtonsAndPageNumbers) {
  struct Case {
    const char* list;
    std::vector<std::string> groups;
    std::vector<std::tuple<std::string, int, int>> buttons;  // caption, image, page number
  };
  const Case cases[] = {
      {"Parser\r XML data;0\r XML nodes;1\r Characters translation;2\r Filter;3\r Data format;4\r",
       {"Parser"},
       {{"XML data", 0, 0},
        {"XML nodes", 1, 1},
        {"Characters translation", 2, 2},
        {"Filter", 3, 3},
        {"Data format", 4, 4}}},
      {"A\r one\r two;7\rB\r three;12345\r four;x\r",
       {"A", "B"},
       {{"one", -1, 0}, {"two", 7, 1}, {"three", 123, 10}, {"four", -1, 11}}},
      {"", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    TzelSideBar bar;
    bar.Build(c.list);
    EXPECT_EQ(bar.Groups(), c.groups);
    ASSERT_EQ(bar.ButtonCount(), c.buttons.size());
    for (std::size_t i = 0; i < c.buttons.size(); ++i) {
      EXPECT_EQ(bar.Button(i).Caption, std::get<0>(c.buttons[i]));
      EXPECT_EQ(bar.Button(i).ImageIndex, std::get<1>(c.buttons[i]));
      EXPECT_EQ(bar.Button(i).PageNumber(), std::get<2>(c.buttons[i]));
    }
    EXPECT_EQ(bar.ShowsGroupHeaders(), c.groups.size() > 1);
  }
}

class DialogSideBarTest : public testing::DialogTest {};

TEST_F(DialogSideBarTest, FirstPageByTheFormsTag) {
  struct Case {
    int tag;
    const char* page;
    const char* title;
  };
  const Case cases[] = {
      {0, "p_0_0", "XML data"},  {3, "p_0_3", "Filter"},   {2, "p_0_2", "Characters translation"},
      {10, "p_0_0", "XML data"}, {5, "p_0_0", "XML data"}, {-1, "p_0_0", "XML data"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    auto form = Open(c.tag);
    ASSERT_NE(form->Notebook->ActivePage, nullptr);
    EXPECT_EQ(form->Notebook->ActivePage->Name(), c.page);
    EXPECT_EQ(form->lblTitle->Caption, c.title);
  }
}

TEST_F(DialogSideBarTest, PagesHaveTheirHelpContexts) {
  auto form = Open();
  const std::pair<const char*, int> pages[] = {
      {"p_0_0", 50}, {"p_0_1", 51}, {"p_0_2", 52}, {"p_0_3", 80}, {"p_0_4", 53}};
  for (const auto& [name, help] : pages) {
    TNotebookPage* page = form->Notebook->FindPage(name);
    ASSERT_NE(page, nullptr) << name;
    EXPECT_EQ(page->HelpContext, help) << name;
  }
  EXPECT_EQ(form->HelpContext, 60);
  EXPECT_EQ(form->pnlBottom->HelpContext, 80);
  EXPECT_EQ(form->BegSign->HelpContext, 182);
  EXPECT_EQ(form->spSignTimeout->HelpContext, 182);
}

}  // namespace
}  // namespace quendra
