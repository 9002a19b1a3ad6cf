#include "skin/render/frame/SkinSystemMenu.h"

#include "skin/data/SkinData.h"
#include "skin/render/draw/SkinDraw.h"
#include "skin/render/frame/SkinFrameState.h"
#include "skin/render/menus/SkinMenus.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

#include <utility>

namespace orbelin {

namespace {
constexpr int kSystemMenuTag = 33333;
} // namespace

TSkinSystemMenu::TSkinSystemMenu(TComponent& owner, TSkinFrameState& state, TSystemMenuActions actions)
    : FOwner(owner), FState(state), FActions(std::move(actions)), FDoubleClickTime(GetDoubleClickTime())
{
}

void TSkinSystemMenu::ReadWindowMenu() { FWindowMenu = GetSystemMenu(FState.Window, FALSE); }

void TSkinSystemMenu::Forget(const TComponent* component)
{
    if (component == FMenu)
        FMenu = nullptr;
    if (component == FGlyphs)
        FGlyphs = nullptr;
}

void TSkinSystemMenu::Release()
{
    if (FOpen)
        EndMenu();
}

void TSkinSystemMenu::BuildGlyphs()
{
    const TSkinData* skin = FState.Skin;
    if (FGlyphs || !skin || !skin->MenuGlyphs)
        return;
    FGlyphs = new TImageList(&FOwner, skin->MenuGlyphs->Width, skin->MenuGlyphs->Height); // owned by the frame
    FGlyphs->FreeNotification(&FOwner);
    TBitmap glyphs;
    const TSkinBitmap& source = skin->MenuGlyphs->Bitmap;
    glyphs.SetSize(source.Width(), source.Height());
    if (HDC from = TSkinImageCache::Get(source))
        BitBlt(glyphs.DC(), 0, 0, source.Width(), source.Height(), from, 0, 0, SRCCOPY);
    // The image list copies the bitmap; it must not stay selected meanwhile.
    TBitmap detached;
    detached.Assign(static_cast<HBITMAP>(CopyImage(glyphs.Handle(), IMAGE_BITMAP, 0, 0, 0)));
    FGlyphs->SetImages(detached.Handle(), ColorToRGB(skin->MenuGlyphs->TransparentColor));
}

void TSkinSystemMenu::Free()
{
    delete std::exchange(FMenu, nullptr);
}

void TSkinSystemMenu::Build()
{
    Free();
    // Owned by the form, where its shortcut works as every menu's below the
    // form does; freed by the frame.
    FMenu = new TPopupMenu(FState.Form ? static_cast<TComponent*>(FState.Form) : &FOwner);
    FMenu->FreeNotification(&FOwner);
    FMenu->Tag = kSystemMenuTag;
    FMenu->OwnerDraw = true;
    BuildGlyphs();
    FMenu->SetImages(FGlyphs);
    auto add = [this](const char* caption, int tag, std::function<void()> action) {
        auto* item = new TMenuItem(FMenu); // owned by the menu
        item->Caption = caption;
        item->Tag = tag;
        item->ImageIndex = tag;
        if (action)
            item->OnClick = [action](TObject*) { action(); };
        // Drawn by the skin of the moment for every window, forms and raw
        // windows (message boxes, the save dialog) alike.
        item->OnAdvancedDrawItem = [this](TMenuItem* sender, HDC dc, const RECT& rect, UINT state) {
            if (FState.Skin)
                DrawMenuItem(FState.Engine, *FState.Skin, *sender, dc, rect, state);
        };
        item->OnMeasureItem = [this](TMenuItem* sender, HDC dc, int& width, int& height) {
            if (FState.Skin)
                MeasureMenuItem(*FState.Skin, *sender, dc, width, height);
        };
        FMenu->Items().Add(item);
        return item;
    };
    const unsigned availability = FState.Availability;
    add(" Restore ", 0, FActions.Restore);
    if (availability & TSkinFrameState::avMaximize)
        add(" Maximize ", 1, FActions.ToggleMaximize);
    if (availability & TSkinFrameState::avMinimize)
        add(" Minimize ", 2, FActions.ToggleMinimize);
    add("-", 100, nullptr);
    add(" Close ", 3, FActions.Close)->ShortCut = TextToShortCut("Shift+F4");
}

void TSkinSystemMenu::Open(POINT screen)
{
    const int state = FState.WindowState;
    if (FMenu)
        for (int i = 0; i < FMenu->Items().Count(); ++i) {
            TMenuItem* item = FMenu->Items().Items(i);
            switch (item->Tag) {
            case 0: item->Enabled = state != TSkinFrameState::wsNormal; break;
            case 1: item->Enabled = state != TSkinFrameState::wsMaximized; break;
            case 2: item->Enabled = state != TSkinFrameState::wsMinimized; break;
            default: break;
            }
        }
    const DWORD now = GetTickCount();
    if (FLastOpen != 0 && now - FLastOpen <= FDoubleClickTime) {
        // The second opening within the double-click time: a double click closes.
        FLastOpen = 0;
        FActions.Close();
        return;
    }
    FLastOpen = now;
    FOpen = true;
    if (FState.Skin->SkinControls.Contains(TSkinControlType::xcSystemMenu) && !FState.IsMdiChild() && FMenu)
        FMenu->Popup(screen.x, screen.y);
    else if (FWindowMenu)
        TrackPopupMenu(FWindowMenu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, FState.Window, nullptr);
    FOpen = false;
}

} // namespace orbelin
