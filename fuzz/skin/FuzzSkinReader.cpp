// A packed archive read as the skin store reads it: unpack, index, then
// every entry fetched by name and the description looked up.
#include "base/Exceptions.h"
#include "base/Streams.h"
#include "skin/data/SkinHost.h"
#include "skin/data/SkinReader.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

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
    // A name's first entry is the one handed out, with the size the table gives.
    std::set<std::string> seen;
    for (int i = 0; i < reader.Count(); ++i)
        if (seen.insert(reader.Names()[i]).second &&
            reader.GetEntry(reader.Names()[i]).size() != static_cast<size_t>(reader.EntrySize(i)))
            __builtin_trap();
    std::string name;
    (void)reader.FindEntry(".ini", name);
    return 0;
}
