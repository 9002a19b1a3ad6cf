// The portable base: text helpers, string lists, streams, components and
// the form description reader.

#include "base/AnsiText.h"
#include "base/Component.h"
#include "base/Exceptions.h"
#include "base/FormDescription.h"
#include "base/StringList.h"
#include "base/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orbelin {
namespace {

TEST(TextHelpers, PositionsAreOneBasedAndZeroMeansNotFound)
{
    EXPECT_EQ(PosFirst("b", "abc"), 2);
    EXPECT_EQ(PosFirst("x", "abc"), 0);
    EXPECT_EQ(PosFirst("", "abc"), 0);
    // "\xB2\xE2" then "\xE2\x41": a trail byte must never start a match.
    EXPECT_EQ(PosFirst("\xE2\x41", "\xB2\xE2\x41"), 0);
    EXPECT_EQ(PosFirst("A", "\xB2\xE2\x41"), 3);
    EXPECT_EQ(PosLast("/", "a/b/c"), 4);
    EXPECT_EQ(PosLast("/", "a/b/c", 3), 2);
    EXPECT_EQ(PosLast("AB", "xxabyy"), 3) << "case-insensitive";
    EXPECT_EQ(PosLast("/", "a/b", 0), 0);
}

TEST(TextHelpers, SplitOffTakesTheHeadAndLeavesTheRest)
{
    std::string text = "user:pass@host";
    EXPECT_EQ(SplitOff(text, "@"), "user:pass");
    EXPECT_EQ(text, "host");
    EXPECT_EQ(SplitOff(text, ":"), "host");
    EXPECT_EQ(text, "");
}

TEST(TextHelpers, CopyClipsOutOfRangeParts)
{
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abc", 2, 100), "bc");
    EXPECT_EQ(Copy("abc", 4, 1), "");
    EXPECT_EQ(Copy("abc", 1, 0), "");
    EXPECT_EQ(Copy("abc", 0, 2), "ab");
}

TEST(TextHelpers, IntegerConversionRaisesTheConvertErrorMessage)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToIntDef("x", 5), 5);
    try {
        StrToInt("12a");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
}

TEST(TextHelpers, AdjustLineBreaksMakesEveryBreakCrLf)
{
    EXPECT_EQ(AdjustLineBreaks("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(AdjustLineBreaks("\n\n"), "\r\n\r\n");
    EXPECT_EQ(AdjustLineBreaks("\r\r\n"), "\r\n\r\n");
}

TEST(StringList, SplitsAtEveryKindOfBreakWithoutAnEmptyLastLine)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"crlf", "a\r\nb", {"a", "b"}},
        {"final break adds nothing", "a\r\nb\r\n", {"a", "b"}},
        {"lone lf and cr", "a\nb\rc", {"a", "b", "c"}},
        {"empty lines kept", "a\r\n\r\nb", {"a", "", "b"}},
        {"two breaks at the end", "a\r\n\r\n", {"a", ""}},
        {"empty", "", {}},
        {"only a break", "\n", {""}},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(list.Lines(), c.lines) << c.name;
    }
}

TEST(StringList, TextPutsCrLfAfterEveryLine)
{
    TStringList list{"a", "", "b"};
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
    EXPECT_EQ(TStringList().Text(), "");
    list.SetValue("key", "v");
    EXPECT_EQ(list.Values("KEY"), "v");
    EXPECT_THROW(list[10], EStringListError);
}

TEST(Streams, MemoryStreamReadsWritesAndSeeks)
{
    TMemoryStream s;
    s.WriteString("hello");
    EXPECT_EQ(s.Size(), 5);
    s.SetPosition(1);
    char buf[3];
    s.ReadBuffer(buf, 3);
    EXPECT_EQ(std::string(buf, 3), "ell");
    EXPECT_THROW(s.ReadBuffer(buf, 3), EReadError);
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
    TStringStream t("abc");
    EXPECT_EQ(t.ReadString(10), "abc");
    EXPECT_EQ(t.DataString(), "abc");
}

TEST(Streams, FileErrorsCarryTheFileName)
{
    try {
        TFileStream f("/no/such/dir/file.txt", TFileMode::fmCreate);
        FAIL() << "created";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"/no/such/dir/file.txt\". ", 0), 0u) << e.Message();
    }
    try {
        TFileStream f("/no/such/file.txt", TFileMode::fmOpenRead);
        FAIL() << "opened";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file \"/no/such/file.txt\". ", 0), 0u) << e.Message();
    }
}

TEST(Streams, FileRoundTripReplacesTheOldContent)
{
    const std::string path = testing::TempDir() + "orbelin-stream-test.txt";
    WriteFileBytes(path, std::string(1000, 'x'));
    WriteFileBytes(path, std::string("a\0b", 3));
    EXPECT_EQ(ReadFileBytes(path), std::string("a\0b", 3));
    std::remove(path.c_str());
}

class Recorder : public TComponent {
public:
    Recorder(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), FLog(log) {}
    ~Recorder() override { FLog->push_back("free " + Name()); }
    TComponent* Watched = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        if (op == TOperation::opRemove && c == Watched) {
            FLog->push_back(Name() + " forgets " + c->Name());
            Watched = nullptr;
        }
    }

private:
    std::vector<std::string>* FLog;
};

TEST(Components, OwnersFreeInReverseOrderAndNotify)
{
    std::vector<std::string> log;
    {
        Recorder root(nullptr, &log);
        root.SetName("root");
        auto* a = new Recorder(&root, &log);
        a->SetName("a");
        auto* b = new Recorder(&root, &log);
        b->SetName("b");
        Recorder outsider(nullptr, &log);
        outsider.SetName("outsider");
        outsider.Watched = a;
        outsider.FreeNotification(a);
        EXPECT_EQ(root.FindComponent("A"), a);
        delete a;
        EXPECT_EQ(outsider.Watched, nullptr);
        EXPECT_EQ(root.ComponentCount(), 1);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"free a", "outsider forgets a", "free outsider", "free root", "free b"}));
}

TEST(FormDescription, ReadsObjectsPropertiesAndValues)
{
    const TFormNode root = ParseFormDescription(R"(object Form1: TForm1
  Left = -8
  Caption = 'It''s'#13#10'two' +
    ' lines'
  Scale = 1.5
  Font.Style = [fsBold, fsItalic]
  Items.Strings = (
    'one'
    ''
    'three')
  Data = {
    0A0b
    FF}
  Active = True
  object Button1: TButton
    OnClick = Button1Click
  end
end
)");
    EXPECT_EQ(root.Name, "Form1");
    EXPECT_EQ(root.ClassName, "TForm1");
    EXPECT_EQ(root.Find("left")->AsInteger(), -8);
    EXPECT_EQ(root.Find("Caption")->AsString(), "It's\r\ntwo lines");
    EXPECT_DOUBLE_EQ(root.Find("Scale")->AsFloat(), 1.5);
    EXPECT_TRUE(root.Find("Font.Style")->SetContains("fsItalic"));
    EXPECT_EQ(root.Find("Items.Strings")->AsStrings(), (std::vector<std::string>{"one", "", "three"}));
    EXPECT_EQ(root.Find("Data")->AsBinary(), (std::vector<uint8_t>{0x0A, 0x0B, 0xFF}));
    EXPECT_TRUE(root.Find("Active")->AsBoolean());
    ASSERT_EQ(root.Children.size(), 1u);
    EXPECT_EQ(root.Children[0].Find("OnClick")->AsIdentifier(), "Button1Click");
}

TEST(FormDescription, RefusesBrokenTextWithTheLine)
{
    struct Case {
        const char* name;
        const char* text;
        const char* where;
    } cases[] = {
        {"missing end", "object A: TA\n  X = 1\n", "line 3"},
        {"unterminated string", "object A: TA\n  X = 'abc\nend", "line 2"},
        {"odd hex", "object A: TA\n  X = { ABC }\nend", "odd number"},
        {"bad character code", "object A: TA\n  X = #300\nend", "character code"},
        {"no value", "object A: TA\n  X =\nend", "line 3"},
        {"text after end", "object A: TA\nend\nextra", "after the last"},
        {"list of numbers", "object A: TA\n  X = ( 1 )\nend", "string expected"},
    };
    for (const auto& c : cases) {
        try {
            ParseFormDescription(c.text);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const EFormDescriptionError& e) {
            EXPECT_NE(e.Message().find(c.where), std::string::npos) << c.name << ": " << e.Message();
        }
    }
}

TEST(FormDescription, DeepNestingIsRefusedNotOverflowed)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "object A: TA\n";
    for (int i = 0; i < 200; ++i)
        text += "end\n";
    EXPECT_THROW(ParseFormDescription(text), EFormDescriptionError);
}

} // namespace
} // namespace orbelin
