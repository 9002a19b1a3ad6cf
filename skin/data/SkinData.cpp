#include "skin/data/SkinData.h"

#include "base/AnsiText.h"
#include "base/Streams.h"
#include "skin/data/SkinHost.h"
#include "skin/data/SkinReader.h"

#include <filesystem>
#include <system_error>

namespace orbelin {

namespace {

constexpr const char* ControlTypeNames[SkinControlTypeCount] = {
    "xcMainMenu", "xcPopupMenu", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox", "xcRadioButton",
    "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcPanel", "xcGroupBox",
    "xcStatusBar", "xcTab", "xcSystemMenu", "xcFastReport"};

constexpr const char* FormTypeNames[] = {"sfMainform", "sfOnlyThisForm", "sfDialog"};

bool FileExists(const std::string& fileName)
{
    std::error_code error;
    return !fileName.empty() && std::filesystem::is_regular_file(std::filesystem::path(fileName), error);
}

TSkinFormType FormTypeFromName(const std::string& name)
{
    for (int i = 0; i < 3; ++i)
        if (SameText(name, FormTypeNames[i]))
            return static_cast<TSkinFormType>(i);
    throw EConvertError("Invalid property value " + name);
}

TSkinControls ControlsFromNames(const std::vector<std::string>& names)
{
    TSkinControls set;
    for (const std::string& name : names) {
        bool found = false;
        for (int i = 0; i < SkinControlTypeCount && !found; ++i)
            if (SameText(name, ControlTypeNames[i])) {
                set.Include(static_cast<TSkinControlType>(i));
                found = true;
            }
        if (!found)
            throw EConvertError("Invalid property value " + name);
    }
    return set;
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

const char* SkinControlTypeName(TSkinControlType t) { return ControlTypeNames[static_cast<int>(t)]; }

const char* SkinFormTypeName(TSkinFormType t) { return FormTypeNames[static_cast<int>(t)]; }

void TSkinBrush::Recreate(TColor color)
{
    Release();
    FColor = color;
    FExists = true;
    if (const auto& create = SkinBrushHooks().Create)
        FHandle = create(color);
}

void TSkinBrush::Release()
{
    if (FExists && FHandle != 0)
        if (const auto& destroy = SkinBrushHooks().Destroy)
            destroy(FHandle);
    FHandle = 0;
    FExists = false;
}

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
    Buttons = std::make_unique<TDataSkinButton>("Buttons");
    BorderLeft = std::make_unique<TDataSkinBorder>("Left");
    BorderRight = std::make_unique<TDataSkinBorder>("Right");
    BorderTop = std::make_unique<TDataSkinBorder>("Top");
    BorderBottom = std::make_unique<TDataSkinBorder>("Bottom");
    Title = std::make_unique<TDataSkinTitle>("Title");
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

void TSkinData::ReadSkinStream(TStream& reader)
{
    uint8_t b[4];
    reader.ReadBuffer(b, 4);
    const int32_t length = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                                static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
    if (length <= 0)
        return;
    // Checked before resizing, so a lying length cannot allocate gigabytes.
    if (length > reader.Size() - reader.Position())
        throw EReadError(SReadError);
    FPacked->SetSize(length);
    FPacked->SetPosition(0);
    reader.ReadBuffer(FPacked->Memory(), length);
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
    FReader = std::make_unique<TSkinReader>();
    FEntry = std::make_unique<TMemoryStream>();
    struct Release {
        TSkinData& store;
        ~Release()
        {
            store.FEntry.reset();
            store.FReader.reset();
        }
    } release{*this};

    if (!FReader->ReadSkin(*FPacked))
        return false;
    TMemoryStream description;
    std::string name;
    FReader->FindEntry(".ini", description, name);
    if (name.empty())
        return false; // no description: the skin stays not loaded
    LoadDescriptionText(std::string_view(reinterpret_cast<const char*>(description.Memory()), static_cast<size_t>(description.Size())));
    return true;
}

void TSkinData::LoadEntryBitmap(TSkinBitmap& bitmap, std::string_view value)
{
    const size_t cut = value.find_last_of("\\:");
    const std::string_view fileName = cut == std::string_view::npos ? value : value.substr(cut + 1);
    const size_t dot = fileName.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
    if (fileName.empty() || extension != ".bmp" || !FReader) {
        bitmap.Clear();
        return;
    }
    FReader->GetEntry(fileName, *FEntry);
    if (FEntry->Size() > 0)
        bitmap.LoadFromStream(*FEntry);
    else
        bitmap.Clear();
}

bool TSkinData::SetProperty(std::string_view name, const TPropertyValue& value)
{
    if (SameText(name, "Active"))
        SetActive(value.AsBoolean());
    else if (SameText(name, "DisableTag"))
        DisableTag = static_cast<int>(value.AsInteger());
    else if (SameText(name, "SkinControls"))
        SkinControls = ControlsFromNames(value.AsSet());
    else if (SameText(name, "Skin3rd.Strings") || SameText(name, "Skin3rd")) {
        FSkin3rd->Clear();
        for (const std::string& line : value.AsStrings())
            FSkin3rd->Add(line);
    } else if (SameText(name, "SkinFile"))
        SetSkinFile(value.AsString());
    else if (SameText(name, "SkinStore"))
        SetSkinStore(value.AsString());
    else if (SameText(name, "SkinFormtype"))
        SetSkinFormtype(FormTypeFromName(value.AsIdentifier()));
    else if (SameText(name, "Version"))
        Version = value.AsString();
    else if (SameText(name, "MenuUpdate"))
        MenuUpdate = value.AsBoolean();
    else if (SameText(name, "SkinStream")) {
        const std::vector<uint8_t>& bytes = value.AsBinary();
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        ReadSkinStream(stream);
    } else
        return TComponent::SetProperty(name, value);
    return true;
}

bool TSkinData::SetEvent(std::string_view name, TNotifyEvent handler)
{
    if (SameText(name, "OnSkinChanged")) {
        OnSkinChanged = std::move(handler);
        return true;
    }
    return TComponent::SetEvent(name, std::move(handler));
}

} // namespace orbelin
