#include "tests/win/WinTestSupport.h"

#include "base/Exceptions.h"
#include "base/Streams.h"
#include "ui/Application.h"
#include "ui/Graphics.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace orbelin::test {

namespace {

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

} // namespace

TBoxInfo RunAndCloseMessageBox(const std::function<void()>& action, HWND owner, int timeoutMs)
{
    TBoxInfo info;
    std::thread watcher([&] {
        HWND box = WaitForTopWindow(GetCurrentProcessId(), "#32770", "", timeoutMs);
        if (!box)
            return;
        // Found as soon as it exists; on a loaded machine its text and
        // buttons may come a good while later than the window itself.
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(3000);
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            info = TBoxInfo{};
            info.Found = true;
            info.Caption = WindowText(box);
            EnumChildWindows(box, &CollectChild, reinterpret_cast<LPARAM>(&info));
        } while ((!IsWindowVisible(box) || info.Text.empty() || info.Buttons.empty()) &&
                 std::chrono::steady_clock::now() < end);
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
        HWND dialog = WaitForTopWindow(GetCurrentProcessId(), "#32770", "", timeoutMs);
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
        HWND window = WaitForTopWindow(GetCurrentProcessId(), "", caption, timeoutMs);
        if (!window)
            return;
        found = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        inspect(window);
        if (HWND button = ChildWithText(window, "", buttonText))
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
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const TWindowDC screen(nullptr);
    const TGdiHandle<HBITMAP> dib(CreateDIBSection(screen.Handle(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib)
        return false;
    {
        const TMemoryDC memory;
        const TSelectObject select(memory.Handle(), dib.Get());
        BitBlt(memory.Handle(), 0, 0, w, h, screen.Handle(), r.left, r.top, SRCCOPY);
    }
    const DWORD stride = static_cast<DWORD>((w * 3 + 3) & ~3);
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + size;
    std::string file(reinterpret_cast<const char*>(&fh), sizeof(fh));
    file.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
    file.append(static_cast<const char*>(bits), size);
    // Beside the test program, not in the current folder: a file dialog
    // moves that to wherever it was opened.
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    path = path.substr(0, path.find_last_of('\\') + 1) + fileName;
    try {
        WriteFileBytes(path, file);
    } catch (const Exception&) {
        return false;
    }
    return true;
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
