// The skinned controls of the real windows: push buttons in each of their
// looks, their hot look following the real pointer, radio buttons, group
// boxes, drop-down lists, a memo's scroll bar dragged with the real mouse,
// every kind of control the mapping names, checked against the skin's own
// pictures.

#include "skin/data/SkinData.h"
#include "skin/render/SkinManager.h"
#include "skin/render/controls/SkinCtrls.h"
#include "skin/render/controls/SkinScrolling.h"
#include "skin/render/frame/SkinFrame.h"
#include "tests/support/TestServer.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/ScreenPixels.h"
#include "tests/win/SkinPictures.h"
#include "tests/win/SkinTestSupport.h"
#include "tests/win/TestForm.h"
#include "ui/Buttons.h"
#include "ui/ExtCtrls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace orbelin {
namespace {

using namespace test;

class SkinControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = Form1->Child<TSkinData>("SkinData1");
        ASSERT_TRUE(WaitForFrame(Form1->WindowHandle()));
        Pump(300);
    }

    // The parent's background: the form's colour is the skin's face.
    static TSkinPixel Face() { return TSkinSource::Get().Colour("Colours", "ButtonFace"); }

    // Frame n of the push-button picture (five frames) and its margins.
    static TSkinBitmap ButtonFrame(int frame) { return StripFrame(TSkinSource::Get().Image("Buttons", "Bitmap"), 5, frame, false); }
    static TMargins ButtonMargins()
    {
        const TSkinSource& skin = TSkinSource::Get();
        return {skin.Int("Buttons", "LeftWidth", 0), skin.Int("Buttons", "TopHeight", 0), skin.Int("Buttons", "RightWidth", 0),
                skin.Int("Buttons", "BottomHeight", 0)};
    }
    static TSkinBitmap TopLeftCorner(int frame)
    {
        const TMargins m = ButtonMargins();
        return Crop(ButtonFrame(frame), 0, 0, m.Left, m.Top);
    }

    // The top-left and bottom-right corner pieces of frame n of the push
    // button picture show on screen, their magenta showing the parent's
    // background; every pixel of both compared.
    static bool ButtonShows(TWinControl* button, int frame)
    {
        const TMargins m = ButtonMargins();
        const TSkinBitmap f = ButtonFrame(frame);
        const RECT w = WindowRect(button->WindowHandle());
        const TSkinBitmap topLeft = Over(Crop(f, 0, 0, m.Left, m.Top), Face());
        const TSkinBitmap bottomRight = Over(Crop(f, f.Width() - m.Right, f.Height() - m.Bottom, m.Right, m.Bottom), Face());
        const TPixelComparison a = CompareWithScreen(topLeft, {w.left, w.top});
        const TPixelComparison c = CompareWithScreen(bottomRight, {w.right - m.Right, w.bottom - m.Bottom});
        return a.Compared == m.Left * m.Top && a.Compared >= 4 && a.Different == 0 && c.Compared == m.Right * m.Bottom &&
               c.Compared >= 4 && c.Different == 0;
    }

    // The radio glyph strip: frames of 13 pixels when the glyphs are lower than 16.
    static TSkinBitmap RadioFrame(int frame)
    {
        const TSkinBitmap strip = TSkinSource::Get().Image("Buttons", "RadioButton");
        int frames = TSkinSource::Get().Int("Buttons", "RadioButtonFrame", 0);
        if (frames == 0)
            frames = std::max(strip.Width() / (strip.Height() < 16 ? 13 : 16), 4);
        return StripFrame(strip, frames, frame, false);
    }

    // The glyph sits in a 14-pixel column at the left, centred vertically,
    // on the parent's background.
    static bool RadioShows(TRadioButton* radio, int frame)
    {
        const TSkinBitmap glyph = RadioFrame(frame);
        RECT client{};
        GetClientRect(radio->WindowHandle(), &client);
        const RECT w = WindowRect(radio->WindowHandle());
        const POINT at{w.left + (14 - glyph.Width()) / 2, w.top + (client.bottom - glyph.Height()) / 2};
        const TPixelComparison c = CompareWithScreen(Over(glyph, Face()), at);
        return c.Compared == glyph.Width() * glyph.Height() && c.Compared > 0 && c.Different == 0;
    }

    TProgramForms forms;
    TSkinData* store = nullptr;
};

TEST_F(SkinControls, PushButtonsShowTheirNormalHotPressedAndDisabledFrames)
{
    ASSERT_GT(CountMagenta(TopLeftCorner(1)), 0) << "the button's rounded corner";
    TWinControl* copy = Form1->Button1;
    EXPECT_TRUE(ButtonShows(copy, 1)) << "normal";
    EXPECT_FALSE(ButtonShows(copy, 4)) << "the frames differ where they are compared";
    EXPECT_TRUE(ButtonShows(Form1->Button4, 3)) << "保存 starts disabled";

    int clicks = 0;
    Form1->Button1->OnClick = [&](TObject*) { ++clicks; };
    bool hot = false, pressed = false, releasedOutsideKeepsPressed = false, focusedAfterLeaving = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::MoveTo(TRealInput::Centre(copy->WindowHandle()));
        hot = WaitFor([&] { return ButtonShows(copy, 4); }, 2000);
        TRealInput::ButtonDown(TRealInput::Centre(copy->WindowHandle()));
        pressed = WaitFor([&] { return ButtonShows(copy, 2); }, 2000);
        // Released outside: no click; once the pointer has left, the
        // button shows the look of the focus the press gave it.
        const RECT w = WindowRect(copy->WindowHandle());
        TRealInput::MoveTo({w.right + 60, w.bottom + 60});
        TRealInput::ButtonUp();
        releasedOutsideKeepsPressed = NeverWithin([&] { return clicks != 0; }, 1000);
        focusedAfterLeaving = WaitFor([&] { return ButtonShows(copy, 4) && !ButtonShows(copy, 2); }, 2000);
    }));
    EXPECT_TRUE(hot) << "hot under the real pointer";
    EXPECT_TRUE(pressed) << "pressed while the real button is held";
    EXPECT_TRUE(releasedOutsideKeepsPressed) << "a release outside the button clicks nothing";
    EXPECT_TRUE(focusedAfterLeaving);
    EXPECT_EQ(clicks, 0);

    // The hot look follows the pointer alone, whatever happens to 粘贴
    // under it or away from it; each step moves the real pointer first.
    TWinControl* paste = Form1->Button2;
    const POINT at = TRealInput::Centre(paste->WindowHandle()), away{5, 5};
    auto change = [paste](std::function<void(TWinControl&)> step) { return [=] { step(*paste); }; };
    auto enable = [&](bool on) { return change([on](TWinControl& c) { c.SetEnabled(on); }); };
    auto place = [&](int dy) {
        return change([dy](TWinControl& c) { c.SetBounds(c.Left(), c.Top() + dy, c.Width(), c.Height()); });
    };
    auto show = [&](bool on) { return change([on](TWinControl& c) { c.SetVisible(on); }); };
    // The pointer's leaving reaches it while it is disabled, as during a
    // translation's wait: the system stops tracking it and says so.
    auto enableAfterLeaving = change([](TWinControl& c) {
        WaitFor([&] {
            TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
            return TrackMouseEvent(&query) && query.hwndTrack != c.WindowHandle();
        });
        Application().ProcessMessages();
        c.SetEnabled(true);
    });
    const struct {
        POINT Pointer;
        std::function<void()> Step;
        int Frame; // 0: not shown
        const char* What;
    } steps[] = {
        {at, [] {}, 3, "disabled by its own click under the pointer"},
        {away, enableAfterLeaving, 1, "enabled after the pointer left"},
        {away, enable(false), 3, "disabled away from the pointer"},
        {at, enable(true), 4, "enabled under the pointer that came meanwhile"},
        {at, place(-60), 1, "moved away from under the pointer (up, clear of 复制)"},
        {at, place(60), 4, "moved back under it"},
        {away, show(false), 0, "hidden"},
        {at, show(true), 4, "shown under the pointer that came meanwhile"},
    };
    // First it disables itself when clicked, as 翻  译 does.
    paste->OnClick = [paste](TObject*) { paste->SetEnabled(false); };
    ASSERT_TRUE(RunScript([&] { TRealInput::ClickAt(at); }));
    for (const auto& step : steps) {
        bool shows = false;
        ASSERT_TRUE(RunScript([&] {
            TRealInput::MoveTo(step.Pointer);
            WaitFor([&] {
                POINT now{};
                return GetCursorPos(&now) && now.x == step.Pointer.x && now.y == step.Pointer.y;
            });
            RunOnWindowsThread(step.Step);
            shows = !step.Frame || WaitFor([&] { return ButtonShows(paste, step.Frame); }, 2000);
        }));
        EXPECT_TRUE(shows) << step.What << ": frame " << step.Frame;
    }
    paste->OnClick = nullptr;

    // A translation enables 保存, which then shows its normal frame.
    TTestServer server;
    std::string page = "<textarea name=\"wl_result\"" + std::string(125 - 11, ' ') + "Hola</textarea>";
    server.Serve(Script().ReceiveUntil("wl_ucp=1").Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) +
                                                        "\r\nConnection: close\r\n\r\n" + page).Close());
    Form1->ServiceHost = "127.0.0.1:" + std::to_string(server.Port());
    Form1->wl_srclang->SetItemIndex(1);
    Form1->wl_trglang->SetItemIndex(13);
    bool translateHot = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(Form1->BitBtn1->WindowHandle());
        WaitFor([] { return Form1->Memo2->Text() == "Hola"; });
        TRealInput::MoveTo({5, 5});
        TRealInput::MoveTo(TRealInput::Centre(Form1->BitBtn1->WindowHandle()));
        translateHot = WaitFor([&] { return ButtonShows(Form1->BitBtn1, 4); }, 2000);
        SaveWindowShot(Form1->WindowHandle(), "screenshot-pointer-over-translate.bmp");
        TRealInput::MoveTo({5, 5});
    }));
    EXPECT_TRUE(translateHot) << "翻  译 hot under the pointer";
    server.Wait();
    Pump(300);
    EXPECT_TRUE(ButtonShows(Form1->Button4, 1)) << "保存 enabled by the translation";
    SaveWindowShot(Form1->WindowHandle(), "screenshot-after-translation.bmp");
}

TEST_F(SkinControls, RadioButtonsShowTheirGlyphFramesAndGroupBoxesTheirFrame)
{
    ASSERT_GT(CountMagenta(RadioFrame(1)), 0) << "the glyph's round edge";
    // At start all three are disabled, the third checked.
    EXPECT_TRUE(RadioShows(Form1->RadioButton1, 3)) << "unchecked disabled";
    EXPECT_TRUE(RadioShows(Form1->RadioButton3, 4)) << "checked disabled";
    Form1->Memo2->SetText("译文");
    Pump(300);
    EXPECT_TRUE(RadioShows(Form1->RadioButton2, 1)) << "unchecked";
    EXPECT_TRUE(RadioShows(Form1->RadioButton3, 2)) << "checked";
    EXPECT_FALSE(RadioShows(Form1->RadioButton3, 1));

    // The group box: a rounded frame in the shadow colour, and its caption
    // 9 pixels in on a face-coloured background that hides the line.
    HWND box = Form1->GroupBox4->WindowHandle();
    const RECT w = WindowRect(box);
    const TSkinBitmap shown = ReadScreen(w);
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, Form1->GroupBox4->Font().Handle());
    SIZE zero{}, caption{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const std::string text = Form1->GroupBox4->Caption();
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &caption);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    const TSkinPixel line = TSkinSource::Get().Colour("Colours", "ButtonShadow");
    const int lineY = zero.cy / 2 - 1;
    int lineBeside = 0, lineUnderCaption = 0;
    for (int x = 0; x < shown.Width(); ++x) {
        const bool underCaption = x >= 9 && x < 9 + caption.cx;
        (underCaption ? lineUnderCaption : lineBeside) += shown.Pixel(x, lineY) == line;
    }
    EXPECT_GT(lineBeside, shown.Width() - caption.cx - 20) << "the frame's top line";
    EXPECT_LT(lineUnderCaption, caption.cx / 2) << "the caption's background hides the line";
    int left = 0;
    for (int y = 10; y < shown.Height() - 10; ++y)
        left += shown.Pixel(0, y) == line;
    EXPECT_EQ(left, shown.Height() - 20) << "the frame's left side";
    EXPECT_NE(shown.Pixel(0, lineY), line) << "the corner is rounded";
}

TEST_F(SkinControls, DropDownListsShowNormalFocusedAndDisabledFramesAndOpenOnARealClick)
{
    const TSkinBitmap edge = TSkinSource::Get().Image("SunkEdge", "Image");
    const int edgeLeft = TSkinSource::Get().Int("SunkEdge", "LeftWidth", 0);
    // The top two rows of the sunken edge's corner: inside them the list
    // paints its own field.
    auto shows = [&](TComboBox* combo, int frame) {
        const TSkinBitmap corner = Crop(StripFrame(edge, 4, frame, false), 0, 0, edgeLeft, 2);
        const RECT w = WindowRect(combo->WindowHandle());
        const TPixelComparison c = CompareWithScreen(corner, {w.left, w.top});
        return c.Compared >= corner.Width() * corner.Height() / 2 && c.Compared > 0 && c.Different == 0;
    };
    EXPECT_TRUE(shows(Form1->wl_trglang, 1)) << "normal";
    EXPECT_FALSE(shows(Form1->wl_trglang, 4));
    Form1->wl_glossary->SetEnabled(false);
    Pump(200);
    EXPECT_TRUE(shows(Form1->wl_glossary, 3)) << "disabled";
    Form1->wl_glossary->SetEnabled(true);

    bool dropped = false, closed = false, focused = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(Form1->wl_trglang->WindowHandle());
        dropped = WaitFor([&] { return SendMessageA(Form1->wl_trglang->WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0; });
        Sleep(200);
        SaveWindowShot(GetDesktopWindow(), "screenshot-drop-down-list.bmp");
        TRealInput::Key("Escape");
        closed = WaitFor([&] { return SendMessageA(Form1->wl_trglang->WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) == 0; });
        TRealInput::MoveTo({5, 5});
        focused = WaitFor([&] { return shows(Form1->wl_trglang, 4); }, 2000);
    }));
    EXPECT_TRUE(dropped) << "a real click opens the list";
    EXPECT_TRUE(closed);
    EXPECT_TRUE(focused) << "the focused frame";
}

TEST_F(SkinControls, AMemoWithAScrollBarShowsTheSkinnedBarAndItsThumbDragsTheText)
{
    TMemo* memo = Form1->Memo2;
    HWND window = memo->WindowHandle();
    TSkinScrollBar* bars = MemoWithScrollBar(memo, Form1->WindowHandle());
    ASSERT_NE(bars, nullptr);
    Pump(300);
    const RECT bar = bars->BarRect(true);
    const RECT w = WindowRect(window);
    ASSERT_GT(bar.bottom - bar.top, 40);

    // The skinned bar: the track's colour of the skin, where the system would draw its own.
    const TSkinBitmap track = StripFrame(TSkinSource::Get().Image("VertScroll", "Image"), 4, 1, false);
    const TSkinPixel trackColour = track.Pixel(track.Width() / 2, track.Height() / 2);
    const TScrollBarGeometry g = bars->Geometry(true);
    const int belowThumb = w.top + bar.top + g.ArrowLength + g.ThumbOffset + g.ThumbLength + 4;
    const TSkinBitmap column = ReadScreen({w.left + (bar.left + bar.right) / 2, belowThumb, w.left + (bar.left + bar.right) / 2 + 1, belowThumb + 10});
    int trackPixels = 0;
    for (TSkinPixel p : column.Pixels())
        trackPixels += p == (trackColour & 0xFFFFFF);
    EXPECT_GE(trackPixels, 8) << "the skin's track below the thumb";
    SaveWindowShot(Form1->WindowHandle(), "screenshot-memo-scroll-bar.bmp");

    std::vector<WORD> codes;
    const TWndMethod skinned = memo->WindowProc;
    memo->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_VSCROLL)
            codes.push_back(LOWORD(m.WParam));
        skinned(m);
    };
    const int firstBefore = static_cast<int>(SendMessageA(window, EM_GETFIRSTVISIBLELINE, 0, 0));
    const POINT thumb{w.left + (bar.left + bar.right) / 2, w.top + bar.top + g.ArrowLength + g.ThumbOffset + g.ThumbLength / 2};
    ASSERT_TRUE(RunScript([&] {
        TRealInput::ButtonDown(thumb);
        TRealInput::MoveTo({thumb.x, thumb.y + 30});
        TRealInput::MoveTo({thumb.x, thumb.y + 60});
        TRealInput::ButtonUp();
    }));
    const auto count = [&](WORD code) { return std::count(codes.begin(), codes.end(), code); };
    EXPECT_TRUE(WaitFor([&] { return count(SB_ENDSCROLL) > 0; }, 3000)) << "the drag did not end";
    EXPECT_TRUE(NeverWithin([&] { return count(SB_ENDSCROLL) > 1 || count(SB_THUMBPOSITION) > 1; }, 1000));
    memo->WindowProc = skinned;
    const int firstAfter = static_cast<int>(SendMessageA(window, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(firstAfter, firstBefore + 10) << "dragging the thumb scrolled the text";
    EXPECT_EQ(std::count(codes.begin(), codes.end(), WORD{SB_THUMBPOSITION}), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), WORD{SB_ENDSCROLL}), 1);
    EXPECT_GE(std::count(codes.begin(), codes.end(), WORD{SB_THUMBTRACK}), 1);
}

class TControlsForm : public TTestForm {
public:
    explicit TControlsForm(TComponent* owner) : TTestForm(owner)
    {
        RegisterMethod("SpeedClick", [this](TObject*) { ++SpeedClicks; });
    }
    int SpeedClicks = 0;
};

TEST_F(SkinControls, EveryKindOfControlTheMappingNamesGetsItsSkinObject)
{
    // Component check boxes are skinned through a Skin3rd line, as other libraries' controls are.
    store->Skin3rd().Add("TCheckBox=Checkbox");
    auto* form = new TControlsForm(&Application()); // owned by the application
    form->Read(R"(object ControlsForm: TControlsForm
  ClientWidth = 300
  ClientHeight = 200
  Caption = 'Controls'
  Menu = Bar
  object Bar: TMainMenu
    object FileItem: TMenuItem
      Caption = '文件(&F)'
      object OpenItem: TMenuItem
        Caption = '打开'
      end
    end
  end
  object Box: TPanel
    Left = 8
    Top = 8
    Width = 280
    Height = 180
    object Edit: TEdit
      Left = 8
      Top = 8
      Width = 120
      Height = 21
    end
    object Check: TCheckBox
      Left = 8
      Top = 40
      Width = 120
      Height = 17
      Caption = 'Check'
    end
    object Bar2: TScrollBar
      Left = 8
      Top = 70
      Width = 200
      Height = 17
      Max = 50
    end
    object Spin: TUpDown
      Left = 140
      Top = 8
      Width = 17
      Height = 21
    end
    object Speed: TSpeedButton
      Left = 8
      Top = 100
      Width = 90
      Height = 25
      Caption = 'Speed'
      OnClick = SpeedClick
    end
  end
end
)");
    form->Show();
    ASSERT_TRUE(WaitForFrame(form->WindowHandle()));
    Pump(300);
    std::map<std::string, std::string> skins;
    for (TSkinControl* c : FrameOf(form->WindowHandle())->Controls())
        if (c->Subject())
            skins[c->Subject()->Name()] = std::string(c->ClassName());
    std::string all;
    for (const auto& [name, cls] : skins)
        all += name + "=" + cls + " ";
    SCOPED_TRACE(all);
    EXPECT_EQ(skins["Box"], "TSkinBox");
    EXPECT_EQ(skins["Edit"], "TSkinEdit");
    EXPECT_EQ(skins["Check"], "TSkinCheckBox");
    EXPECT_EQ(skins["Bar2"], "TSkinScControl");
    EXPECT_EQ(skins["Spin"], "TSkinUpDown");
    EXPECT_EQ(skins["Speed"], "TSkinSpeedButton");
    ASSERT_NE(FrameOf(form->WindowHandle())->MenuBar(), nullptr) << "the menu from the description";

    // The speed button: the skin's button on screen, a real click runs its handler.
    auto* speed = form->Child<TSpeedButton>("Speed");
    POINT corner{speed->Left(), speed->Top()};
    ClientToScreen(form->Child<TPanel>("Box")->WindowHandle(), &corner);
    const TSkinBitmap speedCorner = Over(TopLeftCorner(1), Face());
    const TPixelComparison c = CompareWithScreen(speedCorner, corner);
    EXPECT_EQ(c.Compared, speedCorner.Width() * speedCorner.Height());
    EXPECT_GT(c.Compared, 4);
    EXPECT_EQ(c.Different, 0) << "the speed button is drawn from the skin, the panel's face in its corners";
    ASSERT_TRUE(RunScript([&] {
        TRealInput::ClickAt({corner.x + speed->Width() / 2, corner.y + speed->Height() / 2});
        WaitFor([&] { return form->SpeedClicks > 0; }, 2000);
    }));
    EXPECT_EQ(form->SpeedClicks, 1);
    SaveWindowShot(form->WindowHandle(), "screenshot-controls-form.bmp");
    delete form;
}

TEST_F(SkinControls, RepaintingEveryControlOfBothWindowsLeavesNoGdiObjectAndStillPaintsRight)
{
    // The About window shown without a modal loop, so both can be repainted here.
    Form2->Show();
    ASSERT_TRUE(WaitForFrame(Form2->WindowHandle()));
    Pump(300);
    auto repaint = [] {
        for (HWND window : {Form1->WindowHandle(), Form2->WindowHandle()})
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    repaint();
    Pump(100);
    const int before = LiveGdiOwners();
    for (int i = 0; i < 1000; ++i)
        repaint();
    Pump(100);
    EXPECT_EQ(LiveGdiOwners(), before) << "GDI objects left behind by repaints";

    HWND copy = Form1->Button1->WindowHandle();
    for (int i = 0; i < 20000; ++i)
        RedrawWindow(copy, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    Pump(100);
    EXPECT_TRUE(ButtonShows(Form1->Button1, 1)) << "the button still paints right";
    Form2->Hide();
}

} // namespace
} // namespace orbelin
