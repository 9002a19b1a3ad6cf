#include "app/Unit1.h"

#include "app/Translation.h"
#include "app/Unit2.h"
#include "base/Charset.h"
#include "base/ScopeExit.h"
#include "base/StringList.h"
#include "base/Streams.h"
#include "net/NetException.h"
#include "ui/Application.h"

namespace orbelin {

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    auto bind = [this](const char* name, void (TForm1::*handler)(TObject*)) {
        RegisterMethod(name, [this, handler](TObject* sender) { (this->*handler)(sender); });
    };
    bind("Memo1Change", &TForm1::Memo1Change);
    bind("Memo2Change", &TForm1::Memo2Change);
    bind("BitBtn1Click", &TForm1::BitBtn1Click);
    bind("BitBtn2Click", &TForm1::BitBtn2Click);
    bind("BitBtn3Click", &TForm1::BitBtn3Click);
    bind("Button1Click", &TForm1::Button1Click);
    bind("Button2Click", &TForm1::Button2Click);
    bind("Button3Click", &TForm1::Button3Click);
    bind("Button4Click", &TForm1::Button4Click);
    bind("Button5Click", &TForm1::Button5Click);
    bind("Button6Click", &TForm1::Button6Click);
    bind("BitBtn4Click", &TForm1::BitBtn4Click);
    ReadDescription("TFORM1");

    GroupBox1 = Child<TGroupBox>("GroupBox1");
    wl_srclang = Child<TComboBox>("wl_srclang");
    Memo1 = Child<TMemo>("Memo1");
    Button1 = Child<TButton>("Button1");
    Button2 = Child<TButton>("Button2");
    Button3 = Child<TButton>("Button3");
    GroupBox2 = Child<TGroupBox>("GroupBox2");
    wl_glossary = Child<TComboBox>("wl_glossary");
    wl_trglang = Child<TComboBox>("wl_trglang");
    Memo2 = Child<TMemo>("Memo2");
    BitBtn1 = Child<TBitBtn>("BitBtn1");
    Button5 = Child<TButton>("Button5");
    Button6 = Child<TButton>("Button6");
    GroupBox4 = Child<TGroupBox>("GroupBox4");
    RadioButton1 = Child<TRadioButton>("RadioButton1");
    RadioButton2 = Child<TRadioButton>("RadioButton2");
    RadioButton3 = Child<TRadioButton>("RadioButton3");
    Button4 = Child<TButton>("Button4");
    BitBtn4 = Child<TBitBtn>("BitBtn4");
    BitBtn2 = Child<TBitBtn>("BitBtn2");
    BitBtn3 = Child<TBitBtn>("BitBtn3");
    SaveDialog1 = Child<TSaveDialog>("SaveDialog1");
    http = Child<TNetHTTP>("http");
    AntiFreeze = new TNetAntiFreeze(this); // owned by the form
}

void TForm1::SetCommandEnabled(TControl* control, bool enabled)
{
    if (FTranslation)
        FTranslation->Defer(*control, enabled);
    else
        control->SetEnabled(enabled);
}

void TForm1::Memo1Change(TObject*)
{
    // Text in the source box makes translating possible again after a clear.
    if (!Memo1->Text().empty())
        SetCommandEnabled(BitBtn1, true);
}

void TForm1::Memo2Change(TObject*)
{
    const bool hasText = !Memo2->Text().empty();
    for (TControl* control : {static_cast<TControl*>(Button5), static_cast<TControl*>(Button6),
                              static_cast<TControl*>(Button4), static_cast<TControl*>(RadioButton2),
                              static_cast<TControl*>(RadioButton3)})
        SetCommandEnabled(control, hasText);
}

std::string TForm1::GetHex(const std::string& text) { return translation::GetHex(text); }

void TForm1::BitBtn1Click(TObject*)
{
    // The windows take their messages while the exchange waits; a click or
    // key that still reaches the button then starts no second translation.
    if (FTranslation)
        return;
    using namespace translation;
    const std::string glossary = GlossaryCode(wl_glossary->ItemIndex());
    const std::string source = LanguageCode(wl_srclang->ItemIndex());
    const std::string target = LanguageCode(wl_trglang->ItemIndex());
    if (const std::string problem = CheckCodes(source, target); !problem.empty()) {
        Application().ShowMessage(problem);
        return;
    }

    TStringStream request;
    TStringStream response;
    request.WriteString(FormBody(GetHex(AnsiToUtf8(Memo1->Text())), glossary, source, target));
    http->Request().ContentType = "application/x-www-form-urlencoded";
    Exchange(request, response);
    Memo2->SetText(Utf16ToAnsi(DecodeUtf8(ExtractResult(response.DataString()))));
}

void TForm1::Exchange(TStream& request, TStringStream& response)
{
    // Every command but closing waits: none may start a second exchange,
    // touch the boxes or the client, or hold this one up (a modal window).
    // What the request was made of stays as it is, so the result is shown
    // (and saved) with the text and languages it belongs to.
    FTranslation.emplace(std::vector<TControl*>{BitBtn1, Button1, Button2, Button3, Button5, Button6, Button4, BitBtn4,
                                                BitBtn2, wl_srclang, wl_glossary, wl_trglang},
                         std::vector<TMemo*>{Memo1});
    const TScopeExit release([this] { FTranslation.reset(); });
    // A wait that was given up ends the command with its own error: the
    // service fell silent (asking it again would only double the wait), its
    // answer passed the client's limits, or the program is closing (EAbort,
    // silent). Its connection goes with it.
    auto givenUp = [this] {
        http->CloseConnection();
        throw;
    };
    try {
        http->Post(ServiceUrl(), request, &response);
    } catch (const ENetReadTimeout&) {
        givenUp();
    } catch (const ENetConnectTimeout&) {
        givenUp();
    } catch (const ENetHTTPResponseTooLarge&) {
        givenUp();
    } catch (...) {
        if (Application().Terminated())
            givenUp();
        // The service may answer with a redirect to the page that holds the
        // result; whatever else went wrong, one GET of the last Location follows.
        http->Get(http->Response().Location, &response);
    }
}

void TForm1::BitBtn2Click(TObject*) { Form2->ShowModal(); }

void TForm1::BitBtn3Click(TObject*) { Application().Terminate(); }

void TForm1::Button1Click(TObject*)
{
    Memo1->SetFocus();
    if (Memo1->SelLength() == 0)
        Memo1->SelectAll();
    Memo1->CopyToClipboard();
}

void TForm1::Button2Click(TObject*)
{
    Memo1->SetFocus();
    Memo1->PasteFromClipboard();
}

void TForm1::Button3Click(TObject*)
{
    Memo1->Clear();
    BitBtn1->SetEnabled(false);
}

void TForm1::Button5Click(TObject*)
{
    Memo2->SetFocus();
    Memo2->SelectAll();
    Memo2->CopyToClipboard();
}

void TForm1::Button6Click(TObject*)
{
    Memo2->Clear();
    RadioButton2->SetEnabled(false);
    RadioButton3->SetEnabled(false);
}

std::string TForm1::CombinedSaveText() const
{
    TStringList scratch;
    // Setting and reading back the first block ends each of its lines with
    // exactly one CR LF, whatever line breaks the source box held.
    scratch.SetText("以下为原文内容：\r\n原文语言：" + wl_srclang->SelectedText() + "\r\n" + Memo1->Text() + "\r\n");
    const std::string firstBlock = scratch.Text();
    scratch.SetText(firstBlock + "\r\n" + "以下为译文内容：" + "\r\n" + "译文语言：" + wl_trglang->SelectedText() +
                    "\r\n" + Memo2->Text());
    return scratch.Text();
}

void TForm1::Button4Click(TObject*)
{
    const std::string combined = CombinedSaveText();
    if (RadioButton2->Checked() && SaveDialog1->Execute(WindowHandle()))
        WriteFileBytes(SaveDialog1->FileName, Memo2->Text());
    if (RadioButton3->Checked() && SaveDialog1->Execute(WindowHandle()))
        WriteFileBytes(SaveDialog1->FileName, combined);
}

std::string TForm1::HelpFileName()
{
    char path[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string exe(path, n);
    const size_t slash = exe.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : exe.substr(0, slash + 1)) + "help.txt";
}

void TForm1::BitBtn4Click(TObject*)
{
    const std::string fileName = HelpFileName();
    Memo2->Clear();
    Memo2->SetText(ReadFileBytes(fileName));
}

} // namespace orbelin
