#pragma once
// What the skin store needs from the platform side: the process-wide skin
// manager, the old-skin message box and the face brush. The Windows drawing
// code installs the real ones; without them the store works on its own
// (tests install recording fakes).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace orbelin {

class TComponent;
class TSkinData;

// Commands a store posts to the manager.
enum TSkinCommand : int { scSkin = 1, scUnskin = 2, scRefresh = 3, scPurge = 6 };

// The manager side of Loaded, Active and ApplySkin.
class ISkinManager {
public:
    virtual ~ISkinManager() = default;
    virtual void RegisterStore(TSkinData* store) = 0;
    virtual void UnregisterStore(TSkinData* store) = 0;
    virtual void InstallHook() = 0;
    virtual void PostCommand(int command, int delay) = 0;
    virtual void SetPendingStore(TSkinData* store) = 0;
    virtual void SetActive(bool active) = 0;
    // A store that skins its own form or dialogs counts one more started window.
    virtual void CountStartedWindow() = 0;
    // Skins the owner's window at once when the owner is a form.
    virtual void SkinOwnerForm(TComponent* owner) = 0;
    virtual void DropTitleButtons() = 0;
};

using TSkinManagerFactory = std::function<std::unique_ptr<ISkinManager>()>;

// The one manager, or null before the first store's Loaded created it.
ISkinManager* SkinManager();
// Creates the manager through the installed factory when none exists yet;
// null when no factory is installed.
ISkinManager* EnsureSkinManager();
void SetSkinManagerFactory(TSkinManagerFactory factory);
// Frees the manager (the program's end, tests).
void FreeSkinManager();

// Shows a modal message box; by default ShowSystemMessage (base/SystemMessage.h).
using TSkinMessageProc = std::function<void(const std::string& text)>;
void SetSkinMessageProc(TSkinMessageProc proc);
void ShowSkinMessage(const std::string& text);

// Platform brush handles for FaceBrush: create(colour) -> handle, destroy(handle).
struct TSkinBrushHooks {
    std::function<uintptr_t(uint32_t color)> Create;
    std::function<void(uintptr_t handle)> Destroy;
};
void SetSkinBrushHooks(TSkinBrushHooks hooks);
const TSkinBrushHooks& SkinBrushHooks();

} // namespace orbelin
