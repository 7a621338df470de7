// Page navigation: a notebook whose pages are shown one at a time, and the side bar whose buttons select
// them. The side bar is built from a page list: a line that does not begin with a space opens a group, a
// line that begins with a space adds a button "Caption;Image" to the current group. Button b of group g
// shows the page named "p_<g>_<b>" and has the page number g * 10 + b.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "component/control.h"

namespace quendra {

class TNotebookPage : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
};

class TNotebook : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // The pages placed on the notebook, in placing order.
  std::vector<TNotebookPage*> Pages() const;
  TNotebookPage* FindPage(std::string_view name) const;
  TNotebookPage* ActivePage = nullptr;
};

class TSideBarButton : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  std::string Caption;
  int ImageIndex = -1;  // -1: no picture
  int Group = 0;
  int Index = 0;
  int PageNumber() const { return Group * 10 + Index; }
};

class TzelSideBar : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  // Rebuilds groups and buttons from the page list (lines ended by carriage return, line feed or both).
  void Build(std::string_view page_list);
  const std::vector<std::string>& Groups() const { return groups_; }
  std::size_t ButtonCount() const { return buttons_.size(); }
  TSideBarButton& Button(std::size_t index) const { return *buttons_.at(index); }
  // Group headers are shown only when there is more than one group.
  bool ShowsGroupHeaders() const { return groups_.size() > 1; }

  // Selects the button of page number `page`, shows its page in Notebook and its caption in TitleLabel
  // (through OnSelect); false, with nothing changed, when no button has that number.
  bool SelectPage(int page);
  int SelectedPage() const { return selected_page_; }

  // The notebook whose pages the buttons show; the selection callback gets the button.
  TNotebook* Notebook = nullptr;
  std::function<void(TSideBarButton&)> OnSelect;

 private:
  std::vector<std::string> groups_;
  std::vector<TSideBarButton*> buttons_;
  int selected_page_ = -1;
};

}  // namespace quendra
