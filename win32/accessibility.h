#pragma once
// What a screen reader announces for a window: the system's accessible
// object, under a name of ours (a result field is named by the label
// before it, which the system cannot find on its own in this layout).

#include <windows.h>

#include <string>

namespace brindelor::win32 {

// Answers WM_GETOBJECT for the client object with the given name. Returns
// false (the message left to the default) for other objects or no name.
bool answerAccessibleName(HWND hwnd, WPARAM wParam, LPARAM lParam, const std::wstring& name, LRESULT& result);

} // namespace brindelor::win32
