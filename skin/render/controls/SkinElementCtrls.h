#pragma once
// The less common skinned controls, which the program's own windows do not
// have: up-down buttons, progress and track bars, tabs, status bars and
// headers, each drawn from its element of the skin over the control's own
// painting.

#include "skin/render/controls/SkinCtrls.h"

namespace orbelin {

// The controls the program's windows do not have, each drawn from its
// element of the skin over the control's own painting.
class TSkinElementControl : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

protected:
    // The element and its frame for the current state; null draws nothing.
    virtual const TDataSkinObject* Element(int& frames, int& frame) const = 0;
};

class TSkinUpDown : public TSkinElementControl {
public:
    std::string_view ClassName() const override { return "TSkinUpDown"; }
    using TSkinElementControl::TSkinElementControl;
    void Draw(HDC dc, const RECT& rect) override;

protected:
    const TDataSkinObject* Element(int& frames, int& frame) const override;
};

class TSkinProgress : public TSkinElementControl {
public:
    std::string_view ClassName() const override { return "TSkinProgress"; }
    using TSkinElementControl::TSkinElementControl;
    void Draw(HDC dc, const RECT& rect) override;

protected:
    const TDataSkinObject* Element(int& frames, int& frame) const override;
};

class TSkinTrackBar : public TSkinElementControl {
public:
    std::string_view ClassName() const override { return "TSkinTrackBar"; }
    using TSkinElementControl::TSkinElementControl;
    void Draw(HDC dc, const RECT& rect) override;

protected:
    const TDataSkinObject* Element(int& frames, int& frame) const override;
};

class TSkinTab : public TSkinElementControl {
public:
    std::string_view ClassName() const override { return "TSkinTab"; }
    using TSkinElementControl::TSkinElementControl;

protected:
    const TDataSkinObject* Element(int& frames, int& frame) const override;
};

class TSkinTab31 : public TSkinTab {
public:
    std::string_view ClassName() const override { return "TSkinTab31"; }
    using TSkinTab::TSkinTab;
};

class TSkinStatusBar : public TSkinElementControl {
public:
    std::string_view ClassName() const override { return "TSkinStatusBar"; }
    using TSkinElementControl::TSkinElementControl;
    void Draw(HDC dc, const RECT& rect) override;

protected:
    const TDataSkinObject* Element(int& frames, int& frame) const override;
};

class TSkinHeader : public TSkinElementControl {
public:
    std::string_view ClassName() const override { return "TSkinHeader"; }
    using TSkinElementControl::TSkinElementControl;

protected:
    const TDataSkinObject* Element(int& frames, int& frame) const override;
};

} // namespace orbelin
