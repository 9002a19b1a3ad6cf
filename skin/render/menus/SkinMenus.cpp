#include "skin/render/menus/SkinMenus.h"

#include "skin/data/SkinData.h"
#include "skin/render/core/SkinHosts.h"
#include "skin/render/draw/SkinDraw.h"
#include "skin/render/menus/SkinPopupMenu.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

#include <algorithm>
#include <memory>
#include <string>

namespace orbelin {

namespace {

constexpr int kPopupFrame = 3;

TPopupMenu* MenuOf(TMenuItem& item)
{
    TMenuItem* root = &item;
    while (root->Parent())
        root = root->Parent();
    return dynamic_cast<TPopupMenu*>(root->Owner());
}

} // namespace

TImageList* MenuImagesOf(TMenuItem& item)
{
    TPopupMenu* menu = MenuOf(item);
    return menu ? menu->Images() : nullptr;
}

namespace {

// A caption that is empty or only "&" is measured as one blank.
std::string MeasuredText(const std::string& text) { return (text.empty() || text == "&") ? " " : text; }

void DrawItemText(const TSkinData& skin, HDC dc, const std::string& text, RECT& rect, UINT format, bool selected,
                  bool enabled, bool calculate)
{
    if (calculate) {
        const std::string measured = MeasuredText(text);
        DrawTextA(dc, measured.data(), static_cast<int>(measured.size()), &rect, format | DT_CALCRECT);
        return;
    }
    if (text == "-") {
        RECT line = rect;
        line.top += 4;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    COLORREF colour = 0;
    if (enabled)
        colour = ColorToRGB(selected ? skin.ColorHilightText : skin.ColorMenuText);
    else
        colour = skin.ColorButtonShadow == skin.ColorMenuText ? GetSysColor(COLOR_BTNSHADOW)
                                                               : ColorToRGB(skin.ColorButtonShadow);
    SetTextColor(dc, colour);
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect, format);
}

// Glyph, caption and shortcut of an item on its bitmap; a right-to-left
// menu mirrors them (glyph on the right, texts aligned right).
void DrawItemContent(const TSkinData& skin, TMenuItem& item, HDC dc, const RECT& rect, bool selected,
                     bool rightToLeft = false)
{
    TImageList* images = MenuImagesOf(item);
    int checkWidth = images ? images->Width() : 16;
    if (item.Checked)
        checkWidth = std::max(checkWidth, 16);
    const int inset = 1 + (skin.MenuItem ? skin.MenuItem->LeftWidth() : 0);
    const int left = rightToLeft ? rect.right - inset - checkWidth : rect.left + inset;
    RECT glyph{left, rect.top + 1, left + checkWidth, rect.top + 1 + checkWidth};
    if (images && item.ImageIndex >= 0 && item.ImageIndex < images->Count()) {
        if (item.Checked) {
            TGdiHandle<HBRUSH> pattern(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
            FillRect(dc, &glyph, pattern.Get());
            DrawEdge(dc, &glyph, BDR_SUNKENOUTER, BF_RECT);
        }
        images->Draw(dc, glyph.left + (checkWidth - images->Width()) / 2, glyph.top + (checkWidth - images->Height()) / 2,
                     item.ImageIndex, item.Enabled);
    } else if (item.Checked) {
        RECT mark = glyph;
        OffsetRect(&mark, 1, 1);
        const COLORREF old = SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        TGdiHandle<HFONT> marlett(CreateFontA(checkWidth - 2, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0,
                                              "Marlett"));
        TSelectObject font(dc, marlett.Get());
        DrawTextA(dc, "a", 1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SetTextColor(dc, old);
    }
    SetBkMode(dc, TRANSPARENT);
    HFONT bold = nullptr;
    TGdiHandle<HFONT> boldFont;
    if (item.Default) {
        LOGFONTA lf{};
        GetObjectA(MenuFont(), sizeof(lf), &lf);
        lf.lfWeight = FW_BOLD;
        boldFont.Reset(CreateFontIndirectA(&lf));
        bold = boldFont.Get();
    }
    TSelectObject font(dc, bold ? bold : MenuFont());
    RECT caption = rightToLeft ? RECT{rect.left + 1, rect.top, glyph.left - 3, rect.bottom}
                               : RECT{glyph.right + 3, rect.top, rect.right - 1, rect.bottom};
    constexpr UINT format = DT_EXPANDTABS | DT_SINGLELINE;
    const UINT align = rightToLeft ? DT_RIGHT : DT_LEFT;
    RECT measured = caption;
    DrawItemText(skin, dc, item.Caption, measured, format | DT_NOCLIP | DT_LEFT, selected, item.Enabled, true);
    const int h = measured.bottom - measured.top, textWidth = measured.right - measured.left;
    caption.top = rect.top + (rect.bottom - rect.top - h) / 2;
    caption.bottom = caption.top + h;
    DrawItemText(skin, dc, item.Caption, caption, format | align, selected, item.Enabled, false);
    if (item.ShortCut) {
        RECT shortcut = rightToLeft ? RECT{rect.left + 11, caption.top, caption.right - textWidth, caption.bottom}
                                    : RECT{measured.right, caption.top, rect.right - 11, caption.bottom};
        DrawItemText(skin, dc, ShortCutToText(item.ShortCut), shortcut, format | (rightToLeft ? DT_LEFT : DT_RIGHT),
                     selected, item.Enabled, false);
    }
}

// The separator line: frame 2 of the item image, its left and right parts
// kept and the middle stretched to the item's width.
void DrawSeparator(const TSkinData& skin, HDC dc, const RECT& rect)
{
    const TDataSkinObject& element = *skin.MenuItem;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const TSkinRect frame = FrameRect(element.Image.Width(), element.Image.Height(), 5, 2, false);
    TSkinRect source = frame;
    if (source.Height() > h)
        source.Top = source.Bottom - h; // the bottom rows of a taller image
    TBitmap line;
    line.SetSize(w, h);
    HDC from = TSkinImageCache::Get(element.Image);
    if (!from)
        return;
    TSkinMargins margins{element.LeftWidth(), 0, element.RightWidth(), 0};
    CopySlices(line.DC(), {0, 0}, from, NineSlicePieces({w, h}, source, margins, false));
    DrawTransparent(dc, rect, line);
}

} // namespace

int MenuItemExtraWidth(const TSkinData& skin, bool hasImageList)
{
    return (skin.MenuItem ? skin.MenuItem->LeftWidth() : 0) + (hasImageList ? 12 : 35);
}

void MeasureMenuItem(const TSkinData& skin, TMenuItem& item, HDC, int& width, int& height)
{
    (void)height;
    width += MenuItemExtraWidth(skin, MenuImagesOf(item) != nullptr);
}

void DrawPlainMenuItem(const TSkinData& skin, TMenuItem& item, HDC dc, const RECT& rect, UINT state)
{
    const bool selected = state & ODS_SELECTED;
    TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(selected ? skin.ColorHilight : skin.ColorMenu)));
    FillRect(dc, &rect, brush.Get());
    DrawItemContent(skin, item, dc, rect, selected);
}

namespace {

// The item's bitmap with the background of the item's own menu: the DC it is
// drawn on is its menu window's (another popup, a submenu, has another
// size). The popup window has a 3-pixel frame: an item's rectangle lies that
// far into it.
void PaintItemBackground(const ISkinEngine& engine, const TSkinData& skin, HDC dc, const RECT& rect, TBitmap& bitmap)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    bitmap.SetSize(w, h);
    TSkinPopupMenu* popup = engine.PopupOf(WindowFromDC(dc));
    if (!popup)
        popup = TSkinPopupMenu::Current();
    TBitmap* background = popup ? popup->CurrentBackground() : nullptr;
    if (background) {
        BitBlt(bitmap.DC(), 0, 0, w, h, background->DC(), rect.left + kPopupFrame, rect.top + kPopupFrame, SRCCOPY);
    } else {
        TGdiHandle<HBRUSH> brush(CreateSolidBrush(ColorToRGB(skin.ColorMenu)));
        const RECT all{0, 0, w, h};
        FillRect(bitmap.DC(), &all, brush.Get());
    }
}

// The item picture (frame 1, or 4 when selected) and the item's content over
// the background, then onto the menu.
void DrawSkinnedItem(const TSkinData& skin, TMenuItem& item, HDC dc, const RECT& rect, bool selected, TBitmap& bitmap,
                     bool rightToLeft = false)
{
    const RECT local{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    const TDataSkinObject& element = *skin.MenuItem;
    DrawNineSlice(bitmap.DC(), local, element.Image, false, element.Tile == 1, element.Trans == 1, 5, selected ? 4 : 1,
                  element.Margins);
    DrawItemContent(skin, item, bitmap.DC(), local, selected, rightToLeft);
    BitBlt(dc, rect.left, rect.top, local.right, local.bottom, bitmap.DC(), 0, 0, SRCCOPY);
}

bool HasItemPicture(const TSkinData& skin) { return skin.MenuItem && !skin.MenuItem->Image.Empty(); }

} // namespace

void DrawMenuItem(const ISkinEngine& engine, const TSkinData& skin, TMenuItem& item, HDC dc, const RECT& rect, UINT state)
{
    if (!HasItemPicture(skin)) {
        DrawPlainMenuItem(skin, item, dc, rect, state);
        return;
    }
    TBitmap bitmap;
    PaintItemBackground(engine, skin, dc, rect, bitmap);
    if (item.IsLine()) {
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, bitmap.DC(), 0, 0, SRCCOPY);
        DrawSeparator(skin, dc, rect);
        return;
    }
    DrawSkinnedItem(skin, item, dc, rect, (state & ODS_SELECTED) != 0, bitmap);
}

void DrawRawMenuItem(const ISkinEngine& engine, const TSkinData& skin, TMenuItem& item, HDC dc, const RECT& rect,
                     UINT state, bool rightToLeft)
{
    if (!HasItemPicture(skin)) {
        DrawPlainMenuItem(skin, item, dc, rect, state);
        return;
    }
    // Separators too: the etched line over the item picture.
    TBitmap bitmap;
    PaintItemBackground(engine, skin, dc, rect, bitmap);
    DrawSkinnedItem(skin, item, dc, rect, (state & ODS_SELECTED) != 0, bitmap, rightToLeft);
}

void SetPopupOwnerDraw(const ISkinEngine& engine, TSkinData* skin, TForm* form, bool on)
{
    if (!skin || !form || !skin->SkinControls.Contains(TSkinControlType::xcPopupMenu))
        return;
    std::vector<TPopupMenu*> menus;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TPopupMenu*>(form->Components(i)); menu && menu->Tag % 100 != skin->DisableTag)
            menus.push_back(menu);
    for (TPopupMenu* menu : menus) {
        menu->OwnerDraw = on;
        std::vector<TMenuItem*> pending{&menu->Items()};
        while (!pending.empty()) {
            TMenuItem* item = pending.back();
            pending.pop_back();
            for (int i = 0; i < item->Count(); ++i)
                pending.push_back(item->Items(i));
            if (item == &menu->Items())
                continue;
            if (on && !item->OnAdvancedDrawItem) {
                item->OnAdvancedDrawItem = [&engine, skin](TMenuItem* sender, HDC dc, const RECT& rect, UINT state) {
                    DrawMenuItem(engine, *skin, *sender, dc, rect, state);
                };
                item->OnMeasureItem = [skin](TMenuItem* sender, HDC dc, int& width, int& height) {
                    MeasureMenuItem(*skin, *sender, dc, width, height);
                };
            } else if (!on) {
                item->OnAdvancedDrawItem = nullptr;
            }
        }
    }
}

} // namespace orbelin
