#pragma once
// TSkinData: the skin store a form carries. It owns the packed skin, unpacks
// it into element records and colours, and tells the skin manager when to
// skin, unskin or refresh.

#include "base/Component.h"
#include "base/StringList.h"
#include "skin/data/SkinElements.h"
#include "skin/data/SkinMenuGlyphs.h"

#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

class TStream;
class TMemoryStream;
class TSkinReader;
class TSkinIniFile;

enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

enum class TSkinControlType {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcSystemMenu, xcFastReport
};
inline constexpr int SkinControlTypeCount = 19;

// Bit i is member i, as the 3-byte set of the form description.
class TSkinControls {
public:
    bool Contains(TSkinControlType t) const { return FBits.test(static_cast<size_t>(t)); }
    void Include(TSkinControlType t) { FBits.set(static_cast<size_t>(t)); }
    void Exclude(TSkinControlType t) { FBits.reset(static_cast<size_t>(t)); }
    uint32_t Bits() const { return static_cast<uint32_t>(FBits.to_ulong()); }
    bool operator==(const TSkinControls&) const = default;
    static TSkinControls Default(); // every member but xcFastReport

private:
    std::bitset<SkinControlTypeCount> FBits;
};

const char* SkinControlTypeName(TSkinControlType t);
const char* SkinFormTypeName(TSkinFormType t);
// The 95 default mapping lines of Skin3rd.
const std::vector<std::string>& DefaultSkin3rdLines();

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

class TSkinData : public TComponent {
public:
    std::string_view ClassName() const override { return "TSkinData"; }
    using TFormSkinEvent = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
    using TSkinControlEvent = std::function<void(TObject* Sender, TSkinData* SkinData, TComponent* Form, TComponent* Control,
                                                 const std::string& ControlClass, TComponent*& SkinnedControl)>;

    static constexpr int CommandDelay = 250;

    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // Published properties.
    bool Active() const { return FActive; }
    void SetActive(bool value);
    int DisableTag = 99;
    TSkinControls SkinControls = TSkinControls::Default();
    TStringList& Skin3rd() { return *FSkin3rd; }
    const TStringList& Skin3rd() const { return *FSkin3rd; }
    const std::string& SkinFile() const { return FSkinFile; }
    void SetSkinFile(const std::string& fileName);
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {} // stored "(Good)" is read and dropped
    TSkinFormType SkinFormtype() const { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType value) { FSkinFormtype = value; }
    std::string Version;
    bool MenuUpdate = true;
    TFormSkinEvent OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TSkinControlEvent OnSkinControl;

    bool SetProperty(std::string_view name, const TPropertyValue& value) override;
    bool SetEvent(std::string_view name, TNotifyEvent handler) override;
    void Loaded() override;

    // Design mode: nothing is loaded and the manager is not commanded.
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool value) { FDesigning = value; }

    // The binary form property SkinStream: 32-bit length, then the packed skin.
    void ReadSkinStream(TStream& reader);
    void WriteSkinStream(TStream& writer) const;
    const TMemoryStream& PackedStream() const { return *FPacked; }
    int64_t PackedSize() const;

    bool LoadPacked();
    void ApplySkin();
    // Parses a skin description and fills the records; SkinLoaded at the end.
    void LoadDescription(const std::string& fileName);
    void LoadDescriptionText(std::string_view text);
    // Fetches a bitmap entry of the archive being loaded by its file name.
    void LoadEntryBitmap(TSkinBitmap& bitmap, std::string_view fileName);
    void FireSkinChanged();

    static TColor ReadColor(std::string_view text, TColor fallback);

    bool SkinLoaded() const { return FSkinLoaded; }
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

    // Element records; nil when the description lacks the element.
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
    std::unique_ptr<TSkinImageList> MenuGlyphs;
    std::unique_ptr<TSkinBitmap> DefaultIcon;
    bool NCPaintEnabled = true;

private:
    friend class TSkinDescriptionLoader;

    bool FActive = false;
    bool FDesigning = false;
    bool FSkinLoaded = false;
    std::string FSkinFile;
    TSkinFormType FSkinFormtype = TSkinFormType::sfMainform;
    std::unique_ptr<TStringList> FSkin3rd;
    std::unique_ptr<TMemoryStream> FPacked;
    // Alive only during LoadPacked.
    std::unique_ptr<TSkinReader> FReader;
    std::unique_ptr<TMemoryStream> FEntry;
};

} // namespace orbelin
