#pragma once

#include "layout/form_layout.h"

#include <windows.h>

namespace kt5::platform::win32 {

// What the files of Win32Window share.
inline constexpr wchar_t kFormClass[] = L"Kt5Form";
inline constexpr wchar_t kFrameClass[] = L"Kt5Frame";

inline HINSTANCE instance()
{
    return GetModuleHandleW(nullptr);
}

class Win32Window;

// The window a form or frame belongs to, attached from its creation on.
Win32Window* attachedWindow(HWND window, UINT message, LPARAM lParam);

// A layout's colour as Windows draws it: RGB as given, the desktop's colours from the system.
COLORREF colorRef(const layout::Colour& colour);

} // namespace kt5::platform::win32
