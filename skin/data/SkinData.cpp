#include "skin/data/SkinData.h"

#include "base/ByteReader.h"
#include "base/PropertyTable.h"
#include "base/Streams.h"
#include "skin/data/SkinHost.h"
#include "skin/data/SkinReader.h"

#include <filesystem>
#include <system_error>

namespace orbelin {

namespace {

constexpr TEnumName<TSkinControlType> ControlTypeNames[SkinControlTypeCount] = {
    {"xcMainMenu", TSkinControlType::xcMainMenu},       {"xcPopupMenu", TSkinControlType::xcPopupMenu},
    {"xcToolbar", TSkinControlType::xcToolbar},         {"xcControlbar", TSkinControlType::xcControlbar},
    {"xcCombo", TSkinControlType::xcCombo},             {"xcCheckBox", TSkinControlType::xcCheckBox},
    {"xcRadioButton", TSkinControlType::xcRadioButton}, {"xcProgress", TSkinControlType::xcProgress},
    {"xcScrollbar", TSkinControlType::xcScrollbar},     {"xcEdit", TSkinControlType::xcEdit},
    {"xcButton", TSkinControlType::xcButton},           {"xcBitBtn", TSkinControlType::xcBitBtn},
    {"xcSpeedButton", TSkinControlType::xcSpeedButton}, {"xcPanel", TSkinControlType::xcPanel},
    {"xcGroupBox", TSkinControlType::xcGroupBox},       {"xcStatusBar", TSkinControlType::xcStatusBar},
    {"xcTab", TSkinControlType::xcTab},                 {"xcSystemMenu", TSkinControlType::xcSystemMenu},
    {"xcFastReport", TSkinControlType::xcFastReport},
};

constexpr TEnumName<TSkinFormType> FormTypeNames[] = {
    {"sfMainform", TSkinFormType::sfMainform},
    {"sfOnlyThisForm", TSkinFormType::sfOnlyThisForm},
    {"sfDialog", TSkinFormType::sfDialog},
};

bool FileExists(const std::string& fileName)
{
    std::error_code error;
    return !fileName.empty() && std::filesystem::is_regular_file(std::filesystem::path(fileName), error);
}

} // namespace

TSkinControls TSkinControls::Default()
{
    TSkinControls set;
    for (int i = 0; i < SkinControlTypeCount; ++i)
        set.Include(static_cast<TSkinControlType>(i));
    set.Exclude(TSkinControlType::xcFastReport);
    return set;
}

const char* SkinControlTypeName(TSkinControlType t) { return EnumName(ControlTypeNames, t); }

const char* SkinFormTypeName(TSkinFormType t) { return EnumName(FormTypeNames, t); }

TSkinData::TSkinData(TComponent* owner) : TComponent(owner)
{
    FSkinFormtype = TSkinFormType::sfMainform;
    FPacked = std::make_unique<TMemoryStream>();
    FSkinLoaded = false;
    DefaultIcon = std::make_unique<TSkinBitmap>();
    NCPaintEnabled = true;
    FSkin3rd = std::make_unique<TStringList>();
    for (const std::string& line : DefaultSkin3rdLines())
        FSkin3rd->Add(line);
    MenuUpdate = true;
    DisableTag = 99;
    SkinControls = TSkinControls::Default();
    MenuGlyphs = std::make_unique<TSkinImageList>();
    MenuGlyphs->Bitmap = HalvixMenuBitmap();
    Version = "1.0.0.0";
}

TSkinData::~TSkinData()
{
    MenuGlyphs.reset();
    FSkin3rd.reset();
    if (ISkinManager* manager = SkinManager())
        manager->UnregisterStore(this);
    FPacked.reset();
    DefaultIcon.reset();
    BorderLeft.reset();
    BorderRight.reset();
    BorderTop.reset();
    BorderBottom.reset();
    SysButtons.clear();
    Buttons.reset();
    Title.reset();
    FaceBrush.Release();
    // The other records go with the members.
}

int64_t TSkinData::PackedSize() const { return static_cast<int64_t>(FPacked->Bytes().size()); }

std::string TSkinData::SkinStore() const
{
    return FDesigning && PackedSize() > 0 ? "(Good)" : "(none)";
}

void TSkinData::FireSkinChanged()
{
    if (OnSkinChanged)
        OnSkinChanged(this);
}

void TSkinData::Loaded()
{
    TComponent::Loaded();
    if (FDesigning)
        return;
    ISkinManager* manager = EnsureSkinManager();
    if (manager)
        manager->RegisterStore(this);
    switch (FSkinFormtype) {
    case TSkinFormType::sfOnlyThisForm:
    case TSkinFormType::sfDialog:
        if (manager) {
            manager->SetActive(true);
            manager->CountStartedWindow();
            manager->SkinOwnerForm(Owner());
        }
        break;
    case TSkinFormType::sfMainform:
        if (manager)
            manager->InstallHook();
        if (FActive) {
            if (!FSkinLoaded)
                FActive = false; // a refused archive leaves the windows plain
            else if (manager)
                manager->PostCommand(scSkin, CommandDelay);
        }
        break;
    }
}

void TSkinData::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    if (FDesigning || Loading() || FSkinFormtype == TSkinFormType::sfDialog)
        return;
    // A store switched on before any Loaded ran brings the manager up itself.
    ISkinManager* manager = SkinManager();
    if (!manager && (manager = EnsureSkinManager()) != nullptr)
        manager->RegisterStore(this);
    if (!manager)
        return;
    const bool command = !(value && !FSkinLoaded);
    if (FSkinFormtype == TSkinFormType::sfOnlyThisForm)
        manager->SetPendingStore(this);
    if (command)
        manager->PostCommand(value ? scSkin : scUnskin, CommandDelay);
    if (FSkinFormtype == TSkinFormType::sfMainform && command)
        manager->SetPendingStore(this);
}

void TSkinData::ApplySkin()
{
    if (FDesigning || Loading())
        return;
    if (!SkinManager())
        Loaded();
    ISkinManager* manager = SkinManager();
    if (!manager)
        return;
    manager->SetPendingStore(this);
    manager->DropTitleButtons();
    manager->PostCommand(scRefresh, CommandDelay);
}

void TSkinData::SetSkinFile(const std::string& fileName)
{
    FSkinLoaded = false;
    FSkinFile = fileName;
    if (FDesigning) {
        if (!fileName.empty() && FPacked->Size() > 0)
            FPacked->Clear();
        return;
    }
    if (!FileExists(fileName))
        return;
    FPacked->Clear();
    FPacked->LoadFromFile(fileName);
    LoadPacked();
    ApplySkin();
}

void TSkinData::ReadSkinStream(std::span<const uint8_t> bytes)
{
    const TByteReader in(bytes);
    const int32_t length = in.I32(0);
    if (length <= 0)
        return;
    // Checked against what is there before anything is sized, so a lying
    // length cannot allocate gigabytes.
    const std::span<const uint8_t> packed = in.Bytes(4, static_cast<uint64_t>(length));
    FPacked->Clear();
    FPacked->WriteBuffer(packed.data(), length);
    if (!FDesigning)
        LoadPacked();
}

void TSkinData::WriteSkinStream(TStream& writer) const
{
    const uint32_t size = static_cast<uint32_t>(FPacked->Size());
    const uint8_t b[4] = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size >> 16),
                          static_cast<uint8_t>(size >> 24)};
    writer.WriteBuffer(b, 4);
    if (size > 0)
        writer.WriteBuffer(FPacked->Memory(), static_cast<int64_t>(size));
}

bool TSkinData::LoadPacked()
{
    FSkinLoaded = false;
    if (FDesigning)
        return false;
    TSkinReader reader;
    if (!reader.ReadSkin(*FPacked))
        return false;
    std::string name;
    const std::string_view description = reader.FindEntry(".ini", name);
    if (name.empty())
        return false; // no description: the skin stays not loaded
    ParseDescription(description, [&reader](std::string_view entry) { return reader.GetEntry(entry); });
    return true;
}

void TSkinData::LoadDescription(const std::string& fileName) { LoadDescriptionText(ReadFileBytes(fileName)); }

void TSkinData::LoadDescriptionText(std::string_view text) { ParseDescription(text, {}); }

void TSkinData::ParseDescription(std::string_view text, const TSkinEntryFetch& entries)
{
    FSkinLoaded = false;
    TSkinDescriptionLoader(text, entries, *this).Run();
    FSkinLoaded = true;
}

const TPropertyTable<TComponent>& TSkinData::Properties() const
{
    static const TPropertyTable<TComponent> table(TComponent::Properties(), {
        Setter("Active", &TSkinData::SetActive),
        Field("DisableTag", &TSkinData::DisableTag),
        Property<TSkinData>("SkinControls",
                            [](TSkinData& s, const TPropertyValue& v) {
                                s.SkinControls = TSkinControls();
                                for (const TSkinControlType type : EnumsFromNames(ControlTypeNames, v.AsSet()))
                                    s.SkinControls.Include(type);
                            }),
        Property<TSkinData>("Skin3rd.Strings",
                            [](TSkinData& s, const TPropertyValue& v) {
                                s.FSkin3rd->Clear();
                                for (const std::string& line : v.AsStrings())
                                    s.FSkin3rd->Add(line);
                            }),
        Setter("SkinFile", &TSkinData::SetSkinFile),
        Setter("SkinStore", &TSkinData::SetSkinStore),
        EnumField("SkinFormtype", &TSkinData::FSkinFormtype, FormTypeNames),
        Field("Version", &TSkinData::Version),
        Field("MenuUpdate", &TSkinData::MenuUpdate),
        Property<TSkinData>("SkinStream", [](TSkinData& s, const TPropertyValue& v) { s.ReadSkinStream(v.AsBinary()); }),
        Event("OnSkinChanged", &TSkinData::OnSkinChanged),
    });
    return table;
}

} // namespace orbelin
