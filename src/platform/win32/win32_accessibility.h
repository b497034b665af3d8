#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kt5::platform::win32 {

// Gives controls the names a screen reader reads for them, through Active Accessibility:
// each named control answers WM_GETOBJECT with the system's own accessible object for it,
// of which only the name is replaced. The accessibility libraries are bound at the first
// such request, which only assistive technology makes, so they cost the start nothing.
class AccessibleNames {
public:
    AccessibleNames() = default;
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // `control` must be destroyed before this object.
    void give(HWND control, std::string_view name);

private:
    struct Named {
        WNDPROC original;
        std::wstring name;
    };

    static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    std::vector<std::unique_ptr<Named>> named_;
};

} // namespace kt5::platform::win32
