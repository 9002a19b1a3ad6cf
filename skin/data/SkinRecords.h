#pragma once
// What a skin description fills: the skin's name, its colours, the element
// records and the face brush. The skin store holds them as public fields,
// so the skin objects read them from the store directly; the description
// loader is given them alone and never reaches the store itself.

#include "base/Colors.h"
#include "skin/data/SkinElements.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orbelin {

// A solid brush of the face colour; the platform handle comes from the
// brush hooks of SkinHost.h (none natively).
class TSkinBrush {
public:
    TSkinBrush() = default;
    ~TSkinBrush() { Release(); }
    TSkinBrush(const TSkinBrush&) = delete;
    TSkinBrush& operator=(const TSkinBrush&) = delete;
    void Recreate(TColor color);
    void Release();
    uintptr_t Handle() const { return FHandle; }
    TColor Color() const { return FColor; }
    bool Exists() const { return FExists; }

private:
    TColor FColor = 0;
    uintptr_t FHandle = 0;
    bool FExists = false;
};

class TSkinRecords {
public:
    TSkinRecords();
    TSkinRecords(const TSkinRecords&) = delete;
    TSkinRecords& operator=(const TSkinRecords&) = delete;

    std::string SkinName;

    TColor ColorWindowText = clWindowText;
    TColor ColorButtonFace = clBtnFace;
    TColor ColorScrollbar = clScrollBar;
    TColor ColorHilightText = clHighlightText;
    TColor ColorHilight = clHighlight;
    TColor ColorMenuBar = clBtnFace;
    TColor ColorMenu = clMenu;
    TColor ColorMenuText = clMenuText;
    TColor ColorButtonText = clBtnText;
    TColor ColorButtonHilight = clBtnHighlight;
    TColor ColorButtonLight = clBtnHighlight;
    TColor ColorButtonShadow = clBtnShadow;
    TColor ColorButtonDkShadow = cl3DDkShadow;
    TColor ColorMenuBarText = clMenuText;
    TColor ColorTitleTextActive = clCaptionText;
    TColor ColorTitleTextNoActive = clInactiveCaptionText;
    std::vector<TColor> ExtraColors;

    // Element records; null when the description lacks the element. Title,
    // Buttons and the four borders always exist.
    std::unique_ptr<TDataSkinTitle> Title;
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
    std::unique_ptr<TDataSkinButton> Buttons;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinObject> Toolbars;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
    std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
    std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
    std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
    std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
    std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
    std::unique_ptr<TDataSkinBorder> BorderLeft;
    std::unique_ptr<TDataSkinBorder> BorderRight;
    std::unique_ptr<TDataSkinBorder> BorderTop;
    std::unique_ptr<TDataSkinBorder> BorderBottom;

    TSkinBrush FaceBrush;
};

} // namespace orbelin
