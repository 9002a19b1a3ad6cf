// The store's OnSkinControl event: asked for each control of a skinned form
// with the control's class name in capitals, and an object it supplies is
// the control's skin instead of the mapping's.

#include "skin/data/SkinData.h"
#include "skin/render/SkinManager.h"
#include "skin/render/controls/SkinCtrls.h"
#include "skin/render/controls/SkinScrolling.h"
#include "skin/render/frame/SkinFrame.h"
#include "tests/win/ProgramForms.h"
#include "tests/win/RealInput.h"
#include "tests/win/SkinTestSupport.h"
#include "tests/win/TestForm.h"
#include "ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orbelin {
namespace {

using namespace test;

TEST(SkinControlEvents, OnSkinControlHearsCapitalClassNamesAndItsObjectIsTheSkin)
{
    const TProgramForms forms;
    auto* store = Form1->Child<TSkinData>("SkinData1");
    std::vector<std::string> classes;
    TSkinControl* supplied = nullptr;
    TComponent* sender = nullptr;
    store->OnSkinControl = [&](TObject* from, TSkinData*, TComponent*, TComponent* control, const std::string& className,
                               TComponent*& skinned) {
        classes.push_back(className);
        sender = dynamic_cast<TComponent*>(from);
        if (className == "TMEMO") {
            // A memo skinned as a plain scroll bar object of the caller's choosing.
            supplied = new TSkinScrollBar(control); // kept by the frame's list
            skinned = supplied;
        }
    };
    auto form = std::make_unique<TTestForm>(&Application());
    form->Read("object EventsForm: TTestForm\n  ClientWidth = 240\n  ClientHeight = 140\n  Caption = 'Events'\n"
               "  Left = 20\n  Top = 20\n"
               "  object Note: TMemo\n    Left = 8\n    Top = 8\n    Width = 120\n    Height = 60\n  end\n"
               "  object Name1: TEdit\n    Left = 8\n    Top = 80\n    Width = 120\n    Height = 21\n  end\nend\n");
    form->Show();
    const bool skinned = WaitForFrame(form->WindowHandle());
    store->OnSkinControl = nullptr;
    ASSERT_TRUE(skinned);
    EXPECT_EQ(classes, (std::vector<std::string>{"TMEMO", "TEDIT"}));
    EXPECT_EQ(sender, FrameOf(form->WindowHandle())) << "the frame asks";
    ASSERT_NE(supplied, nullptr);
    int forMemo = 0;
    bool suppliedListed = false;
    HWND memo = form->Child<TWinControl>("Note")->WindowHandle();
    for (TSkinControl* control : FrameOf(form->WindowHandle())->Controls()) {
        suppliedListed |= control == supplied;
        forMemo += control->Subject() == form->Child<TComponent>("Note") || control->Window() == memo;
    }
    EXPECT_TRUE(suppliedListed) << "the supplied object is the memo's skin";
    EXPECT_EQ(forMemo, 1) << "and the mapping made no second one";
}

// A print preview makes its pages' windows as it shows them: a control of a
// form named as a preview that has no window yet when the frame walks the
// form is left alone; on another form it gets its window and its skin.
TEST(SkinControlEvents, AControlOfAPreviewWithoutItsWindowYetIsLeftAlone)
{
    const TProgramForms forms;
    auto* store = Form1->Child<TSkinData>("SkinData1");
    for (const std::string name : {"ReportPreview", "Report"}) {
        auto form = std::make_unique<TTestForm>(&Application());
        form->Read("object " + name + ": TTestForm\n  ClientWidth = 240\n  ClientHeight = 120\n  Caption = '" + name +
                   "'\n  Left = 20\n  Top = 20\n"
                   "  object Go: TButton\n    Left = 8\n    Top = 8\n    Width = 75\n    Height = 25\n  end\nend\n");
        form->Show();
        ASSERT_TRUE(WaitForFrame(form->WindowHandle()));
        auto* late = new TEdit(form.get()); // owned by the form
        late->SetParent(form.get());
        late->SetBounds(8, 48, 120, 21);
        ASSERT_FALSE(late->HandleAllocated());
        // Switching the skin off and on walks the form's controls again.
        store->SetActive(false);
        ASSERT_TRUE(WaitFor([] { return TSkinManage::Instance()->Forms().empty(); }, 2000));
        store->SetActive(true);
        ASSERT_TRUE(WaitFor([&] {
            const TSkinFrame* frame = FrameOf(form->WindowHandle());
            return frame && frame->FrameState() == TSkinFrame::fsRunning;
        }, 3000));
        bool skinned = false;
        for (TSkinControl* control : FrameOf(form->WindowHandle())->Controls())
            skinned |= late->HandleAllocated() && control->Window() == late->WindowHandle();
        if (name == "ReportPreview") {
            EXPECT_FALSE(late->HandleAllocated()) << "the preview's control keeps waiting for its window";
            EXPECT_FALSE(skinned);
        } else {
            EXPECT_TRUE(skinned) << "another form's control gets its window and its skin";
        }
    }
    ASSERT_TRUE(WaitForFrame(Form1->WindowHandle()));
}

} // namespace
} // namespace orbelin
