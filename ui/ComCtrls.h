#pragma once
// The scroll bar control and the up-down control.

#include "ui/Controls.h"

#include <string>

namespace orbelin {

enum class TScrollBarKind { sbHorizontal, sbVertical };

// A scroll bar on its own (the system's SCROLLBAR class).
class TScrollBar : public TWinControl {
public:
    std::string_view ClassName() const override { return "TScrollBar"; }
    explicit TScrollBar(TComponent* owner);
    TScrollBarKind Kind() const { return FKind; }
    int Position() const;
    void SetPosition(int position);
    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    TScrollBarKind FKind = TScrollBarKind::sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPageSize = 0;
    int FPosition = 0;
};

enum class TUDOrientation { udHorizontal, udVertical };

// Two arrow buttons that step a position.
class TUpDown : public TWinControl {
public:
    std::string_view ClassName() const override { return "TUpDown"; }
    explicit TUpDown(TComponent* owner);
    int Position() const;
    const TPropertyTable<TComponent>& Properties() const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    TUDOrientation FOrientation = TUDOrientation::udVertical;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
};

// A list in report view: columns under a header, one row per item.
class TListView : public TWinControl {
public:
    std::string_view ClassName() const override { return "TListView"; }
    explicit TListView(TComponent* owner);
    void AddColumn(const std::string& caption, int width);
    void AddItem(const std::string& caption);
    int ItemCount() const;
    // The header control above the columns, once the window exists.
    HWND HeaderHandle() const;

protected:
    void CreateParams(TCreateParams& params) override;
};

} // namespace orbelin
