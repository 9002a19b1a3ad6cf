// The main window and the About window, driven through their real controls.

#include "base/Streams.h"
#include "skin/data/SkinData.h"
#include "tests/win/ProgramForms.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orbelin {
namespace {

using namespace test;

class MainWindow : public ::testing::Test {
protected:
    TProgramForms forms;
    static std::vector<TControl*> TargetControls()
    {
        return {Form1->Button5, Form1->Button6, Form1->Button4, Form1->RadioButton2, Form1->RadioButton3};
    }
    static bool WindowEnabled(TWinControl* c) { return IsWindowEnabled(c->WindowHandle()) != FALSE; }
};

std::vector<std::string> ChildOrder(HWND parent)
{
    std::vector<std::string> names;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (TWinControl* c = TWinControl::FromHandle(w))
            names.push_back(c->Name());
    return names;
}

TEST_F(MainWindow, StartsWithTheListsTextAndStatesOfTheLayout)
{
    EXPECT_EQ(Application().Title(), "Orbelin多国语言在线翻译系统");
    EXPECT_EQ(WindowText(Form1->WindowHandle()), "Orbelin多国语言在线翻译 v1.0");
    RECT client;
    GetClientRect(Form1->WindowHandle(), &client);
    EXPECT_EQ(client.right, 613);
    EXPECT_EQ(client.bottom, 459);
    EXPECT_FALSE(GetWindowLongA(Form1->WindowHandle(), GWL_STYLE) & WS_THICKFRAME);

    EXPECT_EQ(Form1->wl_srclang->SelectedText(), "简体中文");
    EXPECT_EQ(Form1->wl_trglang->SelectedText(), "English");
    EXPECT_EQ(Form1->wl_glossary->SelectedText(), "一般");
    ASSERT_EQ(SendMessageA(Form1->wl_srclang->WindowHandle(), CB_GETCOUNT, 0, 0), 14);
    ASSERT_EQ(SendMessageA(Form1->wl_glossary->WindowHandle(), CB_GETCOUNT, 0, 0), 21);
    EXPECT_EQ(Form1->wl_srclang->Items().front(), "请选择原文语言");
    EXPECT_EQ(Form1->wl_trglang->Items().front(), "请选择译文语言");
    EXPECT_EQ(Form1->wl_trglang->Items()[13], "西班牙语");
    EXPECT_EQ(Form1->wl_glossary->Items()[20], "政治学");
    EXPECT_EQ(GetWindowLongA(Form1->wl_srclang->WindowHandle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);

    const auto lines = Form1->Memo1->Lines();
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "【功能说明】");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[11], "【联系方式】");
    EXPECT_NE(lines[13].find("V1.0"), std::string::npos);
    EXPECT_EQ(lines[13].substr(0, 4), "    ");
    EXPECT_EQ(Form1->Memo2->Text(), "");

    for (TWinControl* c : {static_cast<TWinControl*>(Form1->Memo1), static_cast<TWinControl*>(Form1->Memo2),
                           static_cast<TWinControl*>(Form1->Button1), static_cast<TWinControl*>(Form1->Button2),
                           static_cast<TWinControl*>(Form1->Button3), static_cast<TWinControl*>(Form1->BitBtn1),
                           static_cast<TWinControl*>(Form1->Button5), static_cast<TWinControl*>(Form1->Button6),
                           static_cast<TWinControl*>(Form1->BitBtn4), static_cast<TWinControl*>(Form1->BitBtn2),
                           static_cast<TWinControl*>(Form1->BitBtn3)})
        EXPECT_TRUE(WindowEnabled(c)) << c->Name();
    for (TWinControl* c : {static_cast<TWinControl*>(Form1->RadioButton1), static_cast<TWinControl*>(Form1->RadioButton2),
                           static_cast<TWinControl*>(Form1->RadioButton3), static_cast<TWinControl*>(Form1->Button4)})
        EXPECT_FALSE(WindowEnabled(c)) << c->Name();
    EXPECT_FALSE(Form1->RadioButton1->Checked());
    EXPECT_FALSE(Form1->RadioButton2->Checked());
    EXPECT_TRUE(Form1->RadioButton3->Checked());

    EXPECT_EQ(WindowText(Form1->BitBtn1->WindowHandle()), "翻  译");
    EXPECT_EQ(WindowText(Form1->BitBtn2->WindowHandle()), "关  于");
    EXPECT_EQ(WindowText(Form1->BitBtn3->WindowHandle()), "关  闭");
    EXPECT_FALSE(IsWindowVisible(Form2->WindowHandle()));
}

TEST_F(MainWindow, CarriesItsSkinInItsDescription)
{
    const auto* skin = Form1->Child<TSkinData>("SkinData1");
    EXPECT_TRUE(skin->Active());
    EXPECT_TRUE(skin->SkinLoaded()) << "the embedded archive unpacks and its description loads";
    EXPECT_GT(skin->PackedSize(), 0);
    EXPECT_EQ(skin->SkinStore(), "(none)") << "at run time the stored \"(Good)\" is only a marker";
    EXPECT_EQ(skin->Version, "1.0.0.0");
    EXPECT_EQ(skin->DisableTag, 99);
}

TEST_F(MainWindow, TabOrderFollowsTheLayout)
{
    EXPECT_EQ(ChildOrder(Form1->WindowHandle()),
              (std::vector<std::string>{"GroupBox1", "GroupBox2", "GroupBox4", "BitBtn2", "BitBtn3", "BitBtn4"}));
    EXPECT_EQ(ChildOrder(Form1->GroupBox1->WindowHandle()),
              (std::vector<std::string>{"Memo1", "Button1", "Button2", "Button3", "wl_srclang"}));
    EXPECT_EQ(ChildOrder(Form1->GroupBox2->WindowHandle()),
              (std::vector<std::string>{"Memo2", "Button5", "Button6", "wl_trglang", "wl_glossary", "BitBtn1"}));
    EXPECT_EQ(ChildOrder(Form1->GroupBox4->WindowHandle()),
              (std::vector<std::string>{"Button4", "RadioButton1", "RadioButton2", "RadioButton3"}));
}

TEST_F(MainWindow, TargetTextEnablesAndDisablesTheFiveControlsTogether)
{
    Form1->Memo2->SetText("你好");
    for (TControl* c : TargetControls())
        EXPECT_TRUE(WindowEnabled(static_cast<TWinControl*>(c))) << c->Name();
    EXPECT_FALSE(WindowEnabled(Form1->RadioButton1));

    Form1->RadioButton2->Click();
    EXPECT_TRUE(Form1->RadioButton2->Checked());
    EXPECT_FALSE(Form1->RadioButton3->Checked());

    SendMessageA(Form1->Button6->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form1->Memo2->Text(), "");
    for (TControl* c : TargetControls())
        EXPECT_FALSE(WindowEnabled(static_cast<TWinControl*>(c))) << c->Name();
    EXPECT_TRUE(Form1->RadioButton2->Checked()) << "disabling keeps the checked state";
    EXPECT_FALSE(WindowEnabled(Form1->RadioButton1));

    // Typing sends a change as well.
    SendMessageA(Form1->Memo2->WindowHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(" "));
    for (TControl* c : TargetControls())
        EXPECT_TRUE(WindowEnabled(static_cast<TWinControl*>(c))) << "blanks count as text: " << c->Name();
    EXPECT_FALSE(WindowEnabled(Form1->RadioButton1));
}

TEST_F(MainWindow, ClearingTheSourceDisablesTranslateAndTypingEnablesIt)
{
    SendMessageA(Form1->Button3->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form1->Memo1->Text(), "");
    EXPECT_FALSE(WindowEnabled(Form1->BitBtn1));
    SendMessageA(Form1->Memo1->WindowHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("Hello"));
    EXPECT_TRUE(WindowEnabled(Form1->BitBtn1));
}

TEST_F(MainWindow, SourceCopyTakesTheSelectionOrEverything)
{
    Form1->Memo1->SetText("Hello world");
    Form1->Memo1->SetSel(6, 5);
    SendMessageA(Form1->Button1->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardText(), "world");

    Form1->Memo1->SetSel(3, 0);
    SendMessageA(Form1->Button1->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardText(), "Hello world");
}

TEST_F(MainWindow, TargetCopyAlwaysTakesEverything)
{
    Form1->Memo2->SetText("line one\r\nline two");
    Form1->Memo2->SetSel(0, 4);
    SendMessageA(Form1->Button5->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(ClipboardText(), "line one\r\nline two");
    EXPECT_EQ(Form1->Memo2->SelLength(), static_cast<int>(Form1->Memo2->Text().size()));
}

TEST_F(MainWindow, PasteReplacesTheSelectionAndAnEmptyClipboardDoesNothing)
{
    Form1->Memo1->SetText("Hello world");
    SetClipboardText("there");
    Form1->Memo1->SetSel(6, 5);
    SendMessageA(Form1->Button2->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form1->Memo1->Text(), "Hello there");

    EmptyClipboardNow();
    SendMessageA(Form1->Button2->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form1->Memo1->Text(), "Hello there");
}

class SaveCommand : public MainWindow {
protected:
    std::string Save(const std::string& path)
    {
        std::remove(path.c_str());
        const bool dialog = RunWithSaveDialog(
            [] { SendMessageA(Form1->Button4->WindowHandle(), BM_CLICK, 0, 0); }, path);
        EXPECT_TRUE(dialog);
        return ReadFileBytes(path);
    }
};

TEST_F(SaveCommand, CombinedFileHasTheSevenLinesOfTheExample)
{
    Form1->Memo1->SetText("Hello");
    Form1->wl_srclang->SetItemIndex(1);
    Form1->wl_trglang->SetItemIndex(2);
    Form1->Memo2->SetText("你好");
    EXPECT_EQ(Save(TempPath("orbelin-combined.txt")),
              "以下为原文内容：\r\n原文语言：English\r\nHello\r\n\r\n以下为译文内容：\r\n译文语言：简体中文\r\n你好\r\n");
}

TEST_F(SaveCommand, EmptySourceLeavesTwoEmptyLines)
{
    Form1->Memo1->SetText("");
    Form1->Memo2->SetText("Hola");
    EXPECT_EQ(Save(TempPath("orbelin-empty-source.txt")),
              "以下为原文内容：\r\n原文语言：简体中文\r\n\r\n\r\n以下为译文内容：\r\n译文语言：English\r\nHola\r\n");
}

TEST_F(SaveCommand, TranslationOnlyIsTheBoxTextWithoutAFinalLineEnd)
{
    Form1->Memo2->SetText("first\nsecond");
    Form1->RadioButton2->Click();
    EXPECT_EQ(Save(TempPath("orbelin-translation.txt")), "first\r\nsecond");
}

TEST_F(SaveCommand, OverwritesAnExistingFileWithoutAsking)
{
    const std::string path = TempPath("orbelin-overwrite.txt");
    WriteFileBytes(path, std::string(5000, 'x'));
    Form1->Memo2->SetText("new");
    Form1->RadioButton2->Click();
    ASSERT_TRUE(RunWithSaveDialog([] { SendMessageA(Form1->Button4->WindowHandle(), BM_CLICK, 0, 0); }, path));
    EXPECT_EQ(ReadFileBytes(path), "new");
}

TEST_F(SaveCommand, CancellingWritesNothing)
{
    const std::string path = TempPath("orbelin-cancel.txt");
    std::remove(path.c_str());
    Form1->Memo2->SetText("text");
    ASSERT_TRUE(RunWithSaveDialog([] { SendMessageA(Form1->Button4->WindowHandle(), BM_CLICK, 0, 0); }, ""));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(MainWindow, UnwritableFileShowsTheCreateErrorAndKeepsTheBoxes)
{
    Form1->Memo1->SetText("source");
    Form1->Memo2->SetText("target");
    Form1->RadioButton2->Click();
    const std::string bad = "C:\\no-such-folder-orbelin\\out.txt";
    // The dialog itself refuses a folder that does not exist, so the file name
    // goes to the writing step under it, as the dialog would have handed it on.
    const TBoxInfo box = RunAndCloseMessageBox([&] {
        try {
            WriteFileBytes(bad, Form1->Memo2->Text());
        } catch (...) {
            Application().HandleException();
        }
    });
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, ApplicationTitle);
    EXPECT_EQ(box.Text.rfind("Cannot create file \"" + bad + "\". ", 0), 0u) << box.Text;
    EXPECT_TRUE(box.HasIcon);
    EXPECT_EQ(Form1->Memo1->Text(), "source");
    EXPECT_EQ(Form1->Memo2->Text(), "target");
}

TEST_F(MainWindow, HelpLoadsTheFileBesideTheProgram)
{
    const std::string help = TForm1::HelpFileName();
    WriteFileBytes(help, "第一行\n第二行\r第三行");
    SendMessageA(Form1->BitBtn4->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form1->Memo2->Text(), "第一行\r\n第二行\r\n第三行");
    for (TControl* c : TargetControls())
        EXPECT_TRUE(WindowEnabled(static_cast<TWinControl*>(c))) << c->Name();
    std::remove(help.c_str());
}

TEST_F(MainWindow, MissingHelpShowsTheOpenErrorAndLeavesTheTargetEmpty)
{
    const std::string help = TForm1::HelpFileName();
    std::remove(help.c_str());
    Form1->Memo2->SetText("old text");
    const TBoxInfo box = RunAndCloseMessageBox(
        [] { SendMessageA(Form1->BitBtn4->WindowHandle(), BM_CLICK, 0, 0); }, Form1->WindowHandle());
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, ApplicationTitle);
    EXPECT_EQ(box.Text.rfind("Cannot open file \"" + help + "\". ", 0), 0u) << box.Text;
    EXPECT_TRUE(box.HasIcon);
    EXPECT_EQ(Form1->Memo2->Text(), "");
    for (TControl* c : TargetControls())
        EXPECT_FALSE(WindowEnabled(static_cast<TWinControl*>(c))) << c->Name();
}

TEST(ErrorBox, AppendsADotOnlyAfterCharactersThatSortAfterIt)
{
    struct Case {
        const char* name;
        std::string message;
        std::string shown;
    } cases[] = {
        {"letter", "Connection refused", "Connection refused."},
        {"dot already", "Done.", "Done."},
        {"bang sorts before dot", "Stop!", "Stop!"},
        {"closing parenthesis", "(x)", "(x)"},
        {"slash sorts after dot", "a/", "a/."},
        {"double-byte by its lead byte", "错误", "错误."},
        {"empty", "", ""},
        {"line break", "two\r\nlines\n", "two\r\nlines\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TApplication::ErrorBoxText(c.message), c.shown) << c.name;
}

TEST_F(MainWindow, ErrorBoxShowsTheTitleAndTheLoopGoesOn)
{
    const TBoxInfo box = RunAndCloseMessageBox([] {
        try {
            throw Exception("出错了");
        } catch (...) {
            Application().HandleException();
        }
    });
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, ApplicationTitle);
    EXPECT_EQ(box.Text, "出错了.");
    EXPECT_TRUE(box.HasIcon);
    EXPECT_EQ(box.Buttons.size(), 1u);
}

TEST_F(MainWindow, PlainMessageDialogHasOneOkButtonAndNoIcon)
{
    const TBoxInfo box = RunAndCloseMessageBox([] { Application().ShowMessage("请选择原文语言！"); });
    ASSERT_TRUE(box.Found);
    EXPECT_EQ(box.Caption, ApplicationTitle);
    EXPECT_EQ(box.Text, "请选择原文语言！");
    EXPECT_FALSE(box.HasIcon);
    EXPECT_EQ(box.Buttons, std::vector<std::string>{"OK"});
}

// What the About window shows: the red title, the etched line and the picture.
struct TAboutPixels {
    int RedTitlePixels = 0;
    COLORREF LinePixel = 0;
    COLORREF PicturePixel = 0;
};

TAboutPixels ReadAboutPixels(HWND window)
{
    TAboutPixels pixels;
    HDC dc = GetDC(window);
    for (int y = 8; y < 37; ++y)
        for (int x = 24; x < 384; x += 2) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80)
                ++pixels.RedTitlePixels;
        }
    pixels.LinePixel = GetPixel(dc, 200, 220);
    pixels.PicturePixel = GetPixel(dc, 380, 180);
    ReleaseDC(window, dc);
    return pixels;
}

TEST_F(MainWindow, AboutIsModalAndShowsTheSameWindowTwice)
{
    HWND shown[2] = {};
    bool mainDisabled[2] = {};
    TAboutPixels pixels;
    for (int i = 0; i < 2; ++i) {
        const bool found = RunWithWindow([] { SendMessageA(Form1->BitBtn2->WindowHandle(), BM_CLICK, 0, 0); }, "关于",
                                         [&](HWND w) {
                                             shown[i] = w;
                                             mainDisabled[i] = !IsWindowEnabled(Form1->WindowHandle());
                                             if (i == 0) {
                                                 SaveWindowShot(w, "screenshot-about.bmp");
                                                 pixels = ReadAboutPixels(w);
                                             }
                                         },
                                         "确  定");
        ASSERT_TRUE(found) << "showing " << i;
        EXPECT_TRUE(mainDisabled[i]);
        EXPECT_FALSE(IsWindowVisible(Form2->WindowHandle()));
        EXPECT_TRUE(IsWindowEnabled(Form1->WindowHandle()));
    }
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_EQ(shown[0], Form2->WindowHandle());
    EXPECT_GT(pixels.RedTitlePixels, 100) << "the product name in red";
    EXPECT_EQ(pixels.LinePixel, GetSysColor(COLOR_BTNSHADOW)) << "the etched line at 220";
    EXPECT_GT(GetBValue(pixels.PicturePixel), GetRValue(pixels.PicturePixel)) << "the bluish picture behind";
    RECT client;
    GetClientRect(Form2->WindowHandle(), &client);
    EXPECT_EQ(client.right, 398);
    EXPECT_EQ(client.bottom, 286);
    EXPECT_TRUE(GetWindowLongA(Form2->WindowHandle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    // Its skinned frame draws its caption buttons: the system's are taken away.
    const LONG style = GetWindowLongA(Form2->WindowHandle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

TEST_F(MainWindow, ScreenshotOfTheMainWindow)
{
    Pump(200);
    EXPECT_TRUE(SaveWindowShot(Form1->WindowHandle(), "screenshot-main.bmp"));
}

TEST_F(MainWindow, LabelsTakeTheSizeOfTheirText)
{
    // Whatever font the system substitutes, no label text is clipped.
    for (int i = 0; i < Form2->ComponentCount(); ++i)
        if (auto* label = dynamic_cast<TLabel*>(Form2->Components(i))) {
            HDC dc = GetDC(nullptr);
            HGDIOBJ old = SelectObject(dc, label->Font().Handle());
            SIZE size{};
            GetTextExtentPoint32A(dc, label->Caption().c_str(), static_cast<int>(label->Caption().size()), &size);
            SelectObject(dc, old);
            ReleaseDC(nullptr, dc);
            EXPECT_GE(label->Width(), size.cx) << label->Name();
            EXPECT_GE(label->Height(), size.cy) << label->Name();
        }
}

} // namespace
} // namespace orbelin
