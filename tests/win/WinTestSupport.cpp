#include "tests/win/WinTestSupport.h"

#include "ui/Application.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace orbelin::test {

namespace {

struct TFind {
    DWORD Process;
    std::string Class;
    std::string Caption;
    HWND Found = nullptr;
};

BOOL CALLBACK FindTop(HWND window, LPARAM param)
{
    auto* find = reinterpret_cast<TFind*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != find->Process || !IsWindowVisible(window))
        return TRUE;
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof(cls));
    if (!find->Class.empty() && find->Class != cls)
        return TRUE;
    if (!find->Caption.empty() && WindowText(window) != find->Caption)
        return TRUE;
    find->Found = window;
    return FALSE;
}

HWND WaitForWindow(const std::string& cls, const std::string& caption, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        TFind find{GetCurrentProcessId(), cls, caption};
        EnumWindows(&FindTop, reinterpret_cast<LPARAM>(&find));
        if (find.Found)
            return find.Found;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param)
{
    auto* info = reinterpret_cast<TBoxInfo*>(param);
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof(cls));
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(cls, "Button") == 0)
        info->Buttons.push_back(WindowText(child));
    else if (lstrcmpiA(cls, "Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            if (SendMessageA(child, STM_GETICON, 0, 0) != 0 && IsWindowVisible(child))
                info->HasIcon = true;
        } else if (!WindowText(child).empty())
            info->Text = WindowText(child);
    }
    return TRUE;
}

HWND FindButton(HWND parent, const std::string& text)
{
    struct TSearch {
        std::string Text;
        HWND Found = nullptr;
    } search{text};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(param);
            if (WindowText(child) == s->Text) {
                s->Found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

} // namespace

std::string WindowText(HWND window)
{
    char text[4096] = {};
    // WM_GETTEXT works across threads without waiting for GetWindowText's rules.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return text;
}

TBoxInfo RunAndCloseMessageBox(const std::function<void()>& action, HWND owner, int timeoutMs)
{
    TBoxInfo info;
    std::thread watcher([&] {
        HWND box = WaitForWindow("#32770", "", timeoutMs);
        if (!box)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        info.Found = true;
        info.Caption = WindowText(box);
        EnumChildWindows(box, &CollectChild, reinterpret_cast<LPARAM>(&info));
        if (owner)
            info.OwnerDisabled = !IsWindowEnabled(owner);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    action();
    watcher.join();
    return info;
}

bool RunWithSaveDialog(const std::function<void()>& action, const std::string& path, int timeoutMs)
{
    std::atomic<bool> found = false;
    std::thread watcher([&] {
        HWND dialog = WaitForWindow("#32770", "", timeoutMs);
        if (!dialog)
            return;
        found = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (path.empty()) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        // The file name box: edt1 in the old style, cmb13's edit in the explorer style.
        HWND edit = GetDlgItem(dialog, 0x480);
        if (!edit)
            edit = GetDlgItem(dialog, 0x47C);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    action();
    watcher.join();
    return found;
}

bool RunWithWindow(const std::function<void()>& action, const std::string& caption,
                   const std::function<void(HWND)>& inspect, const std::string& buttonText, int timeoutMs)
{
    std::atomic<bool> found = false;
    std::thread watcher([&] {
        HWND window = WaitForWindow("", caption, timeoutMs);
        if (!window)
            return;
        found = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        inspect(window);
        if (HWND button = FindButton(window, buttonText))
            PostMessageA(button, BM_CLICK, 0, 0);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
    });
    action();
    watcher.join();
    return found;
}

bool SaveWindowShot(HWND window, const std::string& fileName)
{
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = static_cast<DWORD>((w * 3 + 3) & ~3);
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + size;
    bool ok = false;
    if (HANDLE file = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = WriteFile(file, &fh, sizeof(fh), &written, nullptr) &&
             WriteFile(file, &bi.bmiHeader, sizeof(bi.bmiHeader), &written, nullptr) &&
             WriteFile(file, bits, size, &written, nullptr);
        CloseHandle(file);
    }
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const std::string& text)
{
    if (!OpenClipboard(nullptr))
        return;
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(data), text.c_str(), text.size() + 1);
    GlobalUnlock(data);
    SetClipboardData(CF_TEXT, data);
    CloseClipboard();
}

void EmptyClipboardNow()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

void Pump(int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        Application().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string TempPath(const std::string& name)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(sizeof(dir), dir);
    return std::string(dir) + name;
}

} // namespace orbelin::test
