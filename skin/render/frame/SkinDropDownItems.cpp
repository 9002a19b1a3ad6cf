#include "skin/render/frame/SkinDropDownItems.h"

#include "skin/data/SkinData.h"
#include "skin/render/core/SkinHosts.h"
#include "skin/render/frame/SkinFrameState.h"
#include "skin/render/frame/SkinMenuBar.h"
#include "skin/render/menus/SkinMenus.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

#include <memory>
#include <string>

namespace orbelin {

namespace {

// The component item of the form's menu with this command, or null: a raw
// item's data is the window's own and never read as an item.
TMenuItem* ComponentItem(const TSkinFrameState& frame, UINT command)
{
    TMainMenu* menu = frame.Form ? frame.Form->Menu() : nullptr;
    return menu ? menu->Items().FindCommand(command) : nullptr;
}

std::string RawCaption(HMENU menu, UINT command)
{
    // Asked as the item's string: GetMenuString answers nothing for an item
    // made owner-drawn, though it keeps its text.
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof(text) - 1;
    if (!GetMenuItemInfoA(menu, command, FALSE, &info))
        return {};
    return text;
}

// A stand-in for a raw menu item, drawn like a component item.
std::unique_ptr<TMenuItem> TemporaryItem(HMENU menu, UINT command)
{
    auto item = std::make_unique<TMenuItem>(nullptr);
    item->Caption = RawCaption(menu, command);
    if (item->Caption.empty())
        item->Caption.push_back('-'); // a separator (assigning "-" trips GCC 12's -Wrestrict)
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    if (GetMenuItemInfoA(menu, command, FALSE, &info)) {
        item->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
        item->Checked = (info.fState & MFS_CHECKED) != 0;
    }
    return item;
}

} // namespace

bool HandleFrameMenuItem(const TSkinFrameState& frame, UINT msg, WPARAM, LPARAM lParam, LRESULT& result)
{
    // Only the drop-down items of a skinned menu bar; others go on.
    if (!frame.MenuBar || !frame.Skin)
        return false;
    const TSkinData& skin = *frame.Skin;
    if (msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType != ODT_MENU)
            return false;
        frame.Engine.MarkPopupsOfMenuBar();
        const TWindowDC dc(frame.Window);
        if (TMenuItem* item = ComponentItem(frame, mis->itemID)) {
            int width = item->StandardWidth(dc.Handle());
            int height = item->IsLine() ? 5 : GetSystemMetrics(SM_CYMENU);
            width += (skin.MenuItem ? skin.MenuItem->LeftWidth() : 0) + 10 + (MenuImagesOf(*item) ? 0 : 25);
            mis->itemWidth = static_cast<UINT>(width);
            mis->itemHeight = static_cast<UINT>(height);
        } else {
            // A raw item: its caption from the menu it belongs to.
            const std::string text = RawCaption(frame.MenuBar->MenuHandle(), mis->itemID);
            TSelectObject font(dc.Handle(), MenuFont());
            SIZE size{};
            GetTextExtentPoint32A(dc.Handle(), text.data(), static_cast<int>(text.size()), &size);
            mis->itemWidth = static_cast<UINT>(size.cx + 26 + (skin.MenuItem ? skin.MenuItem->LeftWidth() : 0));
            mis->itemHeight = static_cast<UINT>(text.empty() ? 8 : size.cy + 4);
        }
        result = TRUE;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType != ODT_MENU)
            return false;
        frame.Engine.MarkPopupsOfMenuBar();
        if (TMenuItem* item = ComponentItem(frame, dis->itemID)) {
            DrawMenuItem(frame.Engine, skin, *item, dis->hDC, dis->rcItem, dis->itemState);
        } else {
            // For a menu item the "window" of the item is its menu.
            const std::unique_ptr<TMenuItem> raw = TemporaryItem(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID);
            DrawRawMenuItem(frame.Engine, skin, *raw, dis->hDC, dis->rcItem, dis->itemState, frame.RightToLeft);
        }
        result = TRUE;
        return true;
    }
    return false;
}

} // namespace orbelin
