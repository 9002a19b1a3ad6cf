#pragma once
// Checks of a skinned frame on screen against the pictures the skin's source
// says it should show, for the tests of the frame and of a skin change.

#include "tests/win/SkinPictures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

namespace orbelin {
class TForm;
}

namespace orbelin::test {

// The look of a form's window as it is now: its size, title and boxes (an
// owned window loses the box styles to the skinned frame, so they come from
// the form's own description).
TFrameLook LookOf(TForm* form);

// The description's caption button of an action that the look shows.
const TCaptionButton* DescribedButton(const std::vector<TCaptionButton>& buttons, int action, bool maximized);

// Every pixel of the frame as the skin's pictures say, the magenta ones cut
// away by the window's region; and enough of them compared to mean something.
testing::AssertionResult FrameShows(const TSkinBitmap& expected, HWND window, const RECT& part, int atLeast);
testing::AssertionResult FrameShows(const TSkinBitmap& expected, HWND window);

// Waits (pumping) for the frame to settle into a look, for up to two
// seconds; the check that follows says what is wrong if it never does.
void Eventually(const std::function<testing::AssertionResult()>& shows);

} // namespace orbelin::test
