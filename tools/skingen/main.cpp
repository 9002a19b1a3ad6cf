// skingen [--look NAME] OUTDIR: draws one of our skins into OUTDIR: every
// bitmap, the description (orbelin.ini), the LIST file naming the archive
// entries in order, and the system-menu glyph bitmap halvixmenu.bmp (not part
// of the skin archive; the resource script embeds it as HALVIXMENU). NAME is
// "calm" (the default skin) or "broad".

#include "base/Streams.h"
#include "skin/data/SkinMenuGlyphs.h"
#include "tools/skingen/SkinLook.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

using namespace orbelin;

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: skingen [--look calm|broad] OUTDIR\n");
    return 2;
}

void WriteSkin(const skingen::TLook& look, const std::filesystem::path& dir)
{
    std::filesystem::create_directories(dir);
    std::string list;
    for (const skingen::TSkinFile& file : skingen::BuildSkin(look)) {
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
}

} // namespace

int main(int argc, char** argv)
{
    const skingen::TLook* look = &skingen::CalmLook();
    int next = 1;
    if (argc == 4 && std::string_view(argv[1]) == "--look") {
        look = skingen::LookNamed(argv[2]);
        if (!look) {
            std::fprintf(stderr, "skingen: no look named \"%s\"\n", argv[2]);
            return Usage();
        }
        next = 3;
    } else if (argc != 2) {
        return Usage();
    }
    try {
        WriteSkin(*look, argv[next]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
}
