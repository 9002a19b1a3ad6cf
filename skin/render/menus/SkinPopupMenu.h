#pragma once
// TSkinPopupMenu skins one popup menu window: it paints the window's
// 3-pixel frame and its background from the skin's menu background, and
// keeps that background for the owner-drawn items to draw on. The manager
// lets it go (SkinLife) when the window goes.

#include "skin/render/core/SkinDispatch.h"
#include "skin/render/core/SkinLife.h"
#include "ui/Graphics.h"

#include <windows.h>

namespace orbelin {

class ISkinEngine;
class TSkinData;

class TSkinPopupMenu : public TSkinLife {
public:
    TSkinPopupMenu() = default;

    // engine: the manager that owns this skin and tells whether skinning is on.
    void Attach(HWND window, TSkinData* skin, const ISkinEngine& engine);
    void Detach();
    bool Attached() const { return FSubclass.Installed(); }
    HWND Window() const { return FWindow; }
    TSkinData* Skin() const { return FSkin; }
    // The whole menu window painted from the skin's menu background.
    TBitmap& Background() { return FBackground; }
    bool MenuBarOwned = false;

    // The popup skin that painted last.
    static TSkinPopupMenu* Current();
    // The background for the window's current size, rendered now when it
    // is missing; null without a loaded skin with a menu background.
    TBitmap* CurrentBackground();

protected:
    ~TSkinPopupMenu() override = default;
    void Unhook() override { Detach(); }

private:
    LRESULT WindowProcedure(UINT msg, WPARAM wParam, LPARAM lParam);
    // Renders the background for the window's current size; false without
    // a loaded skin with a menu background.
    bool RenderBackground(RECT& window);
    void PaintFrame();
    void PaintBackground(HDC dc);

    TWindowSubclass FSubclass;
    HWND FWindow = nullptr;
    TSkinData* FSkin = nullptr;
    const ISkinEngine* FEngine = nullptr;
    TBitmap FBackground;
};

} // namespace orbelin
