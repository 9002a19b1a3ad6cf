// Popup menus with owner-drawn items: measuring, drawing and choosing.

#include "tests/win/WinTestSupport.h"
#include "ui/Application.h"
#include "ui/Menus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace orbelin {
namespace {

HWND WaitForMenuWindow(int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (HWND menu = FindWindowA("#32768", nullptr); menu && IsWindowVisible(menu))
            return menu;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

class PopupMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().Initialize();
        owner = new TComponent(nullptr);
        menu = new TPopupMenu(owner);
        for (const char* caption : {"还原", "-", "关闭"}) {
            auto* item = new TMenuItem(owner);
            item->Caption = caption;
            menu->Items().Add(item);
            items.push_back(item);
        }
    }
    void TearDown() override { delete owner; }

    // Shows the menu while a watcher presses the given keys in it.
    TMenuItem* ShowAndPress(std::initializer_list<WPARAM> keys)
    {
        std::atomic<bool> seen = false;
        std::thread watcher([&] {
            HWND window = WaitForMenuWindow(5000);
            if (!window)
                return;
            seen = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            for (WPARAM key : keys)
                PostMessageA(window, WM_KEYDOWN, key, 0);
        });
        TMenuItem* chosen = menu->Popup(100, 100);
        watcher.join();
        EXPECT_TRUE(seen);
        return chosen;
    }

    TComponent* owner = nullptr;
    TPopupMenu* menu = nullptr;
    std::vector<TMenuItem*> items;
};

TEST_F(PopupMenu, OwnerDrawItemsAreMeasuredAndDrawnByTheirEvents)
{
    menu->OwnerDraw = true;
    int measured = 0, drawn = 0;
    for (TMenuItem* item : items) {
        item->OnMeasureItem = [&](TMenuItem*, HDC, int& w, int& h) {
            ++measured;
            w = 120;
            h = 22;
        };
        item->OnAdvancedDrawItem = [&](TMenuItem*, HDC, const RECT& r, UINT) {
            ++drawn;
            EXPECT_EQ(r.bottom - r.top, 22);
        };
    }
    EXPECT_EQ(ShowAndPress({VK_ESCAPE}), nullptr);
    EXPECT_EQ(measured, 3);
    EXPECT_GE(drawn, 3);
}

TEST_F(PopupMenu, ChoosingAnItemRunsItsClickAfterTheMenuCloses)
{
    int clicks = 0;
    items[2]->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, items[2]);
        EXPECT_EQ(menu->Handle(), nullptr) << "the menu is gone when the click runs";
        ++clicks;
    };
    // Down twice skips the separator and lands on the last item.
    EXPECT_EQ(ShowAndPress({VK_DOWN, VK_DOWN, VK_RETURN}), items[2]);
    EXPECT_EQ(clicks, 1);
}

TEST_F(PopupMenu, DisabledItemsCannotBeChosen)
{
    items[0]->Enabled = false;
    items[2]->Enabled = false;
    EXPECT_EQ(ShowAndPress({VK_DOWN, VK_RETURN, VK_ESCAPE}), nullptr);
}

TEST(MenuItems, FreeingAnItemTakesItOutOfItsParent)
{
    TComponent owner(nullptr);
    auto* root = new TMenuItem(&owner);
    auto* child = new TMenuItem(&owner);
    root->Add(child);
    ASSERT_EQ(root->Count(), 1);
    EXPECT_EQ(root->FindCommand(child->Command()), child);
    delete child;
    EXPECT_EQ(root->Count(), 0);
}

} // namespace
} // namespace orbelin
