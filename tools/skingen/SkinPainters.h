#pragma once
// The painters behind BuildSkin, shared by the skin generator's sources.

#include "tools/skingen/SkinCanvas.h"
#include "tools/skingen/SkinLook.h"

#include <functional>
#include <string>

namespace orbelin::skingen {

inline const TRgb White = TRgb::Hex(0xFFFFFF);
inline const TRgb Magenta = {255, 0, 255};

using TFramePainter = std::function<void(TSkinCanvas&, int frame, int w, int h)>;

// A strip of equal frames side by side (or stacked), each painted in its own coordinates.
TSkinBitmap Strip(int frames, int w, int h, TRgb background, const TFramePainter& paint, bool vertical = false);

enum class TGlyph { Close, Maximize, Restore, Minimize };
enum class TArrow { Left, Right, Up, Down };

// Window frame and caption.
TSkinBitmap TopBorder(const TLook& look);
TSkinBitmap SideBorder(const TLook& look, bool left);
TSkinBitmap BottomBorder(const TLook& look);
TSkinBitmap TitleTextBack(const TLook& look);
TSkinBitmap CaptionButton(const TLook& look, TGlyph glyph);
TSkinBitmap MdiControls(const TLook& look);

// Controls.
TSkinBitmap PushButton(const TLookColours& c);
TSkinBitmap CheckGlyphs(const TLook& look);
TSkinBitmap RadioGlyphs(const TLook& look);
TSkinBitmap ScrollbarStrip(const TLookColours& c);
TSkinBitmap ScrollTrack(const TLookColours& c, bool horizontal);
TSkinBitmap ScrollThumb(const TLook& look, bool horizontal);
TSkinBitmap ComboButtonStrip(const TLookColours& c);
TSkinBitmap SunkEdgeStrip(const TLookColours& c);
TSkinBitmap ExtraImagesStrip(const TLookColours& c);
TSkinBitmap MenuItemStrip(const TLookColours& c);
TSkinBitmap MenuBackgroundImage(const TLookColours& c);
TSkinBitmap MenuBarImage(const TLookColours& c);
TSkinBitmap PanelStates(const TLookColours& c, int frames, int w, int h, double radius);
TSkinBitmap ProgressBack(const TLookColours& c);
TSkinBitmap ProgressChunk(const TLookColours& c);
TSkinBitmap TrackThumb(const TLookColours& c, TArrow pointing);
TSkinBitmap UpDownGlyphs(const TLookColours& c, bool horizontal);
TSkinBitmap GroupBoxEdgeImage(const TLookColours& c);
TSkinBitmap GroupBoxLabel(const TLookColours& c);

TShape ChevronShape(TArrow a, double cx, double cy, double s);

// The description (orbelin.ini) of the look.
std::string Description(const TLook& look);

} // namespace orbelin::skingen
