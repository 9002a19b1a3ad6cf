#pragma once
// The skin description loader: the description's sections and keys into the
// records of TSkinRecords. It reads the description text and takes bitmaps
// from the archive through an entry-fetch function; it knows nothing of the
// store that calls it.

#include "base/Colors.h"
#include "skin/data/SkinIniFile.h"
#include "skin/data/SkinRecords.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orbelin {

// The bytes of the archive entry of that name (any letter case); empty when
// the archive has none. The bytes stay valid while the loader runs.
using TSkinEntryFetch = std::function<std::string_view(std::string_view name)>;

class TSkinDescriptionLoader {
public:
    // Without entries every image of the description stays empty.
    TSkinDescriptionLoader(std::string_view description, TSkinEntryFetch entries, TSkinRecords& records);

    // Fills every record, the colours and the face brush.
    void Run();

    // A text of up to three decimal numbers, red, green and blue; an empty
    // text gives fallback.
    static TColor ReadColor(std::string_view text, TColor fallback);

private:
    using ObjectPtr = std::unique_ptr<TDataSkinObject>;
    using BorderPtr = std::unique_ptr<TDataSkinBorder>;

    int Int(std::string_view section, std::string_view key, int fallback) const;
    std::string Str(std::string_view section, std::string_view key) const;
    TColor Colour(std::string_view section, std::string_view key, TColor fallback) const;
    void ReadRGBKeys(std::string_view section, const std::string& prefix, TColor& target) const;
    // The bitmap entry a description value names (see LoadBitmap).
    void Bitmap(TSkinBitmap& bitmap, std::string_view section, std::string_view key) const;
    void LoadBitmap(TSkinBitmap& bitmap, std::string_view value) const;

    void Borders();
    void Colours();
    void SysButtons();
    void MdiButtons(size_t first);
    void Buttons();
    void Title();
    void Elements();
    void FrameCounts();

    // LeftWidth, RightWidth, TopHeight, BottomHeight, Trans and Tile.
    void ReadMargins(TDataSkinObject& record, std::string_view section) const;
    // The three state colours and their text colours.
    void ReadColours(TDataSkinObject& record, std::string_view section) const;
    // Both, with a Tile above 1 read as 0.
    void ReadMarginsAndColours(TDataSkinObject& record, std::string_view section) const;
    template <class T>
    std::unique_ptr<T> Plain(std::string_view section);
    BorderPtr Border(std::string_view section, std::string_view secondKey);
    BorderPtr ProgressElement(std::string_view section);
    std::unique_ptr<TDataSkinBoxLabel> BoxLabel(std::string_view section);
    ObjectPtr MenuBarElement();

    const TSkinIniFile FIni;
    TSkinEntryFetch FEntries;
    TSkinRecords& S;
};

} // namespace orbelin
