// Helper for the codec measurements under callgrind:
//   skin_lzh_tool mixed OUT          write the 16 MiB mixed plain file
//   skin_lzh_tool pack IN OUT        packed skin format (size word + stream)
//   skin_lzh_tool decode PACKED OUT  decode once (the measured part)

#include "base/Streams.h"
#include "bench/skin/MixedData.h"
#include "skin/data/LZH.h"
#include "tools/skinpack/LZHEncoder.h"

#include <cstdio>
#include <string>

using namespace orbelin;

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "mixed" && argc == 3) {
        WriteFileBytes(argv[2], bench::MixedData());
    } else if (command == "pack" && argc == 4) {
        const std::vector<uint8_t> packed = TLZHEncoder::Pack(ReadFileBytes(argv[2]));
        WriteFileBytes(argv[3], std::string(packed.begin(), packed.end()));
    } else if (command == "decode" && argc == 4) {
        TMemoryStream in;
        in.LoadFromFile(argv[2]);
        TMemoryStream out;
        TLZH::Unpack(in, out);
        out.SaveToFile(argv[3]);
    } else {
        std::fprintf(stderr, "usage: skin_lzh_tool mixed OUT | pack IN OUT | decode PACKED OUT\n");
        return 2;
    }
    return 0;
}
