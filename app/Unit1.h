#pragma once
// The main window: source and target boxes, the three lists and the commands.

#include "app/AntiFreeze.h"
#include "app/CommandLock.h"
#include "http/NetHTTP.h"
#include "ui/Dialogs.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

#include <optional>

namespace orbelin {

// The translation service the program talks to.
inline constexpr const char* DefaultServiceHost = "localhost";

class TForm1 : public TForm {
public:
    std::string_view ClassName() const override { return "TForm1"; }
    explicit TForm1(TComponent* owner);

    TGroupBox* GroupBox1;
    TComboBox* wl_srclang;
    TMemo* Memo1;
    TButton* Button1;
    TButton* Button2;
    TButton* Button3;
    TGroupBox* GroupBox2;
    TComboBox* wl_glossary;
    TComboBox* wl_trglang;
    TMemo* Memo2;
    TBitBtn* BitBtn1;
    TButton* Button5;
    TButton* Button6;
    TGroupBox* GroupBox4;
    TRadioButton* RadioButton1;
    TRadioButton* RadioButton2;
    TRadioButton* RadioButton3;
    TButton* Button4;
    TBitBtn* BitBtn4;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TSaveDialog* SaveDialog1;
    TNetHTTP* http;
    // Keeps the window alive while the translation's exchange blocks.
    TNetAntiFreeze* AntiFreeze;

    // Host (and port, when not 80) of the translation service.
    std::string ServiceHost = DefaultServiceHost;
    std::string ServiceUrl() const { return "http://" + ServiceHost + "/wl/translate"; }

    void Memo1Change(TObject* Sender);
    void Memo2Change(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);

    static std::string GetHex(const std::string& text);
    // The text the combined save writes: both boxes under their headings.
    std::string CombinedSaveText() const;
    // "help.txt" in the folder of the program's own executable.
    static std::string HelpFileName();

private:
    // The POST, and the GET of the last Location when the POST failed,
    // with the commands held while the exchange runs.
    void Exchange(TStream& request, TStringStream& response);
    // Sets a command's enabled state, or leaves it for the end of a
    // running translation.
    void SetCommandEnabled(TControl* control, bool enabled);

    std::optional<TCommandLock> FTranslation;
};

extern TForm1* Form1;

} // namespace orbelin
