#pragma once
// TSkinManage: the one object of the process that decides which windows
// are skinned. It watches window creation, activation and destruction of
// the user-interface thread through a CBT hook, attaches a frame skin to
// every top-level window that qualifies and a popup skin to every popup
// menu window, and carries out the commands the skin stores post (skin,
// unskin, refresh) 250 ms later on its timer. It keeps the frames and popup
// skins and lets them go (SkinLife).

#include "skin/data/SkinHost.h"
#include "skin/render/core/SkinHosts.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orbelin {

class TForm;
class TSkinData;
class TSkinFrame;
class TSkinPopupMenu;
class TTimer;

class TSkinManage : public ISkinManager, public ISkinEngine {
public:
    TSkinManage();
    ~TSkinManage() override;

    // The manager of the process, or null.
    static TSkinManage* Instance() { return FInstance; }

    // ISkinManager: what the stores ask.
    void RegisterStore(TSkinData* store) override;
    void UnregisterStore(TSkinData* store) override;
    void InstallHook() override;
    void PostCommand(int command, int delay) override;
    void SetPendingStore(TSkinData* store) override { PendingStore = store; }
    void SetActive(bool active) override { Active = active; }
    void CountStartedWindow() override { ++StartedCount; }
    void SkinOwnerForm(TComponent* owner) override;
    void DropTitleButtons() override;

    // ISkinEngine: what the frames and menus ask.
    bool SkinningActive() const override { return Active; }
    bool MdiChildMaximized(HWND client) const override;
    // Some skinned MDI frame shows a maximized child.
    bool MdiChildMaximized() const { return !FMaximizedClients.empty(); }
    void PostToFrame(HWND window, UINT msg) const override;
    void SkinMdiChild(HWND child) override { SkinWindow(child); }
    void StartMenuBarTracking() override { MenuBarTracking = true; }
    void MarkPopupsOfMenuBar() override;
    const TSkinBitmap* MainDefaultIcon() const override;
    void FrameFinished() override { PurgeClosed(); }

    bool SkinWindow(HWND window);
    void SkinForm(TForm* form);
    TSkinData* FindStore(HWND window) const;
    TSkinFrame* FindFormSkin(HWND window) const;
    // Lets go of every frame whose window has been destroyed.
    void PurgeClosed();
    void ExecuteCommand();
    bool ShouldSkinClass(const std::string& className) const;

    bool SkinPopupWindow(HWND window);
    bool UnskinPopupWindow(HWND window);
    bool IsPopupSkinned(HWND window) const;
    TSkinPopupMenu* PopupOf(HWND window) const override;

    void SetMdiMaximized(HWND client, bool flag) override;
    int CountMdiChildren() const;

    static TForm* FormOfWindow(HWND window);
    static bool IsEmbeddedChild(HWND window);

    const std::vector<TSkinFrame*>& Forms() const { return FForms; }
    const std::vector<TSkinData*>& Stores() const { return FStores; }
    size_t PopupCount() const { return FPopups.size(); }

    bool Active = false;
    bool SkinAllPass = false;
    bool MenuBarTracking = false;
    int PendingCommand = 0;
    TSkinData* PendingStore = nullptr;
    int StartedCount = 0;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    LRESULT Hook(int code, WPARAM wParam, LPARAM lParam);
    void DetachAndFree(TSkinFrame* frame);
    // Takes the frame or popup skin off its list and lets it go.
    void Free(TSkinFrame* frame);
    void Free(TSkinPopupMenu* popup);
    // Unskins every window the store skins: nothing may read a store that goes.
    void DropSkinsOf(const TSkinData* store);
    void RefreshFrame(TSkinFrame* frame);

    static TSkinManage* FInstance;
    std::unique_ptr<TTimer> FTimer;
    HHOOK FHook = nullptr;
    std::vector<TSkinFrame*> FForms;        // each let go by this manager
    std::vector<TSkinPopupMenu*> FPopups;   // each let go by this manager
    std::vector<TSkinData*> FStores; // not owned
    // The MDI clients whose active child is maximized, as last told.
    std::vector<HWND> FMaximizedClients;
};

// Installs the manager factory and the face brush hooks; the program calls
// it before the main form's description is read.
void InstallSkinEngine();

} // namespace orbelin
