#pragma once
// A plain top-level window of the test's own class (no form behind it), as
// a dialog of the system is: the skin attaches to it by its handle.

#include <windows.h>

namespace orbelin::test {

class TRawWindow {
public:
    explicit TRawWindow(const char* caption, int width = 360, int height = 200)
    {
        static const ATOM registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = "OrbelinRawTestWindow";
            return RegisterClassA(&wc);
        }();
        (void)registered;
        FWindow = CreateWindowExA(0, "OrbelinRawTestWindow", caption, WS_OVERLAPPEDWINDOW, 200, 150, width, height,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TRawWindow()
    {
        if (IsWindow(FWindow))
            DestroyWindow(FWindow);
    }
    TRawWindow(const TRawWindow&) = delete;
    TRawWindow& operator=(const TRawWindow&) = delete;

    HWND Handle() const { return FWindow; }
    HWND AddButton(const char* caption, int x, int y)
    {
        return CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, 100, 28, FWindow, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    void Show()
    {
        ShowWindow(FWindow, SW_SHOW);
        SetForegroundWindow(FWindow);
    }

private:
    HWND FWindow = nullptr;
};

} // namespace orbelin::test
