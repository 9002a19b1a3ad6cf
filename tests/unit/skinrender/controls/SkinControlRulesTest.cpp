// Which skin object each kind of control gets.

#include "skin/data/SkinData.h"
#include "skin/render/controls/SkinControlRules.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

TControlTraits Traits(const char* name)
{
    TControlTraits t;
    t.ClassName = name;
    t.Windowed = true;
    return t;
}

TEST(ControlRules, TheProgramsControls)
{
    TSkinData store(nullptr);
    TControlTraits button = Traits("TButton");
    button.Button = true;
    EXPECT_EQ(ChooseComponentSkin(button, store).Kind, TSkinKind::Button);
    TControlTraits bitBtn = Traits("TBitBtn");
    bitBtn.Button = bitBtn.BitBtn = true;
    EXPECT_EQ(ChooseComponentSkin(bitBtn, store).Kind, TSkinKind::BitButton);
    TControlTraits radio = Traits("TRadioButton");
    radio.RadioButton = true;
    EXPECT_EQ(ChooseComponentSkin(radio, store).Kind, TSkinKind::RadioButton);
    TControlTraits group = Traits("TGroupBox");
    group.GroupBox = true;
    EXPECT_EQ(ChooseComponentSkin(group, store), (TSkinChoice{TSkinKind::GroupBox, true, true}));
    TControlTraits combo = Traits("TComboBox");
    combo.ComboBox = true;
    EXPECT_EQ(ChooseComponentSkin(combo, store).Kind, TSkinKind::ComBox);
    TControlTraits memo = Traits("TMemo");
    memo.Memo = memo.Edit = true;
    EXPECT_EQ(ChooseComponentSkin(memo, store), (TSkinChoice{TSkinKind::ScrollBar, true}));
    TControlTraits label = Traits("TLabel");
    label.Windowed = false;
    EXPECT_EQ(ChooseComponentSkin(label, store).Kind, TSkinKind::None);
}

TEST(ControlRules, MembersOfTheSetSwitchKindsOff)
{
    TSkinData store(nullptr);
    TControlTraits bitBtn = Traits("TBitBtn");
    bitBtn.Button = bitBtn.BitBtn = true;
    store.SkinControls.Exclude(TSkinControlType::xcBitBtn);
    EXPECT_EQ(ChooseComponentSkin(bitBtn, store).Kind, TSkinKind::None) << "a bit button is no plain button";
    TControlTraits group = Traits("TGroupBox");
    group.GroupBox = true;
    store.SkinControls.Exclude(TSkinControlType::xcPanel);
    EXPECT_EQ(ChooseComponentSkin(group, store).Kind, TSkinKind::None) << "group boxes follow xcPanel";
    store.SkinControls.Exclude(TSkinControlType::xcScrollbar);
    TControlTraits memo = Traits("TMemo");
    memo.Memo = memo.Edit = true;
    EXPECT_EQ(ChooseComponentSkin(memo, store), (TSkinChoice{TSkinKind::Edit, false, false, true}));
}

TEST(ControlRules, Skin3rdLinesComeFirstAndStopTheMapping)
{
    TSkinData store(nullptr);
    EXPECT_EQ(Skin3rdKind(store, "TRzButton"), "button");
    EXPECT_EQ(Skin3rdKind(store, "trzbutton"), "button") << "letter case is ignored";
    EXPECT_EQ(Skin3rdKind(store, "TRz"), "") << "the whole class name and the equals sign";
    TControlTraits rz = Traits("TRzCheckBox");
    EXPECT_EQ(ChooseComponentSkin(rz, store).Kind, TSkinKind::CheckBox);
    TControlTraits panel = Traits("TTBDock");
    EXPECT_EQ(ChooseComponentSkin(panel, store), (TSkinChoice{TSkinKind::Box, true, false, false, false, false, true}));

    store.Skin3rd().Add("TMyButton=sparkle");
    TControlTraits mine = Traits("TMyButton");
    mine.Button = true; // would be a button without the line
    EXPECT_EQ(ChooseComponentSkin(mine, store).Kind, TSkinKind::None) << "an unknown kind stops the mapping";

    store.SkinControls.Exclude(TSkinControlType::xcCheckBox);
    EXPECT_EQ(ChooseComponentSkin(rz, store).Kind, TSkinKind::None) << "its member switched off stops it too";
}

TEST(ControlRules, NamedClassesAndTags)
{
    TSkinData store(nullptr);
    EXPECT_EQ(ChooseComponentSkin(Traits("TQRPreview"), store), (TSkinChoice{TSkinKind::WalkOnly, false, true}));
    EXPECT_EQ(ChooseComponentSkin(Traits("TUpDown"), store).Kind, TSkinKind::UpDown);
    EXPECT_EQ(ChooseComponentSkin(Traits("TSpeedButton"), store).Kind, TSkinKind::SpeedButton);
    EXPECT_EQ(ChooseComponentSkin(Traits("TScrollBar"), store).Kind, TSkinKind::ScControl);
    store.SkinControls.Exclude(TSkinControlType::xcSpeedButton);
    EXPECT_EQ(ChooseComponentSkin(Traits("TSpeedButton"), store).Kind, TSkinKind::None);
    EXPECT_EQ(ChooseComponentSkin(Traits("TTabSet"), store).Kind, TSkinKind::None) << "no Tabs element loaded";
    TControlTraits tagged = Traits("TCustomThing");
    tagged.Tag = 55;
    EXPECT_EQ(ChooseComponentSkin(tagged, store).Kind, TSkinKind::ScrollBar);
    TControlTraits list = Traits("TListView");
    list.ListView = list.ScrollStyle = true;
    EXPECT_EQ(ChooseComponentSkin(list, store), (TSkinChoice{TSkinKind::ListView})) << "its header too, its colour kept";
    store.SkinControls.Exclude(TSkinControlType::xcScrollbar);
    EXPECT_EQ(ChooseComponentSkin(list, store).Kind, TSkinKind::None) << "list views follow xcScrollbar";
    TControlTraits picker = Traits("TDateTimePicker");
    picker.PickerMode = 1;
    EXPECT_EQ(ChooseComponentSkin(picker, store).Kind, TSkinKind::Edit);
    picker.PickerMode = 0;
    EXPECT_EQ(ChooseComponentSkin(picker, store).Kind, TSkinKind::ComBox);
    EXPECT_TRUE(SkippedByTag(199, 99));
    EXPECT_TRUE(SkippedByTag(99, 99));
    EXPECT_FALSE(SkippedByTag(98, 99));
    EXPECT_FALSE(SkippedByTag(0, 99));
}

TEST(ControlRules, RawDialogChildrenByClassAndStyle)
{
    EXPECT_EQ(ChooseRawSkin("Button", 0x7).Kind, TSkinKind::None) << "group box";
    EXPECT_EQ(ChooseRawSkin("Button", 0x0).Kind, TSkinKind::Button) << "push button";
    EXPECT_EQ(ChooseRawSkin("Button", 0x1).Kind, TSkinKind::Button) << "default push button";
    EXPECT_EQ(ChooseRawSkin("Button", 0x2).Kind, TSkinKind::CheckBox);
    EXPECT_EQ(ChooseRawSkin("Button", 0x3).Kind, TSkinKind::CheckBox) << "auto check box";
    EXPECT_EQ(ChooseRawSkin("Button", 0x5).Kind, TSkinKind::CheckBox) << "three-state";
    EXPECT_EQ(ChooseRawSkin("Button", 0x4).Kind, TSkinKind::RadioButton);
    EXPECT_EQ(ChooseRawSkin("Button", 0x9).Kind, TSkinKind::RadioButton) << "auto radio button";
    EXPECT_EQ(ChooseRawSkin("ComboBox", 0x3).Kind, TSkinKind::ComBox);
    EXPECT_EQ(ChooseRawSkin("ComboBox", 0x1).Kind, TSkinKind::None) << "simple combo box";
    EXPECT_TRUE(ChooseRawSkin("ComboBoxEx32", 0).OnFirstChild);
    EXPECT_EQ(ChooseRawSkin("ScrollBar", 0).Kind, TSkinKind::Sizer);
    EXPECT_EQ(ChooseRawSkin("SysTabControl32", 0x2000).Kind, TSkinKind::None);
    EXPECT_EQ(ChooseRawSkin("SysTabControl32", 0).Kind, TSkinKind::Tab);
    EXPECT_EQ(ChooseRawSkin("Edit", 0).Kind, TSkinKind::Edit);
    EXPECT_EQ(ChooseRawSkin("Static", 0).Kind, TSkinKind::None);
    EXPECT_TRUE(ChooseRawSkin("Edit", 0).ByHandle);
}

} // namespace
} // namespace orbelin
