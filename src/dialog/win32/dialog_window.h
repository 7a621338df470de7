// The native options dialog window: what a program that drives the dialog from outside (a test, an
// automation tool) may rely on. The dialog is a top-level window of the class below; asked with
// kMsgFindControl and a control's component name ("BegSign", "btnOK", "XMLs"), it answers with the window
// handle that shows the control. "SideBar.<page number>" names a side bar button and "<grid>.editor" the
// grid's in-place editor while one is open. Unknown names answer 0.
#pragma once

#include <cstdint>

namespace quendra {

inline constexpr const char* kOptionsDialogClassName = "QuendraOptionsDialog";
// WM_APP + 0x51; lparam: the name as a NUL-terminated string in the dialog's process.
inline constexpr std::uint32_t kMsgFindControl = 0x8000 + 0x51;

}  // namespace quendra
