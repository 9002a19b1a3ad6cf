// skinpack: packs skin entries into a skin file and looks into skin files.
//   skinpack pack LIST OUT       entries named in LIST -> packed skin OUT
//   skinpack pack --archive LIST OUT   the same without a skin description
//   skinpack list FILE           entry names and sizes
//   skinpack extract FILE DIR    every entry into DIR (first of equal names);
//                                a name that would land elsewhere is refused
//   skinpack unpack FILE OUT     the plain archive
//   skinpack dfm FILE OUT        the SkinStream property block for a form description

#include "base/Exceptions.h"
#include "base/Streams.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinStreamText.h"
#include "tools/skinpack/SkinArchiveWriter.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace orbelin;

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: skinpack pack [--archive] LIST OUT | list FILE | extract FILE DIR | unpack FILE OUT | "
                         "dfm FILE OUT\n");
    return 2;
}

TSkinReader& OpenSkin(TSkinReader& reader, const std::string& file)
{
    TMemoryStream packed;
    packed.LoadFromFile(file);
    if (!reader.ReadSkin(packed))
        throw Exception("not a skin of format 20000: " + file);
    return reader;
}

int List(const std::string& file)
{
    TSkinReader reader;
    OpenSkin(reader, file);
    for (int i = 0; i < reader.Count(); ++i)
        std::printf("%8d  %s\n", reader.EntrySize(i), reader.Names()[i].c_str());
    return 0;
}

int Extract(const std::string& file, const std::string& dir)
{
    TSkinReader reader;
    OpenSkin(reader, file);
    std::filesystem::create_directories(dir);
    std::set<std::string> done;
    int refused = 0;
    for (int i = 0; i < reader.Count(); ++i) {
        const std::string& name = reader.Names()[i];
        if (name.empty() || !done.insert(name).second)
            continue;
        if (const std::string fault = EntryNameFault(name); !fault.empty()) {
            std::fprintf(stderr, "skinpack: entry %d \"%s\" not written: the name %s\n", i, name.c_str(), fault.c_str());
            ++refused;
            continue;
        }
        WriteFileBytes((std::filesystem::path(dir) / name).string(), std::string(reader.GetEntry(name)));
    }
    return refused == 0 ? 0 : 1;
}

int Pack(const std::string& list, const std::string& out, bool skin)
{
    const std::vector<TSkinArchiveEntry> entries = ReadEntryList(list);
    CheckSkinEntries(entries, skin);
    WriteFileBytes(out, PackSkin(entries));
    return 0;
}

int Unpack(const std::string& file, const std::string& out)
{
    TMemoryStream packed;
    packed.LoadFromFile(file);
    TMemoryStream plain;
    TSkinReader().Unpack(packed, plain);
    plain.SaveToFile(out);
    return 0;
}

int Run(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    if (command == "pack" && argc == 4)
        return Pack(argv[2], argv[3], true);
    if (command == "pack" && argc == 5 && std::string(argv[2]) == "--archive")
        return Pack(argv[3], argv[4], false);
    if (command == "list" && argc == 3)
        return List(argv[2]);
    if (command == "extract" && argc == 4)
        return Extract(argv[2], argv[3]);
    if (command == "unpack" && argc == 4)
        return Unpack(argv[2], argv[3]);
    if (command == "dfm" && argc == 4) {
        WriteFileBytes(argv[3], SkinStreamPropertyText(ReadFileBytes(argv[2])));
        return 0;
    }
    return Usage();
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
        return 1;
    }
}
