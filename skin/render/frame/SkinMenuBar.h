#pragma once
// The menu bar a skinned frame draws in its non-client area: one button per
// top-level item of the window's menu, each opening its drop-down menu,
// with Left and Right moving to the neighbouring menu while one is open.
// The frame lets it go (SkinLife).

#include "base/Component.h"
#include "skin/render/core/SkinLife.h"
#include "skin/render/frame/SkinNCObject.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orbelin {

class TMainMenu;
class TSkinData;
class TSkinMenuBar;
struct TSkinFrameState;

class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TNCObject*& hot, TSkinMenuBar& bar) : TNCObject(hot), Bar(bar) {}
    void Paint() override;

    TSkinMenuBar& Bar;
    int Index = 0;
    std::string Caption;
    bool Enabled = true;
    HMENU SubMenu = nullptr;
    UINT Command = 0;
};

class TSkinMenuBar : public TComponent, public TSkinLife {
public:
    std::string_view ClassName() const override { return "TSkinMenuBar"; }
    // Kept by the frame, whose state it shares.
    TSkinMenuBar(TSkinFrameState& frame, TSkinData& skin);

    // Takes the items from the window's menu (which leaves the window).
    void BuildFromWindowMenu();
    // Takes the items from another menu (an MDI child's for its frame),
    // component items matched by command rather than by place.
    void BuildFromMenu(HMENU menu);
    // Takes the items from the form's component menu directly.
    void BuildFromComponentMenu(TMainMenu& menu);
    // Gives the window its menu back.
    void RestoreMenu();
    // The window is destroyed without its menu, which the bar took: a menu
    // no component keeps goes with the bar, as it would have with the window.
    void WindowGone() { FDestroysMenu = !FComponentMenu; }

    // Paints the bar band r (frame coordinates) on the window DC.
    void PaintBar(HDC dc, const TSkinRect& r);
    void PaintItem(TMenuBtn& item);
    // The first item with a caption whose rectangle holds the point.
    TMenuBtn* HitItem(POINT framePoint);
    // The first enabled item whose caption has this accelerator ("&F").
    TMenuBtn* FindAccelItem(char key);
    // Opens the item's drop-down menu and tracks it; Left and Right open
    // the neighbours' menus in turn until one closes for good.
    void OpenMenuItem(TMenuBtn& item);
    // What the frame's window hears of the open menu's selection
    // (WM_MENUSELECT): which item is selected, so that Left and Right know
    // whether they leave the open menu.
    void NoteMenuSelect(WPARAM wParam, LPARAM lParam);

    const std::vector<std::unique_ptr<TMenuBtn>>& Items() const { return FItems; }
    HMENU MenuHandle() const { return FMenuHandle; }
    // The index of the item whose menu is open, or -1.
    static int CurrentIndex();

protected:
    ~TSkinMenuBar() override;
    // An open menu closes.
    void Unhook() override;

private:
    // The state of the open menu's loop.
    struct TMenuLoop {
        HHOOK Hook = nullptr;
        int Current = -1;
        int Target = -1; // the neighbour to open when the open menu has closed
        bool FirstKey = false;
        POINT LastCursor{};
        HMENU LastMenu = nullptr; // the menu of the item last selected in the open menu
        bool LastOpensMenu = false;
    };

    static LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam);
    int TrackOne(TMenuBtn& item);
    void BuildItems(HMENU menu, bool matchByCommand);
    void ClearItems();

    // One bar menu is open at a time on the user-interface thread; the
    // message filter hook, which has no word of its own, finds its bar
    // here. The bar holds itself while its menu is open, so this never
    // names a freed one.
    static inline TSkinMenuBar* FOpenBar = nullptr;

    TMenuLoop FLoop;
    TSkinFrameState& FFrame;
    TSkinData& FSkin;
    std::vector<std::unique_ptr<TMenuBtn>> FItems;
    TMainMenu* FComponentMenu = nullptr;
    HMENU FMenuHandle = nullptr;
    bool FDestroysMenu = false;
    TSkinRect FBarRect;
    TBitmap FBarBitmap;
};

// The accelerator of a caption ("&File" gives 'F'), or 0.
char MenuAccelerator(const std::string& caption);

} // namespace orbelin
