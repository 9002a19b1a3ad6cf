// Frame checks: the window on screen against the expected pictures.

#include "tests/win/FrameChecks.h"

#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinTestSupport.h"
#include "ui/Forms.h"
#include "ui/WindowSearch.h"

namespace orbelin::test {

TFrameLook LookOf(TForm* form)
{
    HWND window = form->WindowHandle();
    const RECT r = WindowRect(window);
    TFrameLook look;
    look.Width = r.right - r.left;
    look.Height = r.bottom - r.top;
    look.Title = WindowText(window);
    look.Popup = (GetWindowLongPtrA(window, GWL_STYLE) & WS_POPUP) != 0;
    look.MinimizeBox = form->BorderIcons() & biMinimize;
    look.MaximizeBox = form->BorderIcons() & biMaximize;
    return look;
}

const TCaptionButton* DescribedButton(const std::vector<TCaptionButton>& buttons, int action, bool maximized)
{
    for (const TCaptionButton& b : buttons)
        if (b.Action == action && !b.Image.Empty() && (action != 1 || (b.Visibility1 == 1) == maximized))
            return &b;
    return nullptr;
}

testing::AssertionResult FrameShows(const TSkinBitmap& expected, HWND window, const RECT& part, int atLeast)
{
    const TFrameComparison c = CompareFrameWithScreen(expected, window, part);
    if (c.HasRegion && c.Compared >= atLeast && c.Different == 0 && c.OutsideRegion == 0 && c.InsideRegion == 0 &&
        c.ShowsMagenta == 0 && c.ShowsBorder == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << (c.HasRegion ? "" : "no window region; ") << "compared " << c.Compared
                                       << " (at least " << atLeast << "), different " << c.Different
                                       << ", outside the region " << c.OutsideRegion << "; magenta " << c.Transparent
                                       << ": inside the region " << c.InsideRegion << ", showing magenta "
                                       << c.ShowsMagenta << ", showing the border's colour " << c.ShowsBorder;
}

void Eventually(const std::function<testing::AssertionResult()>& shows)
{
    WaitFor([&] { return static_cast<bool>(shows()); }, 2000);
}

testing::AssertionResult FrameShows(const TSkinBitmap& expected, HWND window)
{
    return FrameShows(expected, window, {0, 0, expected.Width(), expected.Height()}, CountOpaque(expected));
}

} // namespace orbelin::test
