#pragma once
// Picture, bevel line and timer.

#include "ui/Controls.h"

#include <memory>

namespace orbelin {

class TImage : public TGraphicControl {
public:
    std::string_view ClassName() const override { return "TImage"; }
    explicit TImage(TComponent* owner);
    TBitmap& Picture() { return FPicture; }
    bool Stretch() const { return FStretch; }
    void Paint(TCanvas& canvas) override;
    // Picture.Resource = 'NAME' names a BITMAP resource of the program.
    const TPropertyTable<TComponent>& Properties() const override;

private:
    TBitmap FPicture;
    bool FStretch = false;
};

class TBevel : public TGraphicControl {
public:
    std::string_view ClassName() const override { return "TBevel"; }
    enum class TShape { bsBox, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
    explicit TBevel(TComponent* owner);
    void Paint(TCanvas& canvas) override;
    const TPropertyTable<TComponent>& Properties() const override;
    TShape Shape() const { return FShape; }

private:
    TShape FShape = TShape::bsBox;
};

// A plain container with a face-coloured background.
class TPanel : public TWinControl {
public:
    std::string_view ClassName() const override { return "TPanel"; }
    explicit TPanel(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

// Ticks through the message loop of the thread that created it.
class TTimer : public TComponent {
public:
    std::string_view ClassName() const override { return "TTimer"; }
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned milliseconds);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    TNotifyEvent OnTimer;

    const TPropertyTable<TComponent>& Properties() const override;
    void Loaded() override
    {
        TComponent::Loaded();
        Update();
    }

private:
    void Update();
    static LRESULT CALLBACK TimerWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND FWindow = nullptr;
    unsigned FInterval = 1000;
    bool FEnabled = true;
};

} // namespace orbelin
