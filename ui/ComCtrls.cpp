#include "ui/ComCtrls.h"

#include "base/PropertyTable.h"

#include <commctrl.h>

#include <algorithm>

namespace orbelin {

namespace {
constexpr TEnumName<TScrollBarKind> ScrollBarKindNames[] = {
    {"sbHorizontal", TScrollBarKind::sbHorizontal},
    {"sbVertical", TScrollBarKind::sbVertical},
};
constexpr TEnumName<TUDOrientation> OrientationNames[] = {
    {"udHorizontal", TUDOrientation::udHorizontal},
    {"udVertical", TUDOrientation::udVertical},
};
} // namespace

// ------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {}

void TScrollBar::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = "SCROLLBAR";
    params.Style |= FKind == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPage = static_cast<UINT>(FPageSize);
    info.nPos = FPosition;
    SetScrollInfo(FHandle, SB_CTL, &info, TRUE);
}

int TScrollBar::Position() const { return FHandle ? GetScrollPos(FHandle, SB_CTL) : FPosition; }

void TScrollBar::SetPosition(int position)
{
    FPosition = position;
    if (FHandle)
        SetScrollPos(FHandle, SB_CTL, position, TRUE);
}

const TPropertyTable<TComponent>& TScrollBar::Properties() const
{
    static const TPropertyTable<TComponent> table(TWinControl::Properties(), {
        EnumField("Kind", &TScrollBar::FKind, ScrollBarKindNames),
        Field("Min", &TScrollBar::FMin),
        Field("Max", &TScrollBar::FMax),
        Field("PageSize", &TScrollBar::FPageSize),
        Field("Position", &TScrollBar::FPosition),
    });
    return table;
}

// ---------------------------------------------------------------- TUpDown

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {}

void TUpDown::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = UPDOWN_CLASSA;
    params.Style |= UDS_ARROWKEYS | (FOrientation == TUDOrientation::udHorizontal ? UDS_HORZ : 0);
}

void TUpDown::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SendMessageA(FHandle, UDM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
    SendMessageA(FHandle, UDM_SETPOS32, 0, static_cast<LPARAM>(FPosition));
}

int TUpDown::Position() const
{
    return FHandle ? static_cast<int>(SendMessageA(FHandle, UDM_GETPOS32, 0, 0)) : FPosition;
}

const TPropertyTable<TComponent>& TUpDown::Properties() const
{
    static const TPropertyTable<TComponent> table(TWinControl::Properties(), {
        EnumField("Orientation", &TUpDown::FOrientation, OrientationNames),
        Field("Min", &TUpDown::FMin),
        Field("Max", &TUpDown::FMax),
        Field("Position", &TUpDown::FPosition),
    });
    return table;
}

// -------------------------------------------------------------- TListView

TListView::TListView(TComponent* owner) : TWinControl(owner) {}

void TListView::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = WC_LISTVIEWA;
    params.Style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::AddColumn(const std::string& caption, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = width;
    column.pszText = const_cast<char*>(caption.c_str());
    const auto count = static_cast<int>(SendMessageA(HeaderHandle(), HDM_GETITEMCOUNT, 0, 0));
    SendMessageA(Handle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(std::max(count, 0)), reinterpret_cast<LPARAM>(&column));
}

void TListView::AddItem(const std::string& caption)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ItemCount();
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int TListView::ItemCount() const
{
    return FHandle ? static_cast<int>(SendMessageA(FHandle, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

HWND TListView::HeaderHandle() const
{
    return FHandle ? reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0)) : nullptr;
}

} // namespace orbelin
