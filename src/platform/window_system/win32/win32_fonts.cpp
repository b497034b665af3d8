#include "win32/win32_fonts.h"

#include "os/windows_text.h"
#include "win32_units.h"

namespace kt5::platform::win32 {

Win32Fonts::Win32Fonts()
    : measuring_(CreateCompatibleDC(nullptr))
{
}

HFONT Win32Fonts::get(const layout::Font& font, UINT dpi)
{
    for (const auto& entry : fonts_)
        if (entry.font == font && entry.dpi == dpi)
            return entry.handle.get();

    // A stretch is a share of the face's own average character width at this size.
    int width = 0;
    if (font.stretch != 100 && measuring_) {
        layout::Font normal = font;
        normal.stretch = 100;
        const SelectedObject selected(measuring_.get(), get(normal, dpi));
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(measuring_.get(), &metrics))
            width = MulDiv(metrics.tmAveCharWidth, font.stretch, 100);
    }
    fonts_.push_back({font, dpi, create(font, dpi, width)});
    return fonts_.back().handle.get();
}

UniqueFont Win32Fonts::create(const layout::Font& font, UINT dpi, int width)
{
    return UniqueFont(CreateFontW(fontHeightFromPoints(font.points, dpi), width, 0, 0, font.weight,
                                  font.italic, font.underline, font.strikeout,
                                  static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                  os::wideFromUtf8(font.face).c_str()));
}

double Win32Fonts::widthInTwips(const layout::Font& font, std::string_view text, UINT dpi)
{
    const HFONT handle = get(font, dpi);
    if (!measuring_ || handle == nullptr)
        return 0;
    const SelectedObject selected(measuring_.get(), handle);
    const std::wstring wide = os::wideFromUtf8(text);
    SIZE extent{};
    GetTextExtentPoint32W(measuring_.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
    return twipsFromPixels(extent.cx, dpi);
}

std::optional<double> Win32Fonts::stemWidth(const layout::Font& font, UINT dpi)
{
    const HFONT handle = get(font, dpi);
    if (!measuring_ || handle == nullptr)
        return std::nullopt;
    const SelectedObject selected(measuring_.get(), handle);
    wchar_t face[LF_FACESIZE]{};
    GetTextFaceW(measuring_.get(), LF_FACESIZE, face);
    GLYPHMETRICS glyph{};
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    if (lstrcmpiW(face, os::wideFromUtf8(font.face).c_str()) != 0 ||
        GetGlyphOutlineW(measuring_.get(), L'l', GGO_METRICS, &glyph, 0, nullptr, &identity) ==
            GDI_ERROR)
        return std::nullopt;
    return glyph.gmBlackBoxX;
}

} // namespace kt5::platform::win32
