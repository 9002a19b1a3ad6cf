// The objects of a frame's non-client area share one hot object: entering,
// pressing and leaving hand it on, and each change repaints the object.

#include "skin/render/frame/SkinNCObject.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

class TCountingObject : public TNCObject {
public:
    explicit TCountingObject(TNCObject*& hot) : TNCObject(hot) { Visible = true; }
    void Paint() override { ++Paints; }
    int Paints = 0;
};

TEST(NCObject, EnteringMakesItHotAndTheFormerHotOneLeaves)
{
    TNCObject* hot = nullptr;
    TCountingObject a(hot), b(hot);
    a.MouseEnter();
    EXPECT_EQ(hot, &a);
    EXPECT_EQ(a.State, TNCObject::nsHot);
    EXPECT_EQ(a.Paints, 1);
    a.MouseEnter();
    EXPECT_EQ(a.Paints, 1) << "entering again changes nothing";
    b.MouseEnter();
    EXPECT_EQ(hot, &b);
    EXPECT_EQ(a.State, TNCObject::nsNormal);
    EXPECT_EQ(a.Paints, 2);
    EXPECT_EQ(b.State, TNCObject::nsHot);
}

TEST(NCObject, PressAndReleaseKeepItHot)
{
    TNCObject* hot = nullptr;
    TCountingObject a(hot), b(hot);
    a.MouseEnter();
    b.MouseDown();
    EXPECT_EQ(a.State, TNCObject::nsNormal);
    EXPECT_EQ(hot, &b);
    EXPECT_EQ(b.State, TNCObject::nsPressed);
    b.MouseUp();
    EXPECT_EQ(b.State, TNCObject::nsHot);
    EXPECT_EQ(hot, &b);
    EXPECT_EQ(b.Paints, 2);
}

TEST(NCObject, LeavingEmptiesTheSlot)
{
    TNCObject* hot = nullptr;
    TCountingObject a(hot);
    a.MouseDown();
    a.MouseLeave();
    EXPECT_EQ(hot, nullptr);
    EXPECT_EQ(a.State, TNCObject::nsNormal);
}

TEST(NCObject, AHiddenObjectNeverTurnsHot)
{
    TNCObject* hot = nullptr;
    TCountingObject a(hot), hidden(hot);
    hidden.Visible = false;
    a.MouseEnter();
    hidden.MouseEnter();
    EXPECT_EQ(hot, nullptr) << "the former hot one left all the same";
    EXPECT_EQ(hidden.State, TNCObject::nsNormal);
    EXPECT_EQ(hidden.Paints, 0);
    hidden.MouseDown();
    hidden.MouseUp();
    EXPECT_EQ(hidden.State, TNCObject::nsNormal);
    EXPECT_EQ(hidden.Paints, 0);
}

} // namespace
} // namespace orbelin
