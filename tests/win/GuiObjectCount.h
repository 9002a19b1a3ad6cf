#pragma once
// Counts the real GDI and USER objects the test program makes and frees.
// GetGuiResources answers 0 under Wine and the component layer's own counts
// see only its wrappers, so the program's imports of gdi32 and user32 are
// pointed at counting functions: every brush, bitmap, region, font, device
// context, menu, icon and hook made through them is recorded until it is
// freed, handed to the system (a window's region) or found gone: a menu
// handed to a window counts until it goes with the window. Windows are counted by enumerating the process's windows.

#include <windows.h>

#include <iosfwd>

namespace orbelin::test {

struct TGuiObjectCounts {
    int GdiObjects = 0;   // brushes, pens, fonts, bitmaps, regions, palettes
    int DeviceContexts = 0; // made, got or begun and not yet given back
    int Menus = 0;
    int Icons = 0;        // icons and cursors that are not shared
    int Hooks = 0;
    int Windows = 0;      // every window of the process, children included
    int FailedFrees = 0;  // frees the system refused: freed twice, still selected, not ours

    bool operator==(const TGuiObjectCounts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TGuiObjectCounts& counts);

class TGuiObjectCount {
public:
    // Redirects the program's imports once; later calls do nothing. Returns
    // how many imports were redirected (0 means nothing would be counted).
    static int Install();
    static TGuiObjectCounts Now();
};

} // namespace orbelin::test
