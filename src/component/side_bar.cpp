#include "component/side_bar.h"

#include "component/ascii_text.h"
#include "component/property_binding.h"
#include "component/string_list.h"
#include "component/text_numbers.h"

namespace quendra {

using binding::Field;

const TClassInfo& TNotebookPage::StaticClass() {
  static const TClassInfo info{
      "TNotebookPage", &TWinControl::StaticClass(), {Field("Caption", &TNotebookPage::Caption)}};
  return info;
}

const TClassInfo& TNotebook::StaticClass() {
  static const TClassInfo info{"TNotebook", &TWinControl::StaticClass(), {}};
  return info;
}

std::vector<TNotebookPage*> TNotebook::Pages() const {
  std::vector<TNotebookPage*> pages;
  for (TControl* c : Controls())
    if (auto* page = dynamic_cast<TNotebookPage*>(c)) pages.push_back(page);
  return pages;
}

TNotebookPage* TNotebook::FindPage(std::string_view name) const {
  for (TNotebookPage* page : Pages())
    if (SameTextAscii(page->Name(), name)) return page;
  return nullptr;
}

const TClassInfo& TSideBarButton::StaticClass() {
  static const TClassInfo info{"TSideBarButton",
                               &TComponent::StaticClass(),
                               {
                                   Field("Caption", &TSideBarButton::Caption),
                                   Field("ImageIndex", &TSideBarButton::ImageIndex),
                               }};
  return info;
}

const TClassInfo& TzelSideBar::StaticClass() {
  static const TClassInfo info{"TzelSideBar", &TWinControl::StaticClass(), {}};
  return info;
}

void TzelSideBar::Build(std::string_view page_list) {
  for (TSideBarButton* b : buttons_) RemoveComponent(*b);
  buttons_.clear();
  groups_.clear();
  selected_page_ = -1;
  TStringList lines;
  lines.SetText(page_list);
  int index_in_group = 0;
  for (const std::string& line : lines.Lines()) {
    if (TrimBlanks(line).empty()) continue;
    if (line.front() != ' ') {
      groups_.emplace_back(TrimBlanks(line));
      index_in_group = 0;
      continue;
    }
    // Buttons before any group header form a group of their own.
    if (groups_.empty()) groups_.emplace_back();
    const std::string_view text = TrimBlanks(line);
    const std::size_t semi = text.find(';');
    TSideBarButton& button = Create<TSideBarButton>({});
    button.Caption = std::string(TrimBlanks(text.substr(0, semi)));
    if (semi != std::string_view::npos) {
      const std::string_view image = TrimBlanks(text.substr(semi + 1)).substr(0, 3);
      if (auto n = ParseInteger(image); n && *n >= 0) button.ImageIndex = static_cast<int>(*n);
    }
    button.Group = static_cast<int>(groups_.size()) - 1;
    button.Index = index_in_group++;
    buttons_.push_back(&button);
  }
}

bool TzelSideBar::SelectPage(int page) {
  for (TSideBarButton* button : buttons_) {
    if (button->PageNumber() != page) continue;
    selected_page_ = page;
    if (Notebook != nullptr) {
      const std::string name = "p_" + std::to_string(button->Group) + "_" + std::to_string(button->Index);
      if (TNotebookPage* target = Notebook->FindPage(name)) Notebook->ActivePage = target;
    }
    if (OnSelect) OnSelect(*button);
    return true;
  }
  return false;
}

}  // namespace quendra
