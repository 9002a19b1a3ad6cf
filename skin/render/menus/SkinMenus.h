#pragma once
// Owner-drawn menu items: measuring and drawing of component items (popup
// menus, the skinned system menu) and of raw items, on the background of
// the popup skin, with the skin's item image and colours.

#include <windows.h>

#include <string>

namespace orbelin {

class ISkinEngine;
class TForm;
class TImageList;
class TMenuItem;
class TSkinData;

// The widths a skinned item adds to the standard measure: the item
// image's left part and 12, or 35 when the menu has no image list.
int MenuItemExtraWidth(const TSkinData& skin, bool hasImageList);

void MeasureMenuItem(const TSkinData& skin, TMenuItem& item, HDC dc, int& width, int& height);
// Drawn on the background of the popup skin of the menu window it is painted in.
void DrawMenuItem(const ISkinEngine& engine, const TSkinData& skin, TMenuItem& item, HDC dc, const RECT& rect,
                  UINT state);
// An item of a raw menu (no component item behind it), drawn through a
// temporary item: separators too show the item picture, with an etched line;
// the menu of a right-to-left window mirrors the item's content.
void DrawRawMenuItem(const ISkinEngine& engine, const TSkinData& skin, TMenuItem& item, HDC dc, const RECT& rect,
                     UINT state, bool rightToLeft = false);
// An item drawn in flat colours (a skin without an item image).
void DrawPlainMenuItem(const TSkinData& skin, TMenuItem& item, HDC dc, const RECT& rect, UINT state);

// Makes the form's popup menus drawn by the skin, or plain again.
void SetPopupOwnerDraw(const ISkinEngine& engine, TSkinData* skin, TForm* form, bool on);
// The image list of the popup menu the item belongs to, or null.
TImageList* MenuImagesOf(TMenuItem& item);

} // namespace orbelin
