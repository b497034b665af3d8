// The yardstick for start-up on Windows: the least a Win32 window of eleven buttons takes.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"Minimal";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(
        0, L"Minimal", L"minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, 388, 272, nullptr, nullptr, windowClass.hInstance, nullptr);
    for (int i = 0; i <= 10; ++i) {
        wchar_t caption[] = L"*00#";
        caption[1] = static_cast<wchar_t>(L'0' + i / 10);
        caption[2] = static_cast<wchar_t>(L'0' + i % 10);
        CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                        10 + (i % 3) * 80, 10 + (i / 3) * 30, 65, 25, window, nullptr,
                        windowClass.hInstance, nullptr);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
