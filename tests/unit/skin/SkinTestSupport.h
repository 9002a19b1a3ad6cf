#pragma once
// Helpers shared by the skin data tests: archives built in memory, bitmaps
// as BMP bytes and a skin manager that records what stores ask of it.

#include "base/Streams.h"
#include "skin/data/SkinBitmap.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinHost.h"
#include "skin/data/SkinStreamText.h"
#include "tools/skinpack/LZHEncoder.h"
#include "tools/skinpack/SkinArchiveWriter.h"

#include <string>
#include <vector>

namespace orbelin::test {

inline std::string BmpBytes(const TSkinBitmap& bitmap)
{
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

inline std::string BmpBytes(int width, int height, TSkinPixel fill = RGBPixel(10, 20, 30))
{
    return BmpBytes(TSkinBitmap(width, height, 24, fill));
}

inline std::string PackPlain(const std::string& plainArchive)
{
    const std::vector<uint8_t> packed = TLZHEncoder::Pack(plainArchive);
    return std::string(packed.begin(), packed.end());
}

inline TPropertyValue SkinStreamValue(const std::string& packed)
{
    return TBinaryValue{SkinStreamPropertyBytes(packed)};
}

// Gives the store the archive of these entries as its SkinStream property.
inline void LoadEntries(TSkinData& store, const std::vector<TSkinArchiveEntry>& entries)
{
    store.SetProperty("SkinStream", SkinStreamValue(PackSkin(entries)));
}

class TRecordingManager : public ISkinManager {
public:
    std::vector<std::string>* Log = nullptr;
    explicit TRecordingManager(std::vector<std::string>* log) : Log(log) {}
    void RegisterStore(TSkinData*) override { Log->push_back("register"); }
    void UnregisterStore(TSkinData*) override { Log->push_back("unregister"); }
    void InstallHook() override { Log->push_back("hook"); }
    void PostCommand(int command, int delay) override { Log->push_back("command " + std::to_string(command) + " " + std::to_string(delay)); }
    void SetPendingStore(TSkinData*) override { Log->push_back("pending"); }
    void SetActive(bool active) override { Log->push_back(active ? "active" : "inactive"); }
    void CountStartedWindow() override { Log->push_back("started"); }
    void SkinOwnerForm(TComponent*) override { Log->push_back("skin owner"); }
    void DropTitleButtons() override { Log->push_back("drop title buttons"); }
};

// Installs a recording manager factory and a message recorder for one test.
class THostFixture {
public:
    std::vector<std::string> Log;
    std::vector<std::string> Messages;
    THostFixture()
    {
        SetSkinManagerFactory([this] { return std::make_unique<TRecordingManager>(&Log); });
        SetSkinMessageProc([this](const std::string& text) { Messages.push_back(text); });
    }
    ~THostFixture()
    {
        FreeSkinManager();
        SetSkinManagerFactory(nullptr);
        SetSkinMessageProc(nullptr);
    }
};

} // namespace orbelin::test
