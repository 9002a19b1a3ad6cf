// A packed archive read as the skin store reads it: unpack, index, then
// every entry fetched by name and the description looked up.
#include "base/Exceptions.h"
#include "base/Streams.h"
#include "skin/data/SkinHost.h"
#include "skin/data/SkinReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        orbelin::SetSkinMessageProc([](const std::string&) {});
        return true;
    }();
    (void)quiet;
    orbelin::TMemoryStream packed;
    packed.WriteBuffer(data, static_cast<int64_t>(size));
    orbelin::TSkinReader reader;
    try {
        if (!reader.ReadSkin(packed))
            return 0;
    } catch (const orbelin::Exception&) {
        return 0;
    }
    orbelin::TMemoryStream entry;
    for (int i = 0; i < reader.Count(); ++i)
        reader.GetEntry(reader.Names()[i], entry);
    std::string name;
    reader.FindEntry(".ini", entry, name);
    return 0;
}
