// Form1 built by the Win32 backend, run under Wine: what was built, and how it behaves under
// real input (SendInput, the path a mouse's clicks take).
#include "fakes/fake_sound_service.h"
#include "platform/win32/win32_platform_services.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window.h"
#include "support/form_geometry.h"
#include "support/param_name.h"
#include "window/event_routes.h"
#include "window/form1_description.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace kt5::test {
namespace {

using platform::ControlDescription;
using platform::ControlEvent;
using platform::win32::Win32Window;

const platform::WindowDescription& form1 = window::form1Description();

// Where a control lies in the client area at 96 DPI.
RECT expectedRect(const ControlDescription& c)
{
    const platform::Rect r = clientRectOf(form1, c);
    return {r.left / 15, r.top / 15, (r.left + r.width) / 15, (r.top + r.height) / 15};
}

RECT rectInForm(HWND control, HWND form)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string name(const ControlDescription& c)
{
    return std::string(c.name) + (c.index ? "(" + std::to_string(*c.index) + ")" : "");
}

// A left click at the centre of `target`, as real mouse input.
void click(HWND target)
{
    RECT r{};
    GetWindowRect(target, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// Destroying a window posts the quit message; left in the queue it would end the next
// message box at once.
void dropQuitMessages()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

class Win32Form1 : public testing::Test {
protected:
    void SetUp() override
    {
        dropQuitMessages();
        window = services.buildWindow(form1, [this](const ControlEvent& e) { onEvent(e); });
        form = static_cast<Win32Window*>(window.get());
        ASSERT_NE(form->handle(), nullptr);
        form->show();
        pumpFor(200);
    }

    void TearDown() override
    {
        window.reset();
        dropQuitMessages();
    }

    // Runs the window's own message handling for a while, as its loop does.
    void pumpFor(int ms)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        do {
            MSG message{};
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (form->preTranslate(message))
                    continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            Sleep(5);
        } while (std::chrono::steady_clock::now() < end);
    }

    HWND control(std::string_view controlName, std::optional<std::int16_t> index = {}) const
    {
        return form->controlHandle(controlName, index);
    }

    std::function<void(const ControlEvent&)> onEvent = [this](const ControlEvent& e) {
        clicked.push_back(*e.index);
    };
    platform::win32::Win32PlatformServices services;
    std::unique_ptr<platform::Window> window;
    Win32Window* form = nullptr;
    std::vector<int> clicked;
};

TEST_F(Win32Form1, EveryControlLiesAtItsDescribedRectangle)
{
    RECT client{};
    GetClientRect(form->handle(), &client);
    EXPECT_EQ(client.right, 382);
    EXPECT_EQ(client.bottom, 247);
    for (const auto& c : form1.controls) {
        HWND handle = control(c.name, c.index);
        ASSERT_NE(handle, nullptr) << name(c);
        const RECT actual = rectInForm(handle, form->handle());
        const RECT expected = expectedRect(c);
        EXPECT_EQ(actual.left, expected.left) << name(c);
        EXPECT_EQ(actual.top, expected.top) << name(c);
        EXPECT_EQ(actual.right, expected.right) << name(c);
        EXPECT_EQ(actual.bottom, expected.bottom) << name(c);
        const HWND parent = c.parent.empty() ? form->handle() : control(c.parent);
        EXPECT_EQ(GetParent(handle), parent) << name(c);
    }
}

TEST_F(Win32Form1, FixedBorderWithMinimiseAndCloseButNoMaximise)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(form->handle(), GWL_STYLE));
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    wchar_t title[64]{};
    GetWindowTextW(form->handle(), title, 64);
    EXPECT_EQ(std::wstring(title), L"KT-5 DTMF Dialer  V.1.8 (QA1ZZ / QB2YY)");
    EXPECT_NE(SendMessageW(form->handle(), WM_GETICON, ICON_BIG, 0), 0);
}

struct FontCase {
    std::string name;
    std::string control;
    std::optional<std::int16_t> index;
    std::wstring face;
    LONG height;
    LONG weight;
};

class Win32Font : public Win32Form1, public testing::WithParamInterface<FontCase> {};

TEST_P(Win32Font, ControlUsesItsDescribedFont)
{
    const auto& f = GetParam();
    const auto font =
        reinterpret_cast<HFONT>(SendMessageW(control(f.control, f.index), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logical{};
    ASSERT_NE(GetObjectW(font, sizeof logical, &logical), 0);
    EXPECT_EQ(std::wstring(logical.lfFaceName), f.face);
    EXPECT_EQ(logical.lfHeight, f.height);
    EXPECT_EQ(logical.lfWeight, f.weight);
    EXPECT_EQ(logical.lfCharSet, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, Win32Font,
    testing::Values(FontCase{"Button", "Command1", 3, L"Tahoma", -13, 700},
                    FontCase{"ButtonOfTheForm", "Command1", 10, L"Tahoma", -13, 700},
                    FontCase{"Label", "Label3", {}, L"Tahoma", -13, 700},
                    FontCase{"Frame", "Frame1", {}, L"MS Sans Serif", -11, 400},
                    FontCase{"Text10", "Text10", {}, L"MS Sans Serif", -11, 400},
                    FontCase{"Label27", "Label27", {}, L"MS Sans Serif", -11, 400}),
    ByName{});

struct ColourCase {
    std::string name;
    std::string control;
    UINT message;
    COLORREF text;
    COLORREF back;
};

class Win32Colour : public Win32Form1, public testing::WithParamInterface<ColourCase> {};

TEST_P(Win32Colour, ControlIsPaintedInItsColours)
{
    const auto& c = GetParam();
    HWND handle = control(c.control);
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(GetParent(handle), c.message, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(handle));
    EXPECT_EQ(GetTextColor(dc), c.text);
    EXPECT_EQ(GetBkColor(dc), c.back);
    DeleteDC(dc);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, Win32Colour,
    testing::Values(ColourCase{"Label", "Label6", WM_CTLCOLORSTATIC, GetSysColor(COLOR_BTNTEXT),
                               GetSysColor(COLOR_BTNFACE)},
                    ColourCase{"GreyLabel", "Label27", WM_CTLCOLORSTATIC, RGB(128, 128, 128),
                               GetSysColor(COLOR_BTNFACE)},
                    ColourCase{"TxtNum", "txtNum", WM_CTLCOLOREDIT, GetSysColor(COLOR_WINDOWTEXT),
                               GetSysColor(COLOR_BTNFACE)}),
    ByName{});

TEST_F(Win32Form1, WindowIsGreyAndTheFrameCaptionGrey)
{
    HDC screen = GetDC(form->handle());
    EXPECT_EQ(GetPixel(screen, 2, 2), RGB(192, 192, 192));
    ReleaseDC(form->handle(), screen);

    HWND frame = control("Frame1");
    HDC dc = GetDC(frame);
    int grey = 0;
    for (int x = 0; x < 150; ++x)
        for (int y = 0; y < 12; ++y)
            grey += GetPixel(dc, x, y) == RGB(128, 128, 128);
    ReleaseDC(frame, dc);
    EXPECT_GT(grey, 20) << "no caption drawn in RGB(128, 128, 128)";
}

TEST_F(Win32Form1, OpensWithFocusOffScreenAndTabWalksTheFocusOrder)
{
    std::vector<std::string> visited;
    const auto nameOfFocus = [&] {
        for (const auto& c : form->controls())
            if (c.handle == GetFocus())
                return name(*c.description);
        return std::string("?");
    };
    visited.push_back(nameOfFocus());
    for (int i = 0; i < 13; ++i) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        ASSERT_TRUE(form->preTranslate(tab));
        visited.push_back(nameOfFocus());
    }

    EXPECT_EQ(visited, (std::vector<std::string>{
                           "txtNum", "Command1(5)", "Command1(4)", "Command1(3)", "Command1(2)",
                           "Command1(1)", "Command1(0)", "Command1(6)", "Text10", "Command1(7)",
                           "Command1(8)", "Command1(9)", "Command1(10)", "txtNum"}));
}

TEST_F(Win32Form1, EveryButtonClickedWithTheMouseReachesTheHandlerWithItsIndex)
{
    for (std::int16_t i = 0; i <= 10; ++i) {
        click(control("Command1", i));
        pumpFor(60);
    }
    click(control("Label3"));
    click(control("Frame1"));
    pumpFor(60);

    EXPECT_EQ(clicked, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

// While the box is open, inspects it, clicks the window, and closes it.
struct BoxInspection {
    std::wstring text;
    std::wstring title;
    bool exclamationIcon = false;
    HWND buttonToClick = nullptr;
    int boxes = 0;
};
BoxInspection* inspection = nullptr;

BOOL CALLBACK readBoxChild(HWND child, LPARAM)
{
    wchar_t className[32]{};
    GetClassNameW(child, className, 32);
    if (std::wstring(className) != L"Static")
        return TRUE;
    const auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        inspection->exclamationIcon = icon == LoadIconW(nullptr, IDI_EXCLAMATION);
    } else {
        wchar_t text[128]{};
        GetWindowTextW(child, text, 128);
        if (text[0] != L'\0')
            inspection->text = text;
    }
    return TRUE;
}

void CALLBACK inspectBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, timer);
    ++inspection->boxes;
    wchar_t title[64]{};
    GetWindowTextW(box, title, 64);
    inspection->title = title;
    EnumChildWindows(box, &readBoxChild, 0);
    click(inspection->buttonToClick);
    Sleep(100);
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    SendMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Win32Form1, FailedToneShowsOneModalExclamationBoxAndTheWindowWorksAfterwards)
{
    FakeSoundService sound;
    sound.result = false;
    tones::ToneCommands commands(services, sound);
    onEvent = [&](const ControlEvent& e) { window::routeEvent(commands, e); };
    BoxInspection seen;
    seen.buttonToClick = control("Command1", 7);
    inspection = &seen;

    SetTimer(nullptr, 0, 20, &inspectBox);
    click(control("Command1", 3));
    pumpFor(500);
    sound.result = true;
    click(control("Command1", 6));
    pumpFor(200);

    EXPECT_EQ(seen.boxes, 1);
    EXPECT_EQ(seen.text, L"Error playing DTMF tone");
    EXPECT_EQ(seen.title, L"Error");
    EXPECT_TRUE(seen.exclamationIcon);
    ASSERT_EQ(sound.played.size(), 2u) << "a click given while the box was open reached the window";
    EXPECT_TRUE(sound.played[1].ends_with(L"\\06.wav"));
}

TEST(Win32ApplicationDirectory, ModulePathLosesItsFileNameAndKeepsADriveRootsSeparator)
{
    using platform::win32::directoryOfModule;
    EXPECT_EQ(directoryOfModule(L"C:\\Tools\\Dialer\\kt5_dtmf.exe"), L"C:\\Tools\\Dialer");
    EXPECT_EQ(directoryOfModule(L"D:\\kt5_dtmf.exe"), L"D:\\");
    EXPECT_EQ(directoryOfModule(L"\\\\server\\share\\kt5_dtmf.exe"), L"\\\\server\\share");
    EXPECT_EQ(directoryOfModule(L"\\\\?\\C:\\a very long path\\kt5_dtmf.exe"),
              L"\\\\?\\C:\\a very long path");

    platform::win32::Win32PlatformServices services;
    const std::wstring directory = services.applicationDirectory();
    wchar_t module[MAX_PATH]{};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(directory + L"\\win32_window_test.exe", std::wstring(module));
}

} // namespace
} // namespace kt5::test
