#include "skin/render/frame/SkinMenuBar.h"

#include "skin/data/SkinData.h"
#include "skin/render/core/SkinHosts.h"
#include "skin/render/draw/SkinDraw.h"
#include "skin/render/frame/SkinFrameLayout.h"
#include "skin/render/frame/SkinFrameState.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

#include <algorithm>
#include <cctype>

namespace orbelin {

namespace {

// Adds the owner-draw type to every item of a menu and its submenus.
void MakeOwnerDrawn(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (!(info.fType & MFT_OWNERDRAW)) {
            info.fMask = MIIM_FTYPE;
            info.fType |= MFT_OWNERDRAW;
            SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        }
        if (info.hSubMenu)
            MakeOwnerDrawn(info.hSubMenu);
    }
}

int CaptionWidth(HDC dc, const std::string& caption)
{
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, caption.data(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right - r.left;
}

} // namespace

char MenuAccelerator(const std::string& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == '&') {
            if (caption[i + 1] != '&')
                return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
            ++i;
        }
    return 0;
}

void TMenuBtn::Paint() { Bar.PaintItem(*this); }

TSkinMenuBar::TSkinMenuBar(TSkinFrameState& frame, TSkinData& skin) : TComponent(nullptr), FFrame(frame), FSkin(skin) {}

TSkinMenuBar::~TSkinMenuBar()
{
    ClearItems();
    // Not before: a menu of it may have been open when the window went.
    if (FDestroysMenu && FMenuHandle)
        DestroyMenu(FMenuHandle);
}

void TSkinMenuBar::Unhook()
{
    if (FOpenBar == this)
        EndMenu();
}

void TSkinMenuBar::ClearItems()
{
    // The frame's hot object may be one of them: it must not outlive them.
    if (FFrame.HotObject && std::any_of(FItems.begin(), FItems.end(), [&](const auto& i) { return i.get() == FFrame.HotObject; }))
        FFrame.HotObject = nullptr;
    FItems.clear();
}

int TSkinMenuBar::CurrentIndex() { return FOpenBar ? FOpenBar->FLoop.Current : -1; }

void TSkinMenuBar::BuildFromWindowMenu()
{
    if (HMENU menu = GetMenu(FFrame.Window))
        FMenuHandle = menu;
    BuildItems(FMenuHandle, false);
}

void TSkinMenuBar::BuildFromMenu(HMENU menu)
{
    FMenuHandle = menu;
    BuildItems(menu, true);
}

void TSkinMenuBar::BuildItems(HMENU menu, bool matchByCommand)
{
    ClearItems();
    if (!menu)
        return;
    TMainMenu* component = FFrame.Form ? FFrame.Form->Menu() : nullptr;
    FComponentMenu = component;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[81] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = sizeof(text) - 1;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        auto item = std::make_unique<TMenuBtn>(FFrame.HotObject, *this);
        item->Index = i;
        item->SubMenu = info.hSubMenu;
        item->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
        item->Visible = true;
        item->Command = info.wID;
        item->Caption = text;
        // Owner-drawn component items have no text of their own.
        TMenuItem* source = nullptr;
        if (item->Caption.empty() && component)
            source = matchByCommand ? component->Items().FindCommand(info.wID)
                   : i < component->Items().Count() ? component->Items().Items(i) : nullptr;
        if (source) {
            item->Caption = source->Caption;
            item->Enabled = source->Enabled;
            item->Command = source->Command();
            item->SubMenu = source->Count() > 0 ? info.hSubMenu : nullptr;
        }
        FItems.push_back(std::move(item));
    }
    SetMenu(FFrame.Window, nullptr);
}

void TSkinMenuBar::BuildFromComponentMenu(TMainMenu& menu)
{
    FComponentMenu = &menu;
    FMenuHandle = menu.Handle();
    ClearItems();
    for (int i = 0; i < menu.Items().Count(); ++i) {
        TMenuItem* source = menu.Items().Items(i);
        auto item = std::make_unique<TMenuBtn>(FFrame.HotObject, *this);
        item->Index = i;
        item->Caption = source->Caption;
        item->Enabled = source->Enabled;
        item->Visible = source->Visible;
        item->Command = source->Command();
        item->SubMenu = source->Count() > 0 ? GetSubMenu(FMenuHandle, i) : nullptr;
        FItems.push_back(std::move(item));
    }
    SetMenu(FFrame.Window, nullptr);
    FFrame.HotObject = nullptr;
}

void TSkinMenuBar::RestoreMenu()
{
    if (FMenuHandle && IsWindow(FFrame.Window))
        SetMenu(FFrame.Window, FMenuHandle);
}

void TSkinMenuBar::PaintBar(HDC dc, const TSkinRect& r)
{
    FBarRect = r;
    const int w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0)
        return;
    TBitmap scratch;
    scratch.SetSize(w, h);
    HDC canvas = scratch.DC();
    const RECT all{0, 0, w, h};
    int imageLeftWidth = -1, imageRightWidth = -1;
    if (const TDataSkinObject* bar = FSkin.MenuBar.get(); bar && !bar->Image.Empty()) {
        const int frame = FFrame.Active ? 1 : 2;
        if (bar->Tile == 1)
            DrawNineSlice(canvas, all, bar->Image, true, false, false, 2, frame, bar->Margins);
        else
            DrawThreeSlice(canvas, all, bar->Image, true, false, 2, frame, bar->LeftWidth(), bar->RightWidth());
        imageLeftWidth = bar->LeftWidth();
        imageRightWidth = bar->RightWidth();
    } else {
        TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(FSkin.ColorMenuBar)));
        FillRect(canvas, &all, brush.Get());
    }
    FBarBitmap.SetSize(w, h);
    BitBlt(FBarBitmap.DC(), 0, 0, w, h, canvas, 0, 0, SRCCOPY);
    TSelectObject font(canvas, MenuFont());
    SetBkMode(canvas, TRANSPARENT);
    std::vector<int> captionWidths;
    for (const auto& item : FItems)
        captionWidths.push_back(item->Caption.empty() ? -1 : CaptionWidth(canvas, item->Caption));
    const std::vector<TSkinRect> places =
        LayoutMenuBarItems(captionWidths, {w, h}, imageLeftWidth, imageRightWidth, FFrame.RightToLeft);
    for (size_t i = 0; i < FItems.size(); ++i) {
        TMenuBtn& item = *FItems[i];
        SetTextColor(canvas, ColorToRGB(item.Enabled ? FSkin.ColorMenuBarText : FSkin.ColorButtonShadow));
        DrawCenteredText(canvas, ToRECT(places[i]), item.Caption, 2, true);
        item.Rect = places[i].Offset(r.Left, r.Top);
    }
    BitBlt(dc, r.Left, r.Top, w, h, canvas, 0, 0, SRCCOPY);
}

void TSkinMenuBar::PaintItem(TMenuBtn& item)
{
    if (FBarBitmap.Empty() || item.Rect.IsEmpty())
        return;
    const int w = item.Rect.Width(), h = FBarRect.Height();
    TBitmap piece;
    piece.SetSize(w, h);
    HDC canvas = piece.DC();
    BitBlt(canvas, 0, 0, w, h, FBarBitmap.DC(), item.Rect.Left - FBarRect.Left, 0, SRCCOPY);
    const RECT local{0, 0, w, h - 1};
    if (item.State == TNCObject::nsPressed || item.State == TNCObject::nsHot) {
        TGdiHandle<HBRUSH> frame(CreateSolidBrush(ColorToRGB(FSkin.ColorButtonHilight)));
        FrameRect(canvas, &local, frame.Get());
    }
    TSelectObject font(canvas, MenuFont());
    SetBkMode(canvas, TRANSPARENT);
    SetTextColor(canvas, ColorToRGB(item.Enabled ? FSkin.ColorMenuBarText : FSkin.ColorButtonShadow));
    DrawCenteredText(canvas, local, item.Caption, 2, true);
    TWindowDC dc(FFrame.Window, TWindowDC::TArea::Window);
    const TUnmirroredDC plain(dc.Handle());
    BitBlt(dc.Handle(), item.Rect.Left, FBarRect.Top, w, h, canvas, 0, 0, SRCCOPY);
}

TMenuBtn* TSkinMenuBar::HitItem(POINT framePoint)
{
    for (auto& item : FItems)
        if (!item->Caption.empty() && item->Rect.Contains(framePoint.x, framePoint.y))
            return item.get();
    return nullptr;
}

TMenuBtn* TSkinMenuBar::FindAccelItem(char key)
{
    const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    for (auto& item : FItems)
        if (item->Enabled && MenuAccelerator(item->Caption) == wanted)
            return item.get();
    return nullptr;
}

int TSkinMenuBar::TrackOne(TMenuBtn& item)
{
    FLoop.Current = item.Index;
    FLoop.Target = -1;
    FLoop.FirstKey = false;
    FLoop.LastMenu = nullptr;
    FLoop.LastOpensMenu = false;
    GetCursorPos(&FLoop.LastCursor);
    MakeOwnerDrawn(item.SubMenu);
    item.MouseDown();
    if (item.Enabled) {
        RECT window{};
        GetWindowRect(FFrame.Window, &window);
        TrackPopupMenu(item.SubMenu, TPM_RIGHTBUTTON, window.left + item.Rect.Left, window.top + item.Rect.Bottom, 0,
                       FFrame.Window, nullptr);
    }
    if (FFrame.FrameState == TSkinFrameState::fsFinished || Released())
        return -1; // the window or the skin went while the menu was open
    item.MouseLeave();
    return FLoop.Target;
}

void TSkinMenuBar::OpenMenuItem(TMenuBtn& item)
{
    PostMessageA(FFrame.Window, WM_COMMAND, item.Command, 0);
    if (!item.SubMenu || FOpenBar)
        return;
    // The bar outlives its menu's loop, even when the frame lets it go meanwhile.
    const TInFlight hold(*this);
    FFrame.InMenuLoop = true;
    FFrame.Engine.StartMenuBarTracking();
    FOpenBar = this;
    FLoop.Hook = SetWindowsHookExA(WH_MSGFILTER, &FilterHook, nullptr, GetCurrentThreadId());
    // Moving to a neighbour closes the open menu; its own is opened next.
    for (int next = item.Index; next >= 0 && next < static_cast<int>(FItems.size());) {
        TMenuBtn& current = *FItems[static_cast<size_t>(next)];
        next = current.SubMenu ? TrackOne(current) : -1;
    }
    if (FLoop.Hook)
        UnhookWindowsHookEx(FLoop.Hook);
    FLoop = {};
    FOpenBar = nullptr;
    FFrame.InMenuLoop = false;
}

LRESULT CALLBACK TSkinMenuBar::FilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    // A right-to-left bar runs the other way: Left leads to the next item.
    if (auto* msg = reinterpret_cast<MSG*>(lParam);
        code == MSGF_MENU && FOpenBar && FOpenBar->FFrame.RightToLeft && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
        msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    const LRESULT passed = CallNextHookEx(FOpenBar ? FOpenBar->FLoop.Hook : nullptr, code, wParam, lParam);
    if (passed || code != MSGF_MENU || !FOpenBar)
        return passed;
    try {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        TSkinMenuBar& bar = *FOpenBar;
        TMenuLoop& loop = bar.FLoop;
        const int count = static_cast<int>(bar.FItems.size());
        if (!loop.FirstKey) {
            // The menu opens with its first entry highlighted.
            loop.FirstKey = true;
            PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
        }
        int target = -1;
        switch (msg->message) {
        case WM_KEYDOWN: {
            const HMENU open = bar.FItems[static_cast<size_t>(loop.Current)]->SubMenu;
            if (msg->wParam == VK_LEFT && (!loop.LastMenu || loop.LastMenu == open))
                target = (loop.Current + count - 1) % count;
            else if (msg->wParam == VK_RIGHT && !loop.LastOpensMenu)
                target = (loop.Current + 1) % count;
            break;
        }
        case WM_SYSKEYDOWN:
            if (msg->wParam == VK_MENU)
                bar.FFrame.InMenuLoop = false;
            break;
        case WM_MOUSEMOVE: {
            POINT cursor{};
            GetCursorPos(&cursor);
            if (cursor.x != loop.LastCursor.x || cursor.y != loop.LastCursor.y) {
                loop.LastCursor = cursor;
                if (TMenuBtn* under = bar.HitItem(bar.FFrame.FramePoint(cursor)))
                    target = under->Index;
            }
            break;
        }
        default: break;
        }
        if (target >= 0 && target != loop.Current) {
            loop.Target = target;
            EndMenu();
            return 1;
        }
    } catch (...) {
        // The menu goes on as the system runs it.
    }
    return 0;
}

void TSkinMenuBar::NoteMenuSelect(WPARAM wParam, LPARAM lParam)
{
    if (FOpenBar != this)
        return;
    FLoop.LastMenu = reinterpret_cast<HMENU>(lParam);
    FLoop.LastOpensMenu = (HIWORD(wParam) & MF_POPUP) != 0;
}

} // namespace orbelin
