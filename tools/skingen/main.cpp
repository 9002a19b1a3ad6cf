// skingen OUTDIR: draws our skin into OUTDIR: every bitmap, the description
// (orbelin.ini), the LIST file naming the archive entries in order, and the
// system-menu glyph bitmap halvixmenu.bmp (not part of the skin archive; the
// resource script embeds it as HALVIXMENU).

#include "base/Streams.h"
#include "skin/data/SkinMenuGlyphs.h"
#include "tools/skingen/SkinLook.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace orbelin;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen OUTDIR\n");
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        std::string list;
        for (const skingen::TSkinFile& file : skingen::BuildSkin()) {
            const std::string path = (dir / file.Name).string();
            if (file.Bitmap.Empty()) {
                WriteFileBytes(path, file.Text);
            } else {
                TMemoryStream bytes;
                file.Bitmap.SaveToStream(bytes);
                bytes.SaveToFile(path);
            }
            list += file.Name + "\n";
        }
        WriteFileBytes((dir / "LIST").string(), list);
        WriteFileBytes((dir / "halvixmenu.bmp").string(), HalvixMenuBitmapFile());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
}
