// orbelin-demo: drives a running orbelin.exe the way a user would for one
// translation: types a sentence, picks English → Spanish, presses the
// translate button and prints what appears in the target box (UTF-8).
//
//   orbelin-demo [TEXT]

#include "base/Charset.h"
#include "ui/WindowSearch.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Choose(HWND combo, int index)
{
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

int Fail(const char* what)
{
    std::fprintf(stderr, "orbelin-demo: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string sentence = argc > 1 ? argv[1] : "Hello, how are you?";
    HWND main = orbelin::WaitForTopWindow(0, "", "Orbelin多国语言在线翻译 v1.0", 30000);
    if (!main)
        return Fail("the main window did not appear");
    const auto edits = orbelin::ChildWindows(main, "Edit");
    const auto combos = orbelin::ChildWindows(main, "ComboBox");
    if (edits.size() != 2 || combos.size() != 3)
        return Fail("the main window does not have its two text boxes and three lists");
    HWND memo1 = edits[0], memo2 = edits[1];
    HWND translate = orbelin::ChildWithText(main, "Button", "翻  译");
    if (!translate)
        return Fail("no translate button");

    // Type the sentence over the introduction text.
    SendMessageA(memo1, EM_SETSEL, 0, -1);
    SendMessageA(memo1, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(sentence.c_str()));
    Choose(combos[0], 1);  // source: English
    Choose(combos[1], 13); // target: 西班牙语
    SendMessageA(memo2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    PostMessageA(translate, BM_CLICK, 0, 0);

    std::string result;
    for (int waited = 0; waited < 60000 && result.empty(); waited += 100) {
        Sleep(100);
        DWORD_PTR length = 0;
        if (SendMessageTimeoutA(memo2, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 500, &length) && length > 0)
            result = orbelin::WindowText(memo2);
    }
    if (result.empty())
        return Fail("no translation appeared within 60 s");
    const std::string utf8 = orbelin::AnsiToUtf8(result);
    std::printf("%s\n", utf8.c_str());
    return 0;
}
