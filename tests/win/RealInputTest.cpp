// Both windows driven with a real mouse and keyboard through the X server.

#include "base/Charset.h"
#include "base/Streams.h"
#include "skin/render/SkinManager.h"
#include "tests/support/TestServer.h"
#include "tests/win/CloseBox.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "ui/ExtCtrls.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orbelin {
namespace {

using namespace test;

class RealInput : public ::testing::Test {
protected:
    TProgramForms forms;
    const DWORD ui = GetCurrentThreadId();

    static HWND H(TWinControl* control) { return control->WindowHandle(); }
    static HWND About() { return Form2->WindowHandle(); }
    static HWND AboutOk() { return Form2->Child<TButton>("Button1")->WindowHandle(); }
    HWND Focus() const { return FocusOf(ui); }

    // Script steps (they run on the script thread).
    void OpenAbout()
    {
        TRealInput::Click(H(Form1->BitBtn2));
        ASSERT_TRUE(WaitFor([] { return IsWindowVisible(About()) != FALSE; })) << "About did not open";
        ASSERT_TRUE(WaitFor([&] { return ActiveOf(ui) == About(); })) << "About is not active";
        // The keys of the About window reach its default button only when a
        // control of it has the focus.
        EXPECT_TRUE(WaitFor([&] { return Focus() == AboutOk(); })) << "the focus is not on 确  定";
        EXPECT_FALSE(IsWindowEnabled(H(Form1))) << "the main window must take no input meanwhile";
        // The skinned frame fits the window to itself when it starts; its
        // hover timer runs from the end of that on.
        if (TSkinManage::Instance()) {
            EXPECT_TRUE(WaitForFrame(About())) << "About has no running skinned frame";
        }
    }
    void ExpectAboutClosedAndMainTakesAClick()
    {
        ASSERT_TRUE(WaitFor([] { return !IsWindowVisible(About()); })) << "About is still open";
        ASSERT_TRUE(WaitFor([] { return IsWindowEnabled(H(Form1)) != FALSE; }));
        TRealInput::Click(H(Form1->Memo1));
        EXPECT_TRUE(WaitFor([&] { return Focus() == H(Form1->Memo1); })) << "the main window took no click";
    }
    void FocusByClick(TWinControl* control)
    {
        TRealInput::Click(H(control));
        ASSERT_TRUE(WaitFor([&] { return Focus() == H(control); })) << control->Name();
    }
};

TEST_F(RealInput, AboutClosesByItsOkButton)
{
    ASSERT_TRUE(RunScript([&] {
        OpenAbout();
        TRealInput::Click(AboutOk());
        ExpectAboutClosedAndMainTakesAClick();
    }));
}

TEST_F(RealInput, AboutClosesByReturn)
{
    ASSERT_TRUE(RunScript([&] {
        OpenAbout();
        TRealInput::Key("Return");
        ExpectAboutClosedAndMainTakesAClick();
    }));
}

TEST_F(RealInput, AboutClosesByEscAndOpensAgain)
{
    ASSERT_TRUE(RunScript([&] {
        OpenAbout();
        TRealInput::Key("Escape");
        ExpectAboutClosedAndMainTakesAClick();
        OpenAbout();
        TRealInput::Key("Escape");
        ExpectAboutClosedAndMainTakesAClick();
    }));
}

TEST_F(RealInput, KeysRightAfterAboutClosesReachTheMainWindow)
{
    ASSERT_TRUE(RunScript([&] {
        OpenAbout();
        TRealInput::Key("Escape");
        ASSERT_TRUE(WaitFor([] { return !IsWindowVisible(About()); })) << "Esc did not close About";
        // The click that opened About left the focus on 关  于, so the space
        // bar opens it again only if the keys came back to the main window.
        EXPECT_TRUE(WaitFor([&] { return Focus() == H(Form1->BitBtn2); })) << "the focus is not back on 关  于";
        TRealInput::Key("space");
        ASSERT_TRUE(WaitFor([] { return IsWindowVisible(About()) != FALSE; }))
            << "the space bar typed after About closed did not reach the main window";
        TRealInput::Key("Escape");
        ExpectAboutClosedAndMainTakesAClick();
    }));
}

TEST_F(RealInput, AboutClosesByItsCloseBox)
{
    ASSERT_TRUE(RunScript([&] {
        OpenAbout();
        POINT closeBox{};
        ASSERT_TRUE(WaitFor([&] { return CloseBoxPoint(About(), closeBox); })) << "no close box in the caption";
        TRealInput::ClickAt(closeBox);
        ExpectAboutClosedAndMainTakesAClick();
    }));
}

TEST_F(RealInput, AboutIsCentredOnTheScreenAtEveryShowing)
{
    RECT first{}, second{};
    ASSERT_TRUE(RunScript([&] {
        OpenAbout();
        GetWindowRect(About(), &first);
        TRealInput::Key("Escape");
        ExpectAboutClosedAndMainTakesAClick();
    }));
    // Moved while hidden, as if the screen had changed since.
    SetWindowPos(About(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(RunScript([&] {
        OpenAbout();
        GetWindowRect(About(), &second);
        TRealInput::Key("Escape");
        ExpectAboutClosedAndMainTakesAClick();
    }));
    EXPECT_EQ(second.left, first.left);
    EXPECT_EQ(second.top, first.top);
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((second.left + second.right) / 2, screenW / 2, 1);
    EXPECT_NEAR((second.top + second.bottom) / 2, screenH / 2, 1);
}

TEST_F(RealInput, EscAndAltAloneInTheTextBoxesAndOnAButtonLoseNothing)
{
    Form1->Memo2->SetText("目标 text");
    const std::string source = Form1->Memo1->Text();
    std::vector<TWinControl*> controls;
    for (int i = 0; i < Form1->ComponentCount(); ++i)
        if (auto* c = dynamic_cast<TWinControl*>(Form1->Components(i)))
            controls.push_back(c);
    ASSERT_TRUE(RunScript([&] {
        for (TWinControl* box : {static_cast<TWinControl*>(Form1->Memo1), static_cast<TWinControl*>(Form1->Memo2)}) {
            FocusByClick(box);
            TRealInput::Key("Escape");
        }
        // Alt alone enters no menu mode on a window without a menu bar: the
        // next key still types into the box.
        TRealInput::Key("ctrl+End");
        TRealInput::Key("alt");
        TRealInput::Type("x");
        FocusByClick(Form1->Memo1);
        TRealInput::Key("Tab");
        ASSERT_TRUE(WaitFor([&] { return Focus() == H(Form1->Button1); }));
        TRealInput::Key("Escape");
        TRealInput::Key("Escape");
    }));
    EXPECT_TRUE(NeverWithin([&] {
        return std::any_of(controls.begin(), controls.end(), [](TWinControl* c) { return !IsWindowVisible(H(c)); });
    }, 1000)) << "a window went after the keys";
    for (TWinControl* c : controls) {
        EXPECT_TRUE(c->HandleAllocated() && IsWindow(H(c))) << c->Name() << " was destroyed";
        EXPECT_TRUE(IsWindowVisible(H(c))) << c->Name() << " is hidden";
    }
    EXPECT_TRUE(IsWindowVisible(H(Form1)));
    EXPECT_EQ(Form1->Memo1->Text(), source);
    EXPECT_EQ(Form1->Memo2->Text(), "目标 textx") << "a key after Alt alone";
    EXPECT_EQ(Focus(), H(Form1->Button1));
}

TEST_F(RealInput, TabGoesRoundTheTabOrderAndShiftTabBack)
{
    Form1->Memo2->SetText("译文"); // enables the save controls, so they join the round
    const std::string source = Form1->Memo1->Text();
    const std::vector<TWinControl*> order = {
        Form1->Memo1,   Form1->Button1, Form1->Button2,      Form1->Button3,     Form1->wl_srclang,
        Form1->Memo2,   Form1->Button5, Form1->Button6,      Form1->wl_trglang,  Form1->wl_glossary,
        Form1->BitBtn1, Form1->Button4, Form1->RadioButton3, Form1->BitBtn2,     Form1->BitBtn3,
        Form1->BitBtn4, Form1->Memo1};
    std::vector<std::string> forward, backward;
    auto focusedName = [&] {
        for (TWinControl* c : order)
            if (H(c) == Focus())
                return c->Name();
        return std::string("(other)");
    };
    ASSERT_TRUE(RunScript([&] {
        FocusByClick(Form1->Memo1);
        forward.push_back(focusedName());
        for (size_t i = 1; i < order.size(); ++i) {
            TRealInput::Key("Tab");
            WaitFor([&] { return Focus() == H(order[i]); }, 1500);
            forward.push_back(focusedName());
        }
        backward.push_back(focusedName());
        for (size_t i = order.size() - 1; i > 0; --i) {
            TRealInput::Key("shift+Tab");
            WaitFor([&] { return Focus() == H(order[i - 1]); }, 1500);
            backward.push_back(focusedName());
        }
    }, 60000));
    std::vector<std::string> expected;
    for (TWinControl* c : order)
        expected.push_back(c->Name());
    EXPECT_EQ(forward, expected);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(backward, expected);
    EXPECT_EQ(Form1->Memo1->Text(), source) << "a text box keeps no Tab character";
    EXPECT_EQ(Form1->Memo2->Text(), "译文");
}

TEST_F(RealInput, ArrowsMoveTheCheckAndSaveWritesTheCheckedFormat)
{
    Form1->Memo1->SetText("Hello");
    Form1->Memo2->SetText("你好");
    const std::string translationOnly = TempPath("orbelin-arrows-1.txt");
    const std::string combined = TempPath("orbelin-arrows-2.txt");
    std::remove(translationOnly.c_str());
    std::remove(combined.c_str());
    // The dialog proposes the name; the user confirms it with a click on its save button.
    auto saveAs = [&](const std::string& path) {
        Form1->SaveDialog1->FileName = path;
        TRealInput::Click(H(Form1->Button4));
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            dialog = ActiveOf(ui);
            char cls[16] = {};
            GetClassNameA(dialog, cls, sizeof(cls));
            return lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(dialog) && GetDlgItem(dialog, IDOK);
        })) << "no save dialog";
        Sleep(300);
        TRealInput::Click(GetDlgItem(dialog, IDOK));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    };
    bool afterLeft2 = false, afterLeft3 = false, afterRight2 = false, afterRight3 = false;
    ASSERT_TRUE(RunScript([&] {
        FocusByClick(Form1->RadioButton3);
        TRealInput::Key("Left");
        WaitFor([] { return Form1->RadioButton2->Checked(); }, 1500);
        afterLeft2 = OnWindowsThread([] { return Form1->RadioButton2->Checked(); });
        afterLeft3 = OnWindowsThread([] { return Form1->RadioButton3->Checked(); });
        EXPECT_EQ(Focus(), H(Form1->RadioButton2));
        saveAs(translationOnly);
        FocusByClick(Form1->RadioButton2);
        TRealInput::Key("Right");
        WaitFor([] { return Form1->RadioButton3->Checked(); }, 1500);
        afterRight2 = OnWindowsThread([] { return Form1->RadioButton2->Checked(); });
        afterRight3 = OnWindowsThread([] { return Form1->RadioButton3->Checked(); });
        saveAs(combined);
    }, 60000));
    EXPECT_TRUE(afterLeft2 && !afterLeft3) << "Left from 保存原文和译文 checks 保存译文";
    EXPECT_TRUE(!afterRight2 && afterRight3) << "Right checks 保存原文和译文 again";
    EXPECT_FALSE(Form1->RadioButton1->Checked()) << "the disabled one is passed over";
    EXPECT_EQ(ReadFileBytes(translationOnly), "你好");
    EXPECT_EQ(ReadFileBytes(combined), Form1->CombinedSaveText());
    EXPECT_EQ(ReadFileBytes(combined).substr(0, 16), "以下为原文内容：");
    std::remove(translationOnly.c_str());
    std::remove(combined.c_str());
}

std::string ResultPage(const std::string& utf8)
{
    std::string page = "<html><body><textarea name=\"wl_result\"" + std::string(125 - 11, ' ');
    page += utf8 + "</textarea></body></html>";
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" +
           page;
}

TEST_F(RealInput, EveryCommandButtonWorksOnARealClick)
{
    TTestServer server;
    server.Serve(Script().ReceiveUntil("wl_ucp=1").Send(ResultPage("Hola")).Close());
    Form1->ServiceHost = "127.0.0.1:" + std::to_string(server.Port());
    const std::string help = TForm1::HelpFileName();
    WriteFileBytes(help, "帮助文本");
    Form1->Memo1->SetText("Hello");
    Form1->wl_srclang->SetItemIndex(1);  // English
    Form1->wl_trglang->SetItemIndex(13); // 西班牙语

    std::string copied, copiedTarget, afterPaste, afterHelp;
    bool translateDisabledByClear = false, targetControlsDisabledByClear = false;
    ASSERT_TRUE(RunScript([&] {
        TRealInput::Click(H(Form1->BitBtn1));
        ASSERT_TRUE(WaitFor([] { return Form1->Memo2->Text() == "Hola"; })) << "no translation";

        EmptyClipboardNow();
        DWORD sequence = GetClipboardSequenceNumber();
        TRealInput::Click(H(Form1->Button1));
        copied = ClipboardTextAfter(sequence);

        sequence = GetClipboardSequenceNumber();
        TRealInput::Click(H(Form1->Button5));
        copiedTarget = ClipboardTextAfter(sequence);

        TRealInput::Click(H(Form1->Button3));
        WaitFor([] { return Form1->Memo1->Text().empty(); });
        translateDisabledByClear = !IsWindowEnabled(H(Form1->BitBtn1));

        SetClipboardText("pasted");
        TRealInput::Click(H(Form1->Button2));
        WaitFor([] { return Form1->Memo1->Text() == "pasted"; });
        afterPaste = OnWindowsThread([] { return Form1->Memo1->Text(); });

        TRealInput::Click(H(Form1->Button6));
        WaitFor([] { return Form1->Memo2->Text().empty(); });
        targetControlsDisabledByClear = !IsWindowEnabled(H(Form1->Button4)) && !IsWindowEnabled(H(Form1->Button5));

        TRealInput::Click(H(Form1->BitBtn4));
        WaitFor([] { return !Form1->Memo2->Text().empty(); });
        afterHelp = OnWindowsThread([] { return Form1->Memo2->Text(); });
    }, 60000));
    server.Wait();
    EXPECT_EQ(copied, "Hello");
    EXPECT_EQ(copiedTarget, "Hola");
    EXPECT_TRUE(translateDisabledByClear);
    EXPECT_EQ(afterPaste, "pasted");
    EXPECT_TRUE(targetControlsDisabledByClear);
    EXPECT_EQ(afterHelp, "帮助文本");
    std::remove(help.c_str());
}

TEST_F(RealInput, AGroupBoxIgnoresACloseRequest)
{
    // Real input no longer produces this request (the form takes Esc), so it
    // is posted: a control that gets WM_CLOSE must not destroy itself.
    PostMessageA(H(Form1->GroupBox1), WM_CLOSE, 0, 0);
    PostMessageA(H(Form1->Memo1), WM_CLOSE, 0, 0);
    EXPECT_TRUE(NeverWithin([] { return !IsWindowVisible(H(Form1->GroupBox1)) || !IsWindowVisible(H(Form1->Memo1)); }, 1000));
    EXPECT_TRUE(IsWindow(H(Form1->GroupBox1)));
    EXPECT_TRUE(IsWindowVisible(H(Form1->Memo1)));
}

} // namespace
} // namespace orbelin
