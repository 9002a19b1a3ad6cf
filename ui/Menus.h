#pragma once
// Menu items and popup menus over Win32 menus. Owner-drawn menus hand their
// measuring and drawing to the items' events, which the skin engine sets.

#include "base/Component.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orbelin {

class TMenuItem;

// Equal images side by side in one bitmap, one colour transparent: the
// glyphs of menu items.
class TImageList : public TComponent {
public:
    std::string_view ClassName() const override { return "TImageList"; }
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const;
    // Replaces the images with those of a bitmap (a strip of Width-wide images).
    void SetImages(HBITMAP bitmap, COLORREF transparent);
    // Draws image index at (x, y); disabled images are drawn embossed.
    void Draw(HDC dc, int x, int y, int index, bool enabled) const;

private:
    int FWidth;
    int FHeight;
    HIMAGELIST FList = nullptr;
};

// The system's menu font (made on first use, kept for the program's life).
HFONT MenuFont();

// A key with Shift, Ctrl and Alt as one number, as menus show it.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
// "Shift+F4" and back; an unknown text gives 0.
TShortCut TextToShortCut(const std::string& text);
std::string ShortCutToText(TShortCut shortCut);

using TMenuMeasureItemEvent = std::function<void(TMenuItem* sender, HDC dc, int& width, int& height)>;
// state holds the ODS_* flags of the drawing request.
using TMenuDrawItemEvent = std::function<void(TMenuItem* sender, HDC dc, const RECT& rect, UINT state)>;

class TMenuItem : public TComponent {
public:
    std::string_view ClassName() const override { return "TMenuItem"; }
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string Caption;
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    bool Default = false;
    bool RadioItem = false;
    int ImageIndex = -1;
    TShortCut ShortCut = 0;
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
    // What the item needs without a skin: its caption and shortcut in the
    // menu font; owner-drawing adds to it.
    int StandardWidth(HDC dc) const;
    // The item with the given command number in this item's tree, or null.
    TMenuItem* FindCommand(UINT command);
    // The enabled, visible item below this one that names shortCut, or null.
    TMenuItem* FindShortCut(TShortCut shortCut);

    const TPropertyTable<TComponent>& Properties() const override;

private:
    UINT FCommand;
    TMenuItem* FParentItem = nullptr;
    std::vector<TMenuItem*> FItems; // not owned
};

class TPopupMenu : public TComponent {
public:
    std::string_view ClassName() const override { return "TPopupMenu"; }
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    TMenuItem& Items() { return *FItems; }
    bool OwnerDraw = false;
    // The glyphs of the items (not owned; forgotten when freed).
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);
    TNotifyEvent OnPopup;

    // Shows the menu at screen point (x, y) and runs the chosen item's click
    // after the menu has closed. Returns the chosen item or null.
    TMenuItem* Popup(int x, int y);
    // The menu handle while it is shown, for the skin engine.
    HMENU Handle() const { return FHandle; }
    // The window that receives the menu's messages while it is shown.
    static HWND PopupWindow();

    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    static LRESULT CALLBACK PopupWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    TMenuItem* FItems; // owned through the component tree
    TImageList* FImages = nullptr;
    HMENU FHandle = nullptr;
};

// The menu bar of a form (its Menu).
class TMainMenu : public TComponent {
public:
    std::string_view ClassName() const override { return "TMainMenu"; }
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    TMenuItem& Items() { return *FItems; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);
    // The bar's menu, made from the items when first asked for.
    HMENU Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Forgets the menu made so far (a window that showed it has freed it).
    void ReleaseHandle() { FHandle = nullptr; }
    TMenuItem* FindCommand(UINT command) { return FItems->FindCommand(command); }

    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* FItems; // owned through the component tree
    TImageList* FImages = nullptr;
    HMENU FHandle = nullptr;
};

// WM_MEASUREITEM and WM_DRAWITEM of the owner-drawn items of the program's
// menus: the items' events, or a plain look. False for other messages.
bool HandleMenuItemMessage(HWND window, UINT msg, LPARAM lParam);

} // namespace orbelin
