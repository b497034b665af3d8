#pragma once

#include "layout/form_layout.h"
#include "win32/win32_handles.h"

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

namespace kt5::platform::win32 {

// Fonts made from their description at a given DPI, each once, and released together.
class Win32Fonts {
public:
    Win32Fonts();

    HFONT get(const layout::Font& font, UINT dpi);
    // How wide `text` is drawn in `font` at `dpi`, in twips.
    double widthInTwips(const layout::Font& font, std::string_view text, UINT dpi);
    // How wide an "l" of `font` is drawn at `dpi`, in pixels, or nothing where its face is not
    // installed: where GDI draws another face, or a bitmap face, in its place.
    std::optional<double> stemWidth(const layout::Font& font, UINT dpi);

private:
    struct Entry {
        layout::Font font;
        UINT dpi;
        UniqueFont handle;
    };

    UniqueFont create(const layout::Font& font, UINT dpi, int width);

    std::vector<Entry> fonts_;
    UniqueDc measuring_; // a memory device context, only ever measured in
};

} // namespace kt5::platform::win32
