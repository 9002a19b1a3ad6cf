#include "ui/Menus.h"

#include "base/PropertyTable.h"
#include "ui/Controls.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace orbelin {

namespace {
UINT NextCommand()
{
    static UINT next = 100;
    return next++;
}

// The popup menu being shown; menus show one at a time on the UI thread.
TPopupMenu* gShowing = nullptr;
} // namespace

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(width), FHeight(height)
{
}

TImageList::~TImageList()
{
    if (FList)
        ImageList_Destroy(FList);
}

int TImageList::Count() const { return FList ? ImageList_GetImageCount(FList) : 0; }

void TImageList::SetImages(HBITMAP bitmap, COLORREF transparent)
{
    if (FList)
        ImageList_Destroy(FList);
    FList = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 4, 4);
    if (FList && bitmap)
        ImageList_AddMasked(FList, bitmap, transparent);
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const
{
    if (!FList || index < 0 || index >= Count())
        return;
    if (enabled) {
        ImageList_Draw(FList, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    if (HICON icon = ImageList_GetIcon(FList, index, ILD_TRANSPARENT)) {
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, FWidth, FHeight,
                   DST_ICON | DSS_DISABLED);
        DestroyIcon(icon);
    }
}

namespace {
struct TKeyName {
    WORD Key;
    const char* Name;
};
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"},   {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},     {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},     {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},  {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

std::string KeyName(WORD key)
{
    if (key >= VK_F1 && key <= VK_F24) {
        // Formatted in place: GCC 12 at -O3 warns wrongly about "F" + to_string.
        char name[8];
        std::snprintf(name, sizeof name, "F%d", key - VK_F1 + 1);
        return name;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    for (const TKeyName& k : kKeyNames)
        if (k.Key == key)
            return k.Name;
    return {};
}
} // namespace

HFONT MenuFont()
{
    static const TGdiHandle<HFONT> font = [] {
        NONCLIENTMETRICSA metrics{};
        // The size without the padded border width, which older systems refuse.
        metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
        return TGdiHandle<HFONT>(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)
                                     ? CreateFontIndirectA(&metrics.lfMenuFont)
                                     : nullptr);
    }();
    return font.Get() ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TShortCut TextToShortCut(const std::string& text)
{
    TShortCut modifiers = 0;
    std::string rest = text;
    for (const auto& [prefix, flag] : {std::pair<const char*, TShortCut>{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}})
        while (StartsText(prefix, rest)) {
            modifiers |= flag;
            rest = rest.substr(std::string_view(prefix).size());
        }
    for (WORD key = 1; key < 256; ++key)
        if (const std::string name = KeyName(key); !name.empty() && SameText(name, rest))
            return static_cast<TShortCut>(modifiers | key);
    return 0;
}

std::string ShortCutToText(TShortCut shortCut)
{
    const std::string key = KeyName(static_cast<WORD>(shortCut & 0xFF));
    if (key.empty())
        return {};
    return std::string(shortCut & scShift ? "Shift+" : "") + (shortCut & scCtrl ? "Ctrl+" : "") +
           (shortCut & scAlt ? "Alt+" : "") + key;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem()
{
    for (TMenuItem* item : FItems)
        item->FParentItem = nullptr;
    if (FParentItem)
        FParentItem->Remove(this);
}

void TMenuItem::Add(TMenuItem* item)
{
    if (item->FParentItem)
        item->FParentItem->Remove(item);
    item->FParentItem = this;
    FItems.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item)
{
    std::erase(FItems, item);
    item->FParentItem = nullptr;
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) const
{
    for (const TMenuItem* item : FItems) {
        if (!item->Visible)
            continue;
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
        info.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
        if (ownerDraw)
            info.fType |= MFT_OWNERDRAW;
        if (item->RadioItem)
            info.fType |= MFT_RADIOCHECK;
        info.fState = (item->Enabled ? MFS_ENABLED : MFS_GRAYED) | (item->Checked ? MFS_CHECKED : 0) |
                      (item->Default ? MFS_DEFAULT : 0);
        info.wID = item->FCommand;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        std::string caption = item->Caption;
        info.dwTypeData = caption.data();
        if (item->Count() > 0) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = CreatePopupMenu();
            item->AppendTo(info.hSubMenu, ownerDraw);
        }
        InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
    }
}

int TMenuItem::StandardWidth(HDC dc) const
{
    if (IsLine())
        return 0;
    TSelectObject font(dc, MenuFont());
    SIZE caption{}, shortcut{};
    GetTextExtentPoint32A(dc, Caption.data(), static_cast<int>(Caption.size()), &caption);
    if (ShortCut == 0)
        return caption.cx;
    const std::string keys = ShortCutToText(ShortCut);
    GetTextExtentPoint32A(dc, keys.data(), static_cast<int>(keys.size()), &shortcut);
    // Room between the caption and the right-aligned shortcut.
    return caption.cx + 2 * GetSystemMetrics(SM_CXMENUCHECK) + shortcut.cx;
}

TMenuItem* TMenuItem::FindCommand(UINT command)
{
    if (FCommand == command)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindCommand(command))
            return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut)
{
    for (TMenuItem* item : FItems) {
        if (!item->Enabled || !item->Visible)
            continue;
        if (item->ShortCut == shortCut)
            return item;
        if (TMenuItem* found = item->FindShortCut(shortCut))
            return found;
    }
    return nullptr;
}

const TPropertyTable<TComponent>& TMenuItem::Properties() const
{
    static const TPropertyTable<TComponent> table(TComponent::Properties(), {
        Field("Caption", &TMenuItem::Caption),
        Field("Checked", &TMenuItem::Checked),
        Field("Enabled", &TMenuItem::Enabled),
        Field("Visible", &TMenuItem::Visible),
        Field("Default", &TMenuItem::Default),
        Field("RadioItem", &TMenuItem::RadioItem),
        Field("ImageIndex", &TMenuItem::ImageIndex),
        Field("ShortCut", &TMenuItem::ShortCut),
        Event("OnClick", &TMenuItem::OnClick),
    });
    return table;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {}

void TPopupMenu::SetImages(TImageList* images)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = images;
    if (FImages)
        FImages->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FImages)
        FImages = nullptr;
}

TPopupMenu::~TPopupMenu()
{
    if (gShowing == this)
        gShowing = nullptr;
    if (FHandle)
        DestroyMenu(FHandle);
}

HWND TPopupMenu::PopupWindow()
{
    static HWND window = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &TPopupMenu::PopupWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "OrbelinPopupList";
        RegisterClassExA(&wc);
        return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }();
    return window;
}

bool HandleMenuItemMessage(HWND window, UINT msg, LPARAM lParam)
{
    if (msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType != ODT_MENU)
            return false;
        auto* item = reinterpret_cast<TMenuItem*>(mis->itemData);
        int width = 0, height = item && item->IsLine() ? 5 : GetSystemMetrics(SM_CYMENU);
        const TWindowDC dc(window);
        if (item)
            width = item->StandardWidth(dc.Handle());
        if (item && item->OnMeasureItem)
            item->OnMeasureItem(item, dc.Handle(), width, height);
        mis->itemWidth = static_cast<UINT>(width);
        mis->itemHeight = static_cast<UINT>(height);
        return true;
    }
    if (msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType != ODT_MENU)
            return false;
        auto* item = reinterpret_cast<TMenuItem*>(dis->itemData);
        if (item && item->OnAdvancedDrawItem) {
            item->OnAdvancedDrawItem(item, dis->hDC, dis->rcItem, dis->itemState);
        } else if (item) {
            // Plain drawing when nobody draws the item.
            TCanvas canvas(dis->hDC);
            const bool selected = dis->itemState & ODS_SELECTED;
            canvas.BrushColor = selected ? clHighlight : clMenu;
            canvas.FillRect(dis->rcItem);
            RECT text = dis->rcItem;
            text.left += 20;
            canvas.Font.Color = (dis->itemState & ODS_GRAYED) ? clGrayText : selected ? clHighlightText : clWindowText;
            canvas.DrawText(item->Caption, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        }
        return true;
    }
    return false;
}

LRESULT CALLBACK TPopupMenu::PopupWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    try {
        if (HandleMenuItemMessage(window, msg, lParam))
            return TRUE;
    } catch (...) {
        ReportException();
        return TRUE;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

TMenuItem* TPopupMenu::Popup(int x, int y)
{
    if (OnPopup)
        OnPopup(this);
    if (FHandle)
        DestroyMenu(FHandle);
    FHandle = CreatePopupMenu();
    FItems->AppendTo(FHandle, OwnerDraw);
    gShowing = this;
    HWND window = PopupWindow();
    // A menu needs a foreground window of this thread; when none of ours is
    // active the hidden one stands in (activating it otherwise would take the
    // active look from the window the menu belongs to).
    if (!GetActiveWindow())
        SetForegroundWindow(window);
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(FHandle, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window, nullptr));
    PostMessageA(window, WM_NULL, 0, 0);
    gShowing = nullptr;
    DestroyMenu(FHandle);
    FHandle = nullptr;
    TMenuItem* chosen = command ? FItems->FindCommand(command) : nullptr;
    if (chosen)
        chosen->Click();
    return chosen;
}

const TPropertyTable<TComponent>& TPopupMenu::Properties() const
{
    static const TPropertyTable<TComponent> table(TComponent::Properties(), {
        Field("OwnerDraw", &TPopupMenu::OwnerDraw),
        Event("OnPopup", &TPopupMenu::OnPopup),
    });
    return table;
}

// -------------------------------------------------------------- TMainMenu

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {}

TMainMenu::~TMainMenu()
{
    if (!FHandle)
        return;
    // A window still showing the bar lets go of it first.
    if (auto* form = dynamic_cast<TWinControl*>(Owner()); form && form->HandleAllocated() &&
                                                          GetMenu(form->WindowHandle()) == FHandle)
        SetMenu(form->WindowHandle(), nullptr);
    if (IsMenu(FHandle))
        DestroyMenu(FHandle);
}

HMENU TMainMenu::Handle()
{
    if (!FHandle) {
        FHandle = CreateMenu();
        FItems->AppendTo(FHandle, false);
    }
    return FHandle;
}

void TMainMenu::SetImages(TImageList* images)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = images;
    if (FImages)
        FImages->FreeNotification(this);
}

void TMainMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FImages)
        FImages = nullptr;
}

const TPropertyTable<TComponent>& TMainMenu::Properties() const
{
    static const TPropertyTable<TComponent> table(TComponent::Properties(), {});
    return table;
}

} // namespace orbelin
