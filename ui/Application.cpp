#include "ui/Application.h"

#include "base/Exceptions.h"
#include "base/ScopeExit.h"
#include "ui/Forms.h"

#include <commctrl.h>

#include <algorithm>

namespace orbelin {

TApplication& Application()
{
    static TApplication application;
    return application;
}

IApplicationHost& ApplicationHost() { return Application(); }

TApplication::TApplication() : TComponent(nullptr)
{
    SetExceptionHandler([this] { HandleException(); });
}

TApplication::~TApplication()
{
    DestroyComponents();
    SetExceptionHandler(nullptr);
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::Run()
{
    if (FMainForm)
        FMainForm->Show();
    while (!FTerminated && HandleMessage(true)) {
    }
    FTerminated = true;
}

void TApplication::Terminate()
{
    if (!FTerminated)
        PostQuitMessage(0);
    FTerminated = true;
}

bool TApplication::HandleMessage(bool wait)
{
    MSG msg;
    if (wait) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            FTerminated = true;
            return false;
        }
    } else {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            return true;
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            return false;
        }
    }
    try {
        if (IsFormKey(msg))
            return true;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    } catch (...) {
        HandleException();
    }
    return true;
}

bool TApplication::IsFormKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    TWinControl* focused = TWinControl::FromHandle(msg.hwnd);
    TForm* form = focused ? focused->ParentForm() : nullptr;
    if (!form)
        return false;
    if (form->IsShortCut(msg))
        return true;
    return msg.message == WM_KEYDOWN && form->DialogKey(*focused, msg);
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT)
            return;
        HandleMessage(false);
    }
}

std::string TApplication::ErrorBoxText(const std::string& message)
{
    if (message.empty())
        return message;
    // Find the first byte of the last character: double-byte characters
    // compare by their lead byte.
    size_t last = 0;
    for (size_t i = 0; i < message.size();) {
        last = i;
        const auto c = static_cast<unsigned char>(message[i]);
        i += (c >= 0x81 && c <= 0xFE && i + 1 < message.size()) ? 2 : 1;
    }
    if (static_cast<unsigned char>(message[last]) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

namespace {

// A box gives the keyboard back to where it was when it closes; under a
// window manager that hand-back can be lost in a race of focus events (the
// focus left on the box's vanished window), so it is done once more here
// when the system did not.
class TFocusReturn {
public:
    explicit TFocusReturn(HWND owner) : FOwner(owner), FFocus(GetFocus()) {}
    ~TFocusReturn()
    {
        if (!FOwner || !IsWindow(FOwner) || !IsWindowVisible(FOwner) || !IsWindowEnabled(FOwner))
            return;
        if (!GetActiveWindow())
            SetActiveWindow(FOwner);
        if (FFocus && IsWindow(FFocus) && !GetFocus() && GetAncestor(FFocus, GA_ROOT) == FOwner)
            SetFocus(FFocus);
    }
    TFocusReturn(const TFocusReturn&) = delete;
    TFocusReturn& operator=(const TFocusReturn&) = delete;

private:
    HWND FOwner;
    HWND FFocus;
};

} // namespace

void TApplication::ShowException(const std::string& message)
{
    // An error that repeats inside the box's own message loop (a paint, a
    // timer) would stack boxes without end; the open box speaks for it.
    if (FShowingException)
        return;
    FShowingException = true;
    const TScopeExit shown([this] { FShowingException = false; });
    HWND owner = GetActiveWindow();
    if (!owner && FMainForm)
        owner = FMainForm->WindowHandle();
    const TFocusReturn back(owner);
    MessageBoxA(owner, ErrorBoxText(message).c_str(), FTitle.c_str(), MB_OK | MB_ICONERROR);
}

namespace {

// Lets the window under the pointer choose the pointer again, as if it had moved.
void RefreshCursor()
{
    POINT p{};
    GetCursorPos(&p);
    HWND window = WindowFromPoint(p);
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return;
    const LRESULT hit = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(hit, WM_MOUSEMOVE));
}

} // namespace

void TApplication::SetCursorOverride(HCURSOR cursor)
{
    if (cursor == FCursorOverride)
        return;
    FCursorOverride = cursor;
    RefreshCursor();
}

void TApplication::HandleException()
{
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        ShowException(e.Message());
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unknown error");
    }
}

namespace {
thread_local HHOOK gMessageHook = nullptr;

// Gives the plain message dialog its "OK" button and centres it on the screen.
LRESULT CALLBACK PlainDialogHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(box, className, sizeof(className));
        if (lstrcmpA(className, "#32770") == 0) {
            SetDlgItemTextA(box, IDOK, "OK");
            RECT r;
            GetWindowRect(box, &r);
            const int w = r.right - r.left, h = r.bottom - r.top;
            SetWindowPos(box, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                         0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            HHOOK hook = gMessageHook;
            gMessageHook = nullptr;
            const LRESULT result = CallNextHookEx(hook, code, wParam, lParam);
            UnhookWindowsHookEx(hook);
            return result;
        }
    }
    return CallNextHookEx(gMessageHook, code, wParam, lParam);
}
} // namespace

void TApplication::ShowMessage(const std::string& text)
{
    HWND owner = GetActiveWindow();
    if (!owner && FMainForm)
        owner = FMainForm->WindowHandle();
    gMessageHook = SetWindowsHookExA(WH_CBT, &PlainDialogHook, nullptr, GetCurrentThreadId());
    const TFocusReturn back(owner);
    MessageBoxA(owner, text.c_str(), FTitle.c_str(), MB_OK);
    if (gMessageHook) {
        UnhookWindowsHookEx(gMessageHook);
        gMessageHook = nullptr;
    }
}

void TApplication::RemoveForm(TForm* form)
{
    std::erase(FForms, form);
    if (FMainForm == form)
        FMainForm = nullptr;
}

} // namespace orbelin
