#pragma once
// What the component layer's controls and forms reach above them through:
// the form a control sits on, the application object and the handler of
// the exceptions caught where the system calls in. The upper layers answer
// (TForm, TApplication), so no file of the layer includes one above it.

#include <windows.h>

#include <functional>

namespace orbelin {

class TForm;
class TWinControl;

// What a control asks of the form it sits on; the form (TForm) answers, so
// that this layer needs nothing above it.
class IFormHost {
public:
    virtual TForm* Form() = 0;
    virtual void SetActiveControl(TWinControl* control) = 0;
    virtual void SetModalResult(int result) = 0;

protected:
    ~IFormHost() = default;
};

// What the controls and forms ask of the program's application object; the
// application (TApplication) answers.
class IApplicationHost {
public:
    // The pointer over every window's client area, or null.
    virtual HCURSOR CursorOverride() const = 0;
    virtual void AddForm(TForm* form) = 0;
    virtual void RemoveForm(TForm* form) = 0;
    virtual TForm* MainForm() const = 0;
    virtual bool HandleMessage(bool wait) = 0;
    virtual bool Terminated() const = 0;
    virtual void Terminate() = 0;

protected:
    ~IApplicationHost() = default;
};

// The one application object of the process, as the layers below it see it.
IApplicationHost& ApplicationHost();

// What the layer's entry points that the system calls (window procedures,
// timers, menus) do with an exception they caught: hand it to the handler
// the application installed. Call from inside a catch block. Without a
// handler the exception is dropped; it never crosses into the system.
using TExceptionHandler = std::function<void()>;
void SetExceptionHandler(TExceptionHandler handler);
void ReportException() noexcept;

} // namespace orbelin
