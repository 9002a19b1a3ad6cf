#pragma once
// The application object: title, forms, the message loop and the default
// handler for exceptions that no event handler caught.

#include "base/Component.h"
#include "ui/Controls.h"
#include "ui/Graphics.h"

#include <windows.h>

#include <string>
#include <vector>

namespace orbelin {

class TForm;

class TApplication : public TComponent, public IApplicationHost {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    const std::string& Title() const { return FTitle; }
    void SetTitle(std::string title) { FTitle = std::move(title); }

    // Creates a form owned by the application; the first one is the main form.
    template <class T>
    T* CreateForm()
    {
        auto* form = new T(this); // owned by the application
        if (!FMainForm)
            FMainForm = form;
        return form;
    }
    TForm* MainForm() const override { return FMainForm; }

    // Shows the main form and dispatches messages until Terminate.
    void Run();
    void Terminate() override;
    bool Terminated() const override { return FTerminated; }
    // Dispatches the messages waiting now; returns at once when there are none.
    void ProcessMessages();
    // One message: waits for it when wait is true. False when WM_QUIT came.
    // An exception raised while the message is handled (a command started
    // by a key runs here, outside any window procedure) goes to the
    // default handler, and the loop that called goes on.
    bool HandleMessage(bool wait) override;

    // Runs action; an exception it raises goes to the default handler
    // instead of crossing into the system. For the entry points the system
    // calls: hooks, timers, callbacks. False when one was caught.
    template <class F>
    static bool Guard(F&& action) noexcept
    {
        try {
            action();
            return true;
        } catch (...) {
            ReportException();
            return false;
        }
    }

    // The pointer over the client area of every window of the program
    // while a long command runs (null: each window shows its own). Takes
    // effect at once when the pointer is over one of them.
    void SetCursorOverride(HCURSOR cursor);
    HCURSOR CursorOverride() const override { return FCursorOverride; }

    // The default handler: shows the current exception's message in an
    // error box captioned with the title. Call from inside a catch block.
    void HandleException();
    void ShowException(const std::string& message);
    // The error box text: "." is appended when the message's last character
    // sorts after "." (a double-byte character counting by its lead byte).
    static std::string ErrorBoxText(const std::string& message);

    // The plain message dialog: the title as caption, no icon, one "OK".
    void ShowMessage(const std::string& text);

    // Every form, in creation order.
    const std::vector<TForm*>& Forms() const { return FForms; }
    void AddForm(TForm* form) override { FForms.push_back(form); }
    void RemoveForm(TForm* form) override;

private:
    // Menu shortcuts, then Tab, arrows, Return and Esc in a form, before the
    // focused control sees them.
    static bool IsFormKey(const MSG& msg);

    std::string FTitle;
    TForm* FMainForm = nullptr;
    std::vector<TForm*> FForms;
    bool FTerminated = false;
    bool FShowingException = false;
    HCURSOR FCursorOverride = nullptr;
};

// The one application object of the process.
TApplication& Application();

} // namespace orbelin
