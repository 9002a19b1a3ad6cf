#include "ui/Menus.h"

#include "base/PropertyTable.h"
#include "ui/Controls.h"

#include <algorithm>

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

TMenuItem* TMenuItem::FindCommand(UINT command)
{
    if (FCommand == command)
        return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindCommand(command))
            return found;
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
        Event("OnClick", &TMenuItem::OnClick),
    });
    return table;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {}

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

LRESULT CALLBACK TPopupMenu::PopupWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (msg) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (mis->CtlType != ODT_MENU)
                break;
            auto* item = reinterpret_cast<TMenuItem*>(mis->itemData);
            int width = 80, height = item && item->IsLine() ? 5 : GetSystemMetrics(SM_CYMENU);
            if (item && item->OnMeasureItem) {
                const TWindowDC dc(window);
                item->OnMeasureItem(item, dc.Handle(), width, height);
            }
            mis->itemWidth = static_cast<UINT>(width);
            mis->itemHeight = static_cast<UINT>(height);
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (dis->CtlType != ODT_MENU)
                break;
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
            return TRUE;
        }
        default:
            break;
        }
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

} // namespace orbelin
