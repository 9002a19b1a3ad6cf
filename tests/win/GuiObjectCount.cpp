#include "tests/win/GuiObjectCount.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <ostream>
#include <unordered_map>
#include <vector>

namespace orbelin::test {

namespace {

enum class TKind { Gdi, Dc, Menu, Icon, Hook };

// What the counted functions made and have not yet freed.
class TLedger {
public:
    void Made(const void* handle, TKind kind)
    {
        if (!handle)
            return;
        const std::lock_guard lock(mutex);
        live[handle] = kind;
    }
    void Freed(const void* handle)
    {
        const std::lock_guard lock(mutex);
        live.erase(handle);
    }
    void FailedFree()
    {
        const std::lock_guard lock(mutex);
        ++failedFrees;
    }

    // Forgets what the system has freed on its own (a window's menu and
    // device context go with the window), then counts what is left.
    TGuiObjectCounts Count()
    {
        const std::lock_guard lock(mutex);
        TGuiObjectCounts counts;
        counts.FailedFrees = failedFrees;
        for (auto it = live.begin(); it != live.end();) {
            if (Gone(it->first, it->second)) {
                it = live.erase(it);
                continue;
            }
            ++Slot(counts, it->second);
            ++it;
        }
        return counts;
    }

private:
    static bool Gone(const void* handle, TKind kind)
    {
        switch (kind) {
        case TKind::Gdi:
        case TKind::Dc:
            return GetObjectType(const_cast<HGDIOBJ>(handle)) == 0;
        case TKind::Menu:
            return !IsMenu(static_cast<HMENU>(const_cast<void*>(handle)));
        case TKind::Icon:
        case TKind::Hook:
            return false;
        }
        return false;
    }
    static int& Slot(TGuiObjectCounts& counts, TKind kind)
    {
        switch (kind) {
        case TKind::Gdi: return counts.GdiObjects;
        case TKind::Dc: return counts.DeviceContexts;
        case TKind::Menu: return counts.Menus;
        case TKind::Icon: return counts.Icons;
        case TKind::Hook: return counts.Hooks;
        }
        return counts.GdiObjects;
    }

    std::mutex mutex;
    std::unordered_map<const void*, TKind> live;
    int failedFrees = 0;
};

TLedger& Ledger()
{
    static TLedger ledger;
    return ledger;
}

// A menu and every submenu it holds: freeing or handing over the menu takes
// them along.
void MenuTree(HMENU menu, std::vector<HMENU>& out)
{
    if (!menu || !IsMenu(menu))
        return;
    out.push_back(menu);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        MenuTree(GetSubMenu(menu, i), out);
}

void ForgetMenuTree(const std::vector<HMENU>& tree)
{
    for (HMENU menu : tree)
        Ledger().Freed(menu);
}

// The name of a counted import as a template argument, so that every
// redirected function keeps its own original.
template <size_t N>
struct TName {
    char Text[N];
    constexpr TName(const char (&text)[N]) { std::copy_n(text, N, Text); }
};

template <TName Name, typename Fn>
struct TOriginal {
    static inline Fn Function = nullptr;
};

struct TRedirect {
    const char* Name;
    void* Hook;
    void** Original;
};

template <TName Name, typename Fn>
TRedirect Redirect(Fn hook)
{
    return {Name.Text, reinterpret_cast<void*>(hook), reinterpret_cast<void**>(&TOriginal<Name, Fn>::Function)};
}

template <TName Name, typename Fn>
Fn Original()
{
    return TOriginal<Name, Fn>::Function;
}

// A function that makes an object of one kind: the object is recorded.
template <TName Name, TKind Kind, typename Fn>
struct TMaker;

template <TName Name, TKind Kind, typename R, typename... A>
struct TMaker<Name, Kind, R (*)(A...)> {
    static R Hook(A... args)
    {
        const R made = Original<Name, R (*)(A...)>()(args...);
        Ledger().Made(made, Kind);
        return made;
    }
};

template <TName Name, TKind Kind, typename Fn>
TRedirect Maker()
{
    return Redirect<Name, Fn>(&TMaker<Name, Kind, Fn>::Hook);
}

// A function that frees the object in its first argument.
template <TName Name, typename Fn>
struct TFreer;

template <TName Name, typename R, typename H, typename... A>
struct TFreer<Name, R (*)(H, A...)> {
    static R Hook(H handle, A... args)
    {
        const R done = Original<Name, R (*)(H, A...)>()(handle, args...);
        if (done)
            Ledger().Freed(handle);
        else if (handle)
            Ledger().FailedFree();
        return done;
    }
};

template <TName Name, typename Fn>
TRedirect Freer()
{
    return Redirect<Name, Fn>(&TFreer<Name, Fn>::Hook);
}

// The functions whose objects need more than one of the shapes above.

HDC WINAPI CountBeginPaint(HWND window, LPPAINTSTRUCT paint)
{
    const HDC dc = Original<"BeginPaint", decltype(&CountBeginPaint)>()(window, paint);
    Ledger().Made(dc, TKind::Dc);
    return dc;
}

BOOL WINAPI CountEndPaint(HWND window, const PAINTSTRUCT* paint)
{
    if (paint)
        Ledger().Freed(paint->hdc);
    return Original<"EndPaint", decltype(&CountEndPaint)>()(window, paint);
}

int WINAPI CountReleaseDC(HWND window, HDC dc)
{
    const int released = Original<"ReleaseDC", decltype(&CountReleaseDC)>()(window, dc);
    if (released)
        Ledger().Freed(dc);
    else if (dc)
        Ledger().FailedFree();
    return released;
}

// A region given to a window belongs to the system from then on.
int WINAPI CountSetWindowRgn(HWND window, HRGN region, BOOL redraw)
{
    const int set = Original<"SetWindowRgn", decltype(&CountSetWindowRgn)>()(window, region, redraw);
    if (set && region)
        Ledger().Freed(region);
    return set;
}

HANDLE RecordImage(HANDLE image, UINT type, UINT flags)
{
    if (!(flags & LR_SHARED))
        Ledger().Made(image, type == IMAGE_BITMAP ? TKind::Gdi : TKind::Icon);
    return image;
}

HANDLE WINAPI CountLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    return RecordImage(Original<"LoadImageA", decltype(&CountLoadImageA)>()(instance, name, type, cx, cy, flags), type,
                       flags);
}

HANDLE WINAPI CountLoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags)
{
    return RecordImage(Original<"LoadImageW", decltype(&CountLoadImageW)>()(instance, name, type, cx, cy, flags), type,
                       flags);
}

HANDLE WINAPI CountCopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags)
{
    const HANDLE copy = Original<"CopyImage", decltype(&CountCopyImage)>()(image, type, cx, cy, flags);
    if (copy && (flags & LR_COPYDELETEORG))
        Ledger().Freed(image);
    return RecordImage(copy, type, flags & ~LR_SHARED);
}

BOOL WINAPI CountDestroyMenu(HMENU menu)
{
    std::vector<HMENU> tree;
    MenuTree(menu, tree);
    const BOOL destroyed = Original<"DestroyMenu", decltype(&CountDestroyMenu)>()(menu);
    if (destroyed)
        ForgetMenuTree(tree);
    else if (menu)
        Ledger().FailedFree();
    return destroyed;
}

std::vector<TRedirect> Redirects()
{
    constexpr TKind gdi = TKind::Gdi, dc = TKind::Dc, menu = TKind::Menu, icon = TKind::Icon, hook = TKind::Hook;
    return {
        // gdi32
        Maker<"CreateSolidBrush", gdi, decltype(&CreateSolidBrush)>(),
        Maker<"CreateBrushIndirect", gdi, decltype(&CreateBrushIndirect)>(),
        Maker<"CreateHatchBrush", gdi, decltype(&CreateHatchBrush)>(),
        Maker<"CreatePatternBrush", gdi, decltype(&CreatePatternBrush)>(),
        Maker<"CreateDIBPatternBrushPt", gdi, decltype(&CreateDIBPatternBrushPt)>(),
        Maker<"CreatePen", gdi, decltype(&CreatePen)>(),
        Maker<"CreatePenIndirect", gdi, decltype(&CreatePenIndirect)>(),
        Maker<"ExtCreatePen", gdi, decltype(&ExtCreatePen)>(),
        Maker<"CreateFontA", gdi, decltype(&CreateFontA)>(),
        Maker<"CreateFontW", gdi, decltype(&CreateFontW)>(),
        Maker<"CreateFontIndirectA", gdi, decltype(&CreateFontIndirectA)>(),
        Maker<"CreateFontIndirectW", gdi, decltype(&CreateFontIndirectW)>(),
        Maker<"CreateBitmap", gdi, decltype(&CreateBitmap)>(),
        Maker<"CreateBitmapIndirect", gdi, decltype(&CreateBitmapIndirect)>(),
        Maker<"CreateCompatibleBitmap", gdi, decltype(&CreateCompatibleBitmap)>(),
        Maker<"CreateDIBitmap", gdi, decltype(&CreateDIBitmap)>(),
        Maker<"CreateDIBSection", gdi, decltype(&CreateDIBSection)>(),
        Maker<"CreateRectRgn", gdi, decltype(&CreateRectRgn)>(),
        Maker<"CreateRectRgnIndirect", gdi, decltype(&CreateRectRgnIndirect)>(),
        Maker<"CreateRoundRectRgn", gdi, decltype(&CreateRoundRectRgn)>(),
        Maker<"CreateEllipticRgn", gdi, decltype(&CreateEllipticRgn)>(),
        Maker<"CreatePolygonRgn", gdi, decltype(&CreatePolygonRgn)>(),
        Maker<"ExtCreateRegion", gdi, decltype(&ExtCreateRegion)>(),
        Maker<"CreatePalette", gdi, decltype(&CreatePalette)>(),
        Maker<"CreateHalftonePalette", gdi, decltype(&CreateHalftonePalette)>(),
        Freer<"DeleteObject", decltype(&DeleteObject)>(),
        Maker<"CreateCompatibleDC", dc, decltype(&CreateCompatibleDC)>(),
        Maker<"CreateDCA", dc, decltype(&CreateDCA)>(),
        Maker<"CreateDCW", dc, decltype(&CreateDCW)>(),
        Freer<"DeleteDC", decltype(&DeleteDC)>(),
        // user32
        Maker<"GetDC", dc, decltype(&GetDC)>(),
        Maker<"GetWindowDC", dc, decltype(&GetWindowDC)>(),
        Maker<"GetDCEx", dc, decltype(&GetDCEx)>(),
        Redirect<"ReleaseDC">(&CountReleaseDC),
        Redirect<"BeginPaint">(&CountBeginPaint),
        Redirect<"EndPaint">(&CountEndPaint),
        Redirect<"SetWindowRgn">(&CountSetWindowRgn),
        Redirect<"LoadImageA">(&CountLoadImageA),
        Redirect<"LoadImageW">(&CountLoadImageW),
        Redirect<"CopyImage">(&CountCopyImage),
        Maker<"LoadBitmapA", gdi, decltype(&LoadBitmapA)>(),
        Maker<"CreateIconIndirect", icon, decltype(&CreateIconIndirect)>(),
        Maker<"CopyIcon", icon, decltype(&CopyIcon)>(),
        Freer<"DestroyIcon", decltype(&DestroyIcon)>(),
        Freer<"DestroyCursor", decltype(&DestroyCursor)>(),
        Maker<"CreateMenu", menu, decltype(&CreateMenu)>(),
        Maker<"CreatePopupMenu", menu, decltype(&CreatePopupMenu)>(),
        Maker<"LoadMenuA", menu, decltype(&LoadMenuA)>(),
        Maker<"LoadMenuIndirectA", menu, decltype(&LoadMenuIndirectA)>(),
        Redirect<"DestroyMenu">(&CountDestroyMenu),
        Maker<"SetWindowsHookExA", hook, decltype(&SetWindowsHookExA)>(),
        Maker<"SetWindowsHookExW", hook, decltype(&SetWindowsHookExW)>(),
        Freer<"UnhookWindowsHookEx", decltype(&UnhookWindowsHookEx)>(),
    };
}

bool IsCountedLibrary(const char* dll)
{
    return lstrcmpiA(dll, "gdi32.dll") == 0 || lstrcmpiA(dll, "user32.dll") == 0;
}

// Points the main module's import slots of the counted functions at their
// counting functions.
int RedirectImports()
{
    const std::vector<TRedirect> redirects = Redirects();
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int redirected = 0;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
         ++library) {
        if (!IsCountedLibrary(reinterpret_cast<const char*>(base + library->Name)) || !library->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const char* name = reinterpret_cast<const char*>(byName->Name);
            const auto found = std::find_if(redirects.begin(), redirects.end(),
                                            [name](const TRedirect& r) { return std::strcmp(r.Name, name) == 0; });
            if (found == redirects.end())
                continue;
            *found->Original = reinterpret_cast<void*>(slots->u1.Function);
            DWORD was = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &was);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(found->Hook);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, was, &was);
            ++redirected;
        }
    }
    return redirected;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

bool Ours(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
    if (Ours(window)) {
        ++*reinterpret_cast<int*>(count);
        EnumChildWindows(window, &CountChild, count);
    }
    return TRUE;
}

int ProcessWindows()
{
    int count = 0;
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr))
        CountTopLevel(window, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace

std::ostream& operator<<(std::ostream& out, const TGuiObjectCounts& c)
{
    return out << "{GDI " << c.GdiObjects << ", DCs " << c.DeviceContexts << ", menus " << c.Menus << ", icons "
               << c.Icons << ", hooks " << c.Hooks << ", windows " << c.Windows << ", failed frees " << c.FailedFrees
               << "}";
}

int TGuiObjectCount::Install()
{
    static const int redirected = RedirectImports();
    return redirected;
}

TGuiObjectCounts TGuiObjectCount::Now()
{
    TGuiObjectCounts counts = Ledger().Count();
    counts.Windows = ProcessWindows();
    return counts;
}

} // namespace orbelin::test
