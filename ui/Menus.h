#pragma once
// Menu items and popup menus over Win32 menus. Owner-drawn menus hand their
// measuring and drawing to the items' events, which the skin engine sets.

#include "base/Component.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orbelin {

class TMenuItem;

using TMenuMeasureItemEvent = std::function<void(TMenuItem* sender, HDC dc, int& width, int& height)>;
// state holds the ODS_* flags of the drawing request.
using TMenuDrawItemEvent = std::function<void(TMenuItem* sender, HDC dc, const RECT& rect, UINT state)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string Caption;
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    bool Default = false;
    bool RadioItem = false;
    bool IsLine() const { return Caption == "-"; }
    // The command number Windows reports for this item.
    UINT Command() const { return FCommand; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    TMenuItem* Parent() const { return FParentItem; }
    // Takes item into this item's list; the item's owner still frees it.
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnAdvancedDrawItem;
    virtual void Click();

    // Appends this item's sub-items to menu; ownerDraw marks them MFT_OWNERDRAW.
    void AppendTo(HMENU menu, bool ownerDraw) const;
    // The item with the given command number in this item's tree, or null.
    TMenuItem* FindCommand(UINT command);

    const TPropertyTable<TComponent>& Properties() const override;

private:
    UINT FCommand;
    TMenuItem* FParentItem = nullptr;
    std::vector<TMenuItem*> FItems; // not owned
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    TMenuItem& Items() { return *FItems; }
    bool OwnerDraw = false;
    TNotifyEvent OnPopup;

    // Shows the menu at screen point (x, y) and runs the chosen item's click
    // after the menu has closed. Returns the chosen item or null.
    TMenuItem* Popup(int x, int y);
    // The menu handle while it is shown, for the skin engine.
    HMENU Handle() const { return FHandle; }
    // The window that receives the menu's messages while it is shown.
    static HWND PopupWindow();

    const TPropertyTable<TComponent>& Properties() const override;

private:
    static LRESULT CALLBACK PopupWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    TMenuItem* FItems; // owned through the component tree
    HMENU FHandle = nullptr;
};

} // namespace orbelin
