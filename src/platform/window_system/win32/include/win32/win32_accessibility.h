#pragma once

#include "layout/form_layout.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace kt5::platform::win32 {

// Presents controls to a screen reader, through Active Accessibility, as the layout says: a
// control answers WM_GETOBJECT with the system's own accessible object for it, of which only
// the name is replaced, and, for a control that lies off screen, the state: neither visible
// nor focusable, as nothing of it can be seen.
class AccessiblePresentation {
public:
    struct Presentation {
        std::wstring name; // empty: the system's
        bool onScreen;
    };

    AccessiblePresentation() = default;
    AccessiblePresentation(const AccessiblePresentation&) = delete;
    AccessiblePresentation& operator=(const AccessiblePresentation&) = delete;

    // `control` must be destroyed before this object.
    void present(HWND control, const layout::ControlLayout& layout);

private:
    static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);

    std::vector<std::unique_ptr<Presentation>> presented_;
};

} // namespace kt5::platform::win32
