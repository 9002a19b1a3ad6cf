#pragma once
// TSkinData: the skin store a form carries. It owns the packed skin, unpacks
// it into element records and colours, and tells the skin manager when to
// skin, unskin or refresh.

#include "base/Component.h"
#include "base/StringList.h"
#include "skin/data/SkinDescription.h"
#include "skin/data/SkinMenuGlyphs.h"
#include "skin/data/SkinRecords.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orbelin {

class TStream;
class TMemoryStream;

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

// The records a description fills are the store's public fields
// (TSkinRecords), where the skin objects read them.
class TSkinData : public TComponent, public TSkinRecords {
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

    const TPropertyTable<TComponent>& Properties() const override;
    void Loaded() override;

    // Design mode: nothing is loaded and the manager is not commanded.
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool value) { FDesigning = value; }

    // The binary form property SkinStream, read straight from the
    // property's bytes: 32-bit length, then the packed skin.
    void ReadSkinStream(std::span<const uint8_t> bytes);
    void WriteSkinStream(TStream& writer) const;
    int64_t PackedSize() const;

    bool LoadPacked();
    void ApplySkin();
    // Parses a skin description without an archive (every image empty) and
    // fills the records; SkinLoaded at the end.
    void LoadDescription(const std::string& fileName);
    void LoadDescriptionText(std::string_view text);
    void FireSkinChanged();

    bool SkinLoaded() const { return FSkinLoaded; }

    std::unique_ptr<TSkinImageList> MenuGlyphs;
    std::unique_ptr<TSkinBitmap> DefaultIcon;
    bool NCPaintEnabled = true;

private:
    void ParseDescription(std::string_view text, const TSkinEntryFetch& entries);

    bool FActive = false;
    bool FDesigning = false;
    bool FSkinLoaded = false;
    std::string FSkinFile;
    TSkinFormType FSkinFormtype = TSkinFormType::sfMainform;
    std::unique_ptr<TStringList> FSkin3rd;
    std::unique_ptr<TMemoryStream> FPacked;
};

} // namespace orbelin
