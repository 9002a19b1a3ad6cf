// The skin engine's objects when the things they hang on go: a frame whose
// window closed, stores freed before the manager, menu bar items rebuilt
// under the pointer, child windows destroyed while their window lives, and
// windows closed or unskinned while one of their menus is open.

#include "skin/data/SkinData.h"
#include "skin/render/SkinManager.h"
#include "skin/render/controls/SkinCtrls.h"
#include "skin/render/controls/SkinScrolling.h"
#include "skin/render/core/SkinWindowInfo.h"
#include "skin/render/draw/SkinDraw.h"
#include "skin/render/frame/SkinFrame.h"
#include "skin/render/frame/SkinMenuBar.h"
#include "skin/render/menus/SkinPopupMenu.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RawWindow.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinTestSupport.h"
#include "tests/win/TestForm.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/Messages.h"
#include "ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace orbelin {
namespace {

using namespace test;

class SkinTeardown : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms = std::make_unique<TProgramForms>();
        store = Form1->Child<TSkinData>("SkinData1");
        ASSERT_TRUE(WaitForFrame(Form1->WindowHandle())) << "the main window has no running frame";
        Pump(200);
    }
    void TearDown() override { forms.reset(); }

    static TSkinManage& Manager() { return *TSkinManage::Instance(); }
    static bool Listed(HWND window)
    {
        const auto& frames = Manager().Forms();
        return std::any_of(frames.begin(), frames.end(), [window](const TSkinFrame* f) { return f->Window() == window; });
    }
    static bool AnyFinishedFrame()
    {
        const auto& frames = Manager().Forms();
        return std::any_of(frames.begin(), frames.end(),
                           [](const TSkinFrame* f) { return f->FrameState() == TSkinFrame::fsFinished; });
    }

    // Opens the validation message box with the real mouse, waits for its
    // frame and closes it with its button; the box's handle.
    HWND OpenAndCloseMessageBox()
    {
        Form1->wl_srclang->SetItemIndex(0);
        HWND box = nullptr;
        bool skinned = false, closed = false;
        EXPECT_TRUE(RunScript([&] {
            TRealInput::Click(Form1->BitBtn1->WindowHandle());
            WaitFor([&] {
                box = ActiveOf(ui);
                return box && box != Form1->WindowHandle() && IsWindowVisible(box);
            });
            skinned = WaitForFrame(box);
            TRealInput::Click(GetDlgItem(box, IDOK) ? GetDlgItem(box, IDOK) : GetDlgItem(box, IDCANCEL));
            closed = WaitFor([&] { return !IsWindow(box); });
        }));
        EXPECT_TRUE(skinned);
        EXPECT_TRUE(closed);
        return box;
    }

    std::unique_ptr<TProgramForms> forms;
    TSkinData* store = nullptr;
    const DWORD ui = GetCurrentThreadId();
};

TEST_F(SkinTeardown, AClosedMessageBoxsFrameIsFreedWithItsWindow)
{
    HWND box = OpenAndCloseMessageBox();
    // Nothing else is skinned meanwhile: the frame must not wait for that.
    EXPECT_TRUE(WaitFor([&] { return !Listed(box) && !AnyFinishedFrame(); }, 2000))
        << "the finished frame of the closed box is still listed";
}

TEST_F(SkinTeardown, FreeingTheStoresUnskinsTheirWindowsBeforeTheManagerGoes)
{
    OpenAndCloseMessageBox();
    TRawWindow raw("Raw window");
    raw.Show();
    ASSERT_TRUE(WaitForFrame(raw.Handle()));
    EXPECT_EQ(GetWindowLongPtrA(raw.Handle(), GWL_STYLE) & WS_CAPTION, 0) << "skinned";

    // The program's end: its forms (with the stores) go first, the manager last.
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
    ASSERT_NE(TSkinManage::Instance(), nullptr);
    for (const TSkinFrame* frame : Manager().Forms()) {
        const auto& stores = Manager().Stores();
        EXPECT_NE(std::find(stores.begin(), stores.end(), frame->Skin()), stores.end())
            << "a frame of " << WindowText(frame->Window()) << " keeps a freed store";
    }
    EXPECT_FALSE(Listed(raw.Handle()));
    EXPECT_EQ(GetWindowLongPtrA(raw.Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "the raw window was unskinned";
    FreeSkinManager();
    EXPECT_EQ(TSkinManage::Instance(), nullptr);
}

// Counts the messages a frame's window gets while its hot object is not a
// hot or pressed item of its menu bar.
struct THotCheck {
    TSkinFrame* Frame;
    int Seen = 0;
    int Stale = 0;
};

LRESULT CALLBACK CheckHotObject(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto& c = *reinterpret_cast<THotCheck*>(data);
    if (const TNCObject* hot = c.Frame->HotObject()) {
        const auto& items = c.Frame->MenuBar()->Items();
        const bool listed = std::any_of(items.begin(), items.end(), [hot](const auto& i) { return i.get() == hot; });
        // Only a listed item is read: a freed one is counted unseen.
        c.Stale += !listed || (hot->State != TNCObject::nsHot && hot->State != TNCObject::nsPressed);
    }
    ++c.Seen;
    return DefSubclassProc(window, msg, wParam, lParam);
}

// The component layer has no menu editing of its own that tells the form;
// an application that changes its menu sends the form CM_MENUCHANGED, as
// the test does here (no input of a person reaches that message).
TEST_F(SkinTeardown, RebuildingTheMenuBarUnderThePointerLeavesNoHotItemBehind)
{
    TTestForm* form = ShowMenuForm({"&File", "&Edit"}, {"Item"});
    TMainMenu* bar = form->Menu();
    TSkinFrame* frame = FrameOf(form->WindowHandle());
    ASSERT_NE(frame->MenuBar(), nullptr);
    // The application gives the window its changed menu (the frame took the
    // old one off); the frame's paint that follows lets any hot object go.
    form->SetMenu(bar);
    Pump(200);
    const RECT w = WindowRect(form->WindowHandle());
    const TSkinRect first = frame->MenuBar()->Items()[0]->Rect;
    const TNCObject* before = nullptr;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::MoveTo({w.left + (first.Left + first.Right) / 2, w.top + (first.Top + first.Bottom) / 2});
        WaitFor([&] { return frame->HotObject() != nullptr; }, 2000);
        before = frame->HotObject();
    }));
    ASSERT_NE(before, nullptr) << "the item under the pointer is hot";

    // Whatever the frame does next with its hot object (the repaint the
    // rebuild causes, a hover tick), it must be an item of the bar that is
    // hot or pressed: the one freed with the old items, or a new one at the
    // same address in its normal state, is not. The check runs in front of
    // the frame's own handling of each message the rebuild causes.
    THotCheck check{frame};
    SetWindowSubclass(form->WindowHandle(), CheckHotObject, 1, reinterpret_cast<DWORD_PTR>(&check));
    SendMessageA(form->WindowHandle(), CM_MENUCHANGED, 0, 0);
    RemoveWindowSubclass(form->WindowHandle(), CheckHotObject, 1);
    EXPECT_GT(check.Seen, 1) << "the rebuild's own messages";
    EXPECT_EQ(check.Stale, 0) << "the hot object is an item the rebuild freed";

    // The hover check then finds the pointer gone and lets the hot object go.
    ASSERT_TRUE(RunScript([&] {
        TRealInput::MoveTo({w.left + 160, w.bottom - 40});
        Sleep(700);
    }));
    EXPECT_EQ(frame->HotObject(), nullptr);
    delete form;
}

TEST_F(SkinTeardown, TheSkinOfADestroyedChildWindowIsFreedWhileItsWindowLives)
{
    TRawWindow raw("Raw window with buttons");
    HWND keep = raw.AddButton("Keep", 20, 20);
    HWND gone = raw.AddButton("Gone", 140, 20);
    raw.Show();
    ASSERT_TRUE(WaitForFrame(raw.Handle()));
    TSkinFrame* frame = FrameOf(raw.Handle());
    auto skinOf = [frame](HWND window) -> const TSkinControl* {
        for (const TSkinControl* c : frame->Controls())
            if (c->Window() == window)
                return c;
        return nullptr;
    };
    ASSERT_NE(skinOf(keep), nullptr);
    ASSERT_NE(skinOf(gone), nullptr);

    DestroyWindow(gone);
    Pump(300);
    EXPECT_EQ(skinOf(gone), nullptr) << "the finished skin of the destroyed button is still listed";
    EXPECT_NE(skinOf(keep), nullptr);
    EXPECT_EQ(frame->Controls().size(), 1u);
}

// Visible popup menu windows of the process, topmost first.
std::vector<HWND> OpenMenuWindows()
{
    std::vector<HWND> menus;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(w) && WindowClassName(w) == "#32768")
            menus.push_back(w);
    }
    return menus;
}

// A menu background whose rows all differ shows which background an item
// was drawn on: its own menu's, not that of a submenu of another height
// that was painted last.
TEST_F(SkinTeardown, MenuItemsShowTheirOwnMenusBackgroundAfterASubmenuOfAnotherHeight)
{
    TSkinBitmap rows(24, 64, 24);
    for (int y = 0; y < rows.Height(); ++y)
        for (int x = 0; x < rows.Width(); ++x)
            rows.SetPixel(x, y, RGBPixel(250 - 3 * y, 240 - 2 * y, 200));
    store->MenuBackground->Image = rows;
    TSkinImageCache::Clear();

    TTestForm* form = ShowMenuForm({}, {}, 120, [](TTestForm& owner, TMainMenu& bar) {
        auto add = [&owner](TMenuItem& parent, const std::string& caption) -> TMenuItem& {
            auto* item = new TMenuItem(&owner);
            item->Caption = caption;
            parent.Add(item);
            return *item;
        };
        TMenuItem& file = add(bar.Items(), "&File");
        add(add(file, "&More"), "Inner");
        for (int i = 1; i <= 7; ++i)
            add(file, "Item " + std::to_string(i));
    });
    TSkinFrame* frame = FrameOf(form->WindowHandle());
    ASSERT_NE(frame->MenuBar(), nullptr);
    const RECT w = WindowRect(form->WindowHandle());
    const TSkinRect head = frame->MenuBar()->Items()[0]->Rect;
    HMENU dropDown = frame->MenuBar()->Items()[0]->SubMenu;

    bool submenuSeen = false;
    int compared = 0, different = 0;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::ClickAt({w.left + (head.Left + head.Right) / 2, w.top + (head.Top + head.Bottom) / 2});
        WaitFor([] { return OpenMenuWindows().size() == 1; }, 3000);
        Sleep(200);
        TRealInput::Key("Right"); // the first item's submenu, one item high
        submenuSeen = WaitFor([] { return OpenMenuWindows().size() == 2; }, 3000);
        Sleep(200);
        TRealInput::Key("Left");
        WaitFor([] { return OpenMenuWindows().size() == 1; }, 3000);
        // Down the menu: every item it leaves is drawn again.
        for (int i = 0; i < 7; ++i)
            TRealInput::Key("Down");
        Sleep(400);
        const std::vector<HWND> menus = OpenMenuWindows();
        TSkinPopupMenu* popup = menus.size() == 1 ? TSkinManage::Instance()->PopupOf(menus[0]) : nullptr;
        if (popup && !popup->Background().Empty()) {
            POINT client{0, 0};
            ClientToScreen(menus[0], &client);
            HDC background = popup->Background().DC();
            // Items 1 to 6 are not selected now; a column left of their text.
            for (UINT i = 1; i <= 6; ++i) {
                RECT item{};
                if (!GetMenuItemRect(nullptr, dropDown, i, &item))
                    continue;
                const TSkinBitmap shown = ReadScreen({item.left + 2, item.top, item.left + 3, item.bottom});
                for (int y = 0; y < shown.Height(); ++y) {
                    const COLORREF want =
                        GetPixel(background, item.left + 2 - client.x + 3, item.top + y - client.y + 3);
                    ++compared;
                    different += (shown.Pixel(0, y) & 0xFFFFFF) !=
                                 RGBPixel(GetRValue(want), GetGValue(want), GetBValue(want));
                }
            }
        }
        SaveWindowShot(GetDesktopWindow(), "screenshot-menu-backgrounds.bmp");
        TRealInput::Key("Escape");
        WaitFor([] { return TSkinMenuBar::CurrentIndex() == -1; }, 2000);
    }));
    EXPECT_TRUE(submenuSeen);
    EXPECT_GT(compared, 60);
    EXPECT_EQ(different, 0) << "items drawn on another background than their menu's";
    delete form;
}

// A timer of the program (here the test's) switches the skin off while the
// skinned system menu's own loop runs.
TEST_F(SkinTeardown, SwitchingTheSkinOffWhileTheSystemMenuIsOpenClosesItFirst)
{
    TRawWindow raw("Raw window");
    raw.Show();
    ASSERT_TRUE(WaitForFrame(raw.Handle()));
    TTimer off(nullptr);
    off.SetEnabled(false);
    off.SetInterval(300);
    bool menuSeen = false;
    off.OnTimer = [&](TObject*) {
        off.SetEnabled(false);
        menuSeen = FindWindowA("#32768", nullptr) != nullptr;
        store->SetActive(false);
    };
    POINT icon{};
    ASSERT_TRUE(TitleButtonPoint(raw.Handle(), 3, icon));
    bool unskinned = false;
    ASSERT_TRUE(RunScript([&] {
        // The icon button opens the skinned system menu.
        off.SetEnabled(true);
        TRealInput::ClickAt(icon);
        unskinned = WaitFor([&] { return !Listed(raw.Handle()) && !FindWindowA("#32768", nullptr); }, 4000);
    }));
    EXPECT_TRUE(menuSeen) << "the menu was open when the skin went";
    EXPECT_TRUE(unskinned);
    EXPECT_EQ(GetWindowLongPtrA(raw.Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
}

// The same while the real mouse drags a memo's skinned thumb: the bar's
// own loop runs until the button is released.
TEST_F(SkinTeardown, SwitchingTheSkinOffWhileAThumbIsDraggedLetsTheThumbGoFirst)
{
    TMemo* memo = Form1->Memo2;
    HWND window = memo->WindowHandle();
    TSkinScrollBar* bars = MemoWithScrollBar(memo, Form1->WindowHandle());
    ASSERT_NE(bars, nullptr);
    Pump(300);
    const RECT bar = bars->BarRect(true);
    const RECT w = WindowRect(window);
    const TScrollBarGeometry g = bars->Geometry(true);
    const POINT thumb{w.left + (bar.left + bar.right) / 2, w.top + bar.top + g.ArrowLength + g.ThumbOffset + g.ThumbLength / 2};

    TTimer off(nullptr);
    off.SetEnabled(false);
    off.SetInterval(200);
    bool dragging = false;
    off.OnTimer = [&](TObject*) {
        off.SetEnabled(false);
        dragging = GetCapture() == window;
        store->SetActive(false);
    };
    bool unskinned = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::ButtonDown(thumb);
        off.SetEnabled(true);
        TRealInput::MoveTo({thumb.x, thumb.y + 20});
        unskinned = WaitFor([] { return TSkinManage::Instance()->Forms().empty(); }, 3000);
        TRealInput::MoveTo({thumb.x, thumb.y + 40});
        TRealInput::ButtonUp();
        Sleep(200);
    }));
    EXPECT_TRUE(dragging) << "the thumb was held when the skin went";
    EXPECT_TRUE(unskinned);
    EXPECT_NE(GetCapture(), window);
}

// Hears, through the component layer's free notices, which components go.
class TFreeWatch : public TComponent {
public:
    TFreeWatch() : TComponent(nullptr) {}
    bool Saw(const TComponent* component) const { return std::find(Freed.begin(), Freed.end(), component) != Freed.end(); }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove)
            Freed.push_back(component);
    }

private:
    std::vector<const TComponent*> Freed;
};

// The program destroys a form's window while the real mouse drags the
// thumb of a memo on it: the memo's scroll-bar skin goes once the drag has
// let go, though the form and the memo stay.
TEST_F(SkinTeardown, AScrollBarSkinWhoseWindowGoesDuringAThumbDragIsFreedAfterTheDrag)
{
    auto* form = new TTestForm(&Application()); // owned by the application
    form->Read("object DragForm: TTestForm\n  ClientWidth = 240\n  ClientHeight = 160\n  Caption = 'Drag'\n"
               "  Position = poScreenCenter\n  object Note: TMemo\n    Left = 8\n    Top = 8\n    Width = 200\n"
               "    Height = 140\n  end\nend\n");
    form->Show();
    ASSERT_TRUE(WaitForFrame(form->WindowHandle()));
    HWND window = form->WindowHandle(), memo = form->Child<TMemo>("Note")->WindowHandle();
    TSkinScrollBar* bars = MemoWithScrollBar(form->Child<TMemo>("Note"), window);
    ASSERT_NE(bars, nullptr);
    Pump(300);
    TFreeWatch watch;
    bars->FreeNotification(&watch);
    const RECT bar = bars->BarRect(true), w = WindowRect(memo);
    const TScrollBarGeometry g = bars->Geometry(true);
    const POINT thumb{w.left + (bar.left + bar.right) / 2, w.top + bar.top + g.ArrowLength + g.ThumbOffset + g.ThumbLength / 2};

    TTimer destroy(nullptr);
    destroy.SetEnabled(false);
    destroy.SetInterval(200);
    bool dragging = false;
    destroy.OnTimer = [&](TObject*) {
        destroy.SetEnabled(false);
        dragging = GetCapture() == memo;
        DestroyWindow(window);
    };
    ASSERT_TRUE(RunScript([&] {
        TRealInput::ButtonDown(thumb);
        destroy.SetEnabled(true);
        TRealInput::MoveTo({thumb.x, thumb.y + 20});
        WaitFor([&] { return !IsWindow(window); }, 3000);
        TRealInput::ButtonUp();
    }));
    EXPECT_TRUE(dragging) << "the thumb was held when the window went";
    EXPECT_TRUE(WaitFor([&] { return watch.Saw(bars); }, 2000)) << "the scroll-bar skin outlived its window";
    delete form;
}

// The program closes a window while its skinned system menu is open.
TEST_F(SkinTeardown, AWindowDestroyedWhileItsSystemMenuIsOpenFreesItsFrameAfterTheMenu)
{
    auto raw = std::make_unique<TRawWindow>("Raw window");
    raw->Show();
    ASSERT_TRUE(WaitForFrame(raw->Handle()));
    HWND window = raw->Handle();
    TTimer close(nullptr);
    close.SetEnabled(false);
    close.SetInterval(300);
    bool menuSeen = false;
    close.OnTimer = [&](TObject*) {
        close.SetEnabled(false);
        menuSeen = FindWindowA("#32768", nullptr) != nullptr;
        DestroyWindow(window);
    };
    POINT icon{};
    ASSERT_TRUE(TitleButtonPoint(window, 3, icon));
    bool freed = false;
    ASSERT_TRUE(RunScript([&] {
        close.SetEnabled(true);
        TRealInput::ClickAt(icon);
        WaitFor([&] { return !IsWindow(window); }, 3000);
        // The menu is still open: its last item, Close, chosen.
        TRealInput::Key("Up");
        TRealInput::Key("Return");
        freed = WaitFor([&] { return !Listed(window) && !FindWindowA("#32768", nullptr); }, 3000);
    }));
    EXPECT_TRUE(menuSeen) << "the menu was open when the window went";
    EXPECT_TRUE(freed);
    EXPECT_FALSE(IsWindow(window));
}

} // namespace
} // namespace orbelin
