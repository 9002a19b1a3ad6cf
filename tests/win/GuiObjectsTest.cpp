// The real GDI and USER objects of the skinned windows: flat over a thousand
// repaints of each and over two hundred openings and closings of the About
// window, a message box and the save dialog.
//
// The windows are opened and closed here by the program's own commands and
// posted close messages, not by the pointer: six hundred rounds of real input
// would take minutes, and what is measured is what a window leaves behind,
// which does not depend on how it was asked to close (the real-input tests
// close the same windows by mouse and key).

#include "tests/win/GuiObjectCount.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RawWindow.h"
#include "tests/win/RealInput.h"
#include "tests/win/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace orbelin {
namespace {

using namespace test;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr int kRepaints = 1000;
constexpr int kRounds = 200;

void Repaint(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

HWND ThreadDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            char cls[16] = {};
            GetClassNameA(window, cls, sizeof cls);
            if (IsWindowVisible(window) && lstrcmpA(cls, "#32770") == 0) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// One modal window the program opens: how to open it (the call returns when
// it has closed), how to find it and how to ask it to close.
struct TModal {
    std::function<void()> Open;
    std::function<HWND()> Find;
    std::function<void(HWND)> Close;
};

// Runs modal.Open while a timer of this thread, inside the window's own
// modal loop, waits for the window's skinned frame to run, calls whileOpen
// on it and asks it to close. Returns false when the window never ran
// skinned (the open windows are then cancelled so the call returns).
class TModalRound {
public:
    static bool Run(const TModal& modal, const std::function<void(HWND)>& whileOpen)
    {
        TModalRound round{modal, whileOpen, steady_clock::now() + milliseconds(10000)};
        current = &round;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &Tick);
        modal.Open();
        KillTimer(nullptr, timer);
        current = nullptr;
        return round.done;
    }

private:
    TModalRound(const TModal& modal, const std::function<void(HWND)>& whileOpen, steady_clock::time_point deadline)
        : modal(modal), whileOpen(whileOpen), deadline(deadline)
    {
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (current)
            current->Step();
    }

    void Step()
    {
        if (asked)
            return;
        HWND window = modal.Find();
        const TSkinFrame* frame = window ? FrameOf(window) : nullptr;
        if (frame && frame->FrameState() == TSkinFrame::fsRunning) {
            asked = true;
            whileOpen(window);
            done = true;
            modal.Close(window);
        } else if (steady_clock::now() > deadline) {
            asked = true;
            CloseModalWindows();
        }
    }

    const TModal& modal;
    const std::function<void(HWND)>& whileOpen;
    const steady_clock::time_point deadline;
    bool asked = false;
    bool done = false;
    static inline TModalRound* current = nullptr;
};

class GuiObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(TGuiObjectCount::Install(), 20) << "the program's gdi32 and user32 imports were not redirected";
        ASSERT_TRUE(WaitForFrame(Form1->WindowHandle()));
        Form1->Memo2->SetText("译文");
    }

    TModal About() const
    {
        return {[] { Form1->BitBtn2->Click(); }, [] { return IsWindowVisible(Form2->WindowHandle()) ? Form2->WindowHandle() : nullptr; },
                [](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }};
    }
    TModal MessageBoxOfTheProgram() const
    {
        // Translating with no source language chosen asks for one.
        return {[] {
                    Form1->wl_srclang->SetItemIndex(0);
                    Form1->BitBtn1->Click();
                },
                &ThreadDialog, [](HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }};
    }
    TModal SaveDialog() const
    {
        return {[] { Form1->Button4->Click(); }, &ThreadDialog,
                [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }};
    }

    // The counts once what is freed late (a finished frame, a deferred
    // repaint) has had the time to go; the last counts when they stay apart.
    static TGuiObjectCounts SettledAt(const TGuiObjectCounts& expected)
    {
        TGuiObjectCounts now;
        WaitFor([&] { return (now = TGuiObjectCount::Now()) == expected; }, 3000);
        return now;
    }

    // Opens and closes the window rounds times after a few rounds that fill
    // the caches; the counts before and after.
    static std::pair<TGuiObjectCounts, TGuiObjectCounts> Rounds(const TModal& modal, int rounds)
    {
        const auto nothing = [](HWND) {};
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(TModalRound::Run(modal, nothing)) << "warm-up round " << i;
        Pump(100);
        const TGuiObjectCounts before = TGuiObjectCount::Now();
        for (int i = 0; i < rounds; ++i)
            if (!TModalRound::Run(modal, nothing)) {
                ADD_FAILURE() << "round " << i << ": the window did not run skinned";
                break;
            }
        return {before, SettledAt(before)};
    }

    // Repaints the open window kRepaints times after ten that fill the caches.
    static std::pair<TGuiObjectCounts, TGuiObjectCounts> RepaintsWhileOpen(const TModal& modal)
    {
        TGuiObjectCounts before, after;
        const bool ran = TModalRound::Run(modal, [&](HWND window) {
            for (int i = 0; i < 10; ++i)
                Repaint(window);
            before = TGuiObjectCount::Now();
            for (int i = 0; i < kRepaints; ++i)
                Repaint(window);
            after = SettledAt(before);
        });
        EXPECT_TRUE(ran) << "the window did not run skinned";
        return {before, after};
    }

    TProgramForms forms;
};

// The counter itself: an object made through the program's imports is seen,
// its free too, and a second free of it is a failed free.
TEST_F(GuiObjects, TheCountSeesABrushMadeAndFreedAndASecondFree)
{
    const TGuiObjectCounts start = TGuiObjectCount::Now();
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(TGuiObjectCount::Now().GdiObjects, start.GdiObjects + 1);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "sub");
    EXPECT_EQ(TGuiObjectCount::Now().Menus, start.Menus + 2);
    DestroyMenu(menu);
    DeleteObject(brush);
    EXPECT_EQ(TGuiObjectCount::Now(), start) << "a menu takes its submenus along";
    DeleteObject(brush);
    EXPECT_EQ(TGuiObjectCount::Now().FailedFrees, start.FailedFrees + 1);
}

// A menu handed to a window counts until the window goes; a skinned raw
// window's bar, which takes the menu off the window, lets it go with it.
TEST_F(GuiObjects, AWindowsMenuCountsUntilTheWindowGoesSkinnedOrNot)
{
    const int start = TGuiObjectCount::Now().Menus;
    const auto withMenu = [](const TRawWindow& window) {
        HMENU bar = CreateMenu();
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "文件(&F)");
        SetMenu(window.Handle(), bar);
    };
    {
        const TRawWindow plain("plain"); // never shown, never skinned
        withMenu(plain);
        EXPECT_EQ(TGuiObjectCount::Now().Menus, start + 2) << "the window's menu and its submenu";
    }
    EXPECT_EQ(TGuiObjectCount::Now().Menus, start) << "gone with the window";
    {
        TRawWindow skinned("skinned");
        withMenu(skinned);
        skinned.Show();
        ASSERT_TRUE(WaitForFrame(skinned.Handle()));
        ASSERT_NE(FrameOf(skinned.Handle())->MenuBar(), nullptr);
    }
    EXPECT_TRUE(WaitFor([&] { return TGuiObjectCount::Now().Menus == start; }, 3000))
        << "a skinned window's menu: " << TGuiObjectCount::Now().Menus - start << " left";
}

TEST_F(GuiObjects, AThousandRepaintsOfEverySkinnedWindowLeaveTheCountsFlat)
{
    HWND main = Form1->WindowHandle();
    for (int i = 0; i < 10; ++i)
        Repaint(main);
    const TGuiObjectCounts before = TGuiObjectCount::Now();
    for (int i = 0; i < kRepaints; ++i)
        Repaint(main);
    EXPECT_EQ(SettledAt(before), before) << "the main window";

    for (const auto& [name, modal] : {std::pair{"the About window", About()},
                                      std::pair{"the message box", MessageBoxOfTheProgram()},
                                      std::pair{"the save dialog", SaveDialog()}}) {
        const auto [was, is] = RepaintsWhileOpen(modal);
        EXPECT_EQ(is, was) << name;
    }
}

TEST_F(GuiObjects, TwoHundredOpeningsOfTheAboutWindowLeaveTheCountsFlat)
{
    const auto [before, after] = Rounds(About(), kRounds);
    EXPECT_EQ(after, before);
}

TEST_F(GuiObjects, TwoHundredMessageBoxesLeaveTheCountsFlat)
{
    const auto [before, after] = Rounds(MessageBoxOfTheProgram(), kRounds);
    EXPECT_EQ(after, before);
}

TEST_F(GuiObjects, TwoHundredSaveDialogsLeaveTheCountsFlat)
{
    const auto [before, after] = Rounds(SaveDialog(), kRounds);
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace orbelin
