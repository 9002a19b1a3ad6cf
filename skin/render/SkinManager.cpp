#include "skin/render/SkinManager.h"

#include "skin/data/SkinData.h"
#include "skin/render/core/SkinMessages.h"
#include "skin/render/core/SkinWindowInfo.h"
#include "skin/render/draw/SkinDraw.h"
#include "skin/render/frame/SkinFrame.h"
#include "skin/render/menus/SkinPopupMenu.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace orbelin {

TSkinManage* TSkinManage::FInstance = nullptr;

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool AnswersSkinned(HWND window) { return SendMessageA(window, SKM_SKINNED, 0, 0) == 1; }

} // namespace

TSkinManage::TSkinManage() : FTimer(std::make_unique<TTimer>(nullptr))
{
    FInstance = this;
    FTimer->SetEnabled(false);
    FTimer->SetInterval(TSkinData::CommandDelay);
    FTimer->OnTimer = [this](TObject*) {
        try {
            ExecuteCommand();
        } catch (...) {
            // A command that fails leaves the windows as they are.
        }
    };
}

TSkinManage::~TSkinManage()
{
    FTimer.reset();
    if (FHook)
        UnhookWindowsHookEx(FHook);
    FHook = nullptr;
    // A finished frame only has to go: its window and maybe its store are gone.
    PurgeClosed();
    while (!FForms.empty()) {
        TSkinFrame* frame = FForms.back();
        frame->SetFrameState(TSkinFrame::fsDestroying);
        frame->Detach();
        Free(frame);
    }
    while (!FPopups.empty())
        Free(FPopups.back());
    TSkinImageCache::Clear();
    FInstance = nullptr;
}

void TSkinManage::RegisterStore(TSkinData* store)
{
    if (std::find(FStores.begin(), FStores.end(), store) == FStores.end())
        FStores.push_back(store);
}

void TSkinManage::UnregisterStore(TSkinData* store)
{
    std::erase(FStores, store);
    if (PendingStore == store)
        PendingStore = nullptr;
    DropSkinsOf(store);
}

void TSkinManage::DropSkinsOf(const TSkinData* store)
{
    PurgeClosed();
    const auto ofStore = [store](const auto* skin) { return skin->Skin() == store; };
    for (auto found = std::find_if(FForms.rbegin(), FForms.rend(), ofStore); found != FForms.rend();
         found = std::find_if(FForms.rbegin(), FForms.rend(), ofStore)) {
        TSkinFrame* frame = *found;
        // A form being destroyed has left the application's list: its
        // window goes next, so its frame lets go of it as of a destroyed one.
        if (frame->Form() && !FormOfWindow(frame->Window())) {
            frame->SetFrameState(TSkinFrame::fsDestroying);
            frame->DetachOnDestroy();
            Free(frame);
        } else {
            DetachAndFree(frame);
        }
    }
    std::vector<TSkinPopupMenu*> popups;
    std::copy_if(FPopups.begin(), FPopups.end(), std::back_inserter(popups), ofStore);
    for (TSkinPopupMenu* popup : popups)
        Free(popup);
}

void TSkinManage::InstallHook()
{
    if (!FHook)
        FHook = SetWindowsHookExA(WH_CBT, &HookProc, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    TSkinManage* self = FInstance;
    if (!self)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    try {
        return self->Hook(code, wParam, lParam);
    } catch (...) {
        // A window the skin cannot take stays plain.
        return CallNextHookEx(self->FHook, code, wParam, lParam);
    }
}

LRESULT TSkinManage::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        auto window = reinterpret_cast<HWND>(wParam);
        switch (code) {
        case HCBT_CREATEWND: {
            const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam)->lpcs;
            const std::string cls = WindowClassName(window);
            // A size grip inside a skinned window would show the system's look.
            if (cls == "ScrollBar" && (create->style & SBS_SIZEGRIP) && FindFormSkin(create->hwndParent))
                return 10;
            if (cls == "#32768")
                SkinPopupWindow(window);
            break;
        }
        case HCBT_DESTROYWND: UnskinPopupWindow(window); break;
        case HCBT_ACTIVATE:
            if (StartedCount == 0)
                StartedCount = 1;
            SkinWindow(window);
            break;
        default: break;
        }
    }
    return CallNextHookEx(FHook, code, wParam, lParam);
}

void TSkinManage::PostCommand(int command, int delay)
{
    PendingCommand = command;
    FTimer->SetInterval(static_cast<unsigned>(delay));
    if (StartedCount != 0) {
        FTimer->SetEnabled(false);
        FTimer->SetEnabled(true);
        return;
    }
    // Before the first activation there is nothing to skin yet; the hook's
    // activation does the work.
    if (command == scSkin || command == scUnskin)
        Active = command == scSkin;
}

void TSkinManage::SkinOwnerForm(TComponent* owner)
{
    if (auto* form = dynamic_cast<TForm*>(owner); form && form->HandleAllocated())
        SkinWindow(form->WindowHandle());
}

void TSkinManage::DropTitleButtons()
{
    for (TSkinFrame* frame : FForms)
        frame->FreeTitleButtons();
    // The records and images are replaced: their device copies go too.
    TSkinImageCache::Clear();
}

TForm* TSkinManage::FormOfWindow(HWND window)
{
    for (TForm* form : Application().Forms())
        if (form->HandleAllocated() && form->WindowHandle() == window)
            return form;
    return nullptr;
}

bool TSkinManage::IsEmbeddedChild(HWND window)
{
    if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
        return false;
    return Lower(WindowClassName(GetParent(window))) != "mdiclient";
}

bool TSkinManage::SkinWindow(HWND window)
{
    if (!Active || !IsWindow(window))
        return false;
    PurgeClosed();
    if (FindFormSkin(window))
        return false;
    TForm* form = FormOfWindow(window);
    if (!SkinAllPass && IsEmbeddedChild(window))
        return false;
    RECT r{};
    GetWindowRect(window, &r);
    if ((r.right - r.left) * (r.bottom - r.top) == 0)
        return false;
    if (form && form->Tag == 99)
        return false;
    const std::string cls = WindowClassName(window);
    if (cls == "TApplication" || !ShouldSkinClass(cls))
        return false;
    TSkinData* store = FindStore(window);
    // Asked last: only a window this manager would skin hears the question.
    if (!store || !store->SkinLoaded() || AnswersSkinned(window))
        return false;
    auto* frame = new TSkinFrame(*this); // let go by this manager
    frame->SetWindow(window);
    FForms.push_back(frame);
    if (form)
        frame->AttachToForm(store, form);
    else
        frame->AttachToWindow(store);
    PostMessageA(window, SKM_START, 0, 1000);
    return true;
}

void TSkinManage::SkinForm(TForm* form)
{
    if (!form || !form->Visible() || !form->HandleAllocated())
        return;
    if (GetWindowLongPtrA(form->WindowHandle(), GWL_STYLE) & WS_CHILD)
        return; // this program's forms have no MDI children
    SkinWindow(form->WindowHandle());
}

bool TSkinManage::ShouldSkinClass(const std::string& className) const
{
    const auto main = std::find_if(FStores.begin(), FStores.end(),
                                   [](TSkinData* s) { return s->SkinFormtype() == TSkinFormType::sfMainform; });
    if (main == FStores.end())
        return true;
    TSkinData* store = *main;
    if (store->OnFormSkin) {
        bool doSkin = true;
        store->OnFormSkin(store, className, doSkin);
        return doSkin;
    }
    if (className == "SysMonthCal32")
        return false;
    if (className.rfind("Tfr", 0) == 0 && store->SkinControls.Contains(TSkinControlType::xcFastReport))
        return false;
    return true;
}

TSkinData* TSkinManage::FindStore(HWND window) const
{
    for (auto it = FStores.rbegin(); it != FStores.rend(); ++it) {
        auto* owner = dynamic_cast<TWinControl*>((*it)->Owner());
        if ((*it)->SkinFormtype() == TSkinFormType::sfOnlyThisForm && owner && owner->HandleAllocated() &&
            owner->WindowHandle() == window)
            return *it;
    }
    const std::string cls = Lower(WindowClassName(window));
    auto last = [this](TSkinFormType type) -> TSkinData* {
        for (auto it = FStores.rbegin(); it != FStores.rend(); ++it)
            if ((*it)->SkinFormtype() == type)
                return *it;
        return nullptr;
    };
    if (cls == "tmessageform" || cls == "#32770")
        if (TSkinData* dialog = last(TSkinFormType::sfDialog))
            return dialog;
    if (TSkinData* main = last(TSkinFormType::sfMainform))
        return main;
    return FStores.empty() ? nullptr : FStores.front();
}

TSkinFrame* TSkinManage::FindFormSkin(HWND window) const
{
    for (TSkinFrame* frame : FForms)
        if (frame->Window() == window)
            return frame;
    return nullptr;
}

const TSkinBitmap* TSkinManage::MainDefaultIcon() const
{
    const TSkinBitmap* icon = nullptr;
    for (TSkinData* store : FStores)
        if (store->SkinFormtype() == TSkinFormType::sfMainform && !store->DefaultIcon->Empty())
            icon = store->DefaultIcon.get();
    return icon;
}

void TSkinManage::PurgeClosed()
{
    std::vector<TSkinFrame*> closed;
    for (TSkinFrame* frame : FForms)
        if (frame->FrameState() == TSkinFrame::fsFinished)
            closed.push_back(frame);
    for (TSkinFrame* frame : closed)
        Free(frame);
}

void TSkinManage::Free(TSkinFrame* frame)
{
    std::erase(FForms, frame);
    frame->Release();
    // A client that went with its frame may give its handle to another window.
    std::erase_if(FMaximizedClients, [](HWND client) { return !IsWindow(client); });
}

void TSkinManage::DetachAndFree(TSkinFrame* frame)
{
    frame->Detach();
    HWND window = frame->Window();
    Free(frame);
    if (IsWindow(window)) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        UpdateWindow(window);
    }
}

void TSkinManage::RefreshFrame(TSkinFrame* frame)
{
    // New metrics and title buttons, the window refitted to them.
    frame->Reskin();
}

void TSkinManage::ExecuteCommand()
{
    if (!PendingStore)
        return;
    // A frame's menu loop runs on it: the menu closes first and the command
    // runs at the next tick.
    if (std::any_of(FForms.begin(), FForms.end(), [](const TSkinFrame* f) { return f->InModalLoop(); })) {
        EndMenu();
        ReleaseCapture(); // a dragged thumb lets go
        return;
    }
    FTimer->SetEnabled(false);
    TSkinData* store = PendingStore;
    auto framesOf = [this, store] {
        std::vector<TSkinFrame*> frames;
        for (TSkinFrame* frame : FForms)
            if (frame->Skin() == store)
                frames.push_back(frame);
        return frames;
    };
    if (store->SkinFormtype() == TSkinFormType::sfOnlyThisForm) {
        switch (PendingCommand) {
        case scSkin:
            Active = true;
            SkinAllPass = true;
            SkinForm(dynamic_cast<TForm*>(store->Owner()));
            SkinAllPass = false;
            break;
        case scUnskin: {
            Active = false;
            PurgeClosed();
            const auto frames = framesOf();
            if (!frames.empty())
                DetachAndFree(frames.back());
            break;
        }
        case scRefresh: {
            PurgeClosed();
            const auto frames = framesOf();
            if (!frames.empty()) {
                RefreshFrame(frames.front());
                frames.front()->ApplyColours();
            }
            break;
        }
        default: PurgeClosed(); break;
        }
    } else {
        switch (PendingCommand) {
        case scSkin: {
            Active = true;
            SkinAllPass = true;
            PurgeClosed();
            const auto forms = Application().Forms();
            for (auto it = forms.rbegin(); it != forms.rend(); ++it)
                SkinForm(*it);
            SkinAllPass = false;
            break;
        }
        case scUnskin:
            Active = false;
            PurgeClosed();
            while (!FForms.empty())
                DetachAndFree(FForms.back());
            break;
        case scRefresh: {
            PurgeClosed();
            const auto frames = framesOf();
            for (TSkinFrame* frame : frames)
                RefreshFrame(frame);
            for (TSkinFrame* frame : frames)
                frame->ApplyColours();
            break;
        }
        default: PurgeClosed(); break;
        }
    }
    store->FireSkinChanged();
    PendingStore = nullptr;
}

bool TSkinManage::SkinPopupWindow(HWND window)
{
    if (!Active || IsPopupSkinned(window))
        return false;
    TSkinData* store = FindStore(window);
    if (!store || !store->SkinLoaded() || !store->SkinControls.Contains(TSkinControlType::xcMainMenu) ||
        AnswersSkinned(window))
        return false;
    auto* popup = new TSkinPopupMenu; // let go by this manager
    popup->Attach(window, store, *this);
    popup->MenuBarOwned = MenuBarTracking;
    FPopups.push_back(popup);
    return true;
}

bool TSkinManage::UnskinPopupWindow(HWND window)
{
    const auto found = std::find_if(FPopups.begin(), FPopups.end(), [window](const auto* p) { return p->Window() == window; });
    if (found == FPopups.end())
        return false;
    Free(*found);
    return true;
}

void TSkinManage::Free(TSkinPopupMenu* popup)
{
    std::erase(FPopups, popup);
    popup->Release();
    if (FPopups.empty())
        MenuBarTracking = false;
}

bool TSkinManage::IsPopupSkinned(HWND window) const { return PopupOf(window) != nullptr; }

TSkinPopupMenu* TSkinManage::PopupOf(HWND window) const
{
    for (TSkinPopupMenu* popup : FPopups)
        if (popup->Window() == window)
            return popup;
    return nullptr;
}

void TSkinManage::MarkPopupsOfMenuBar()
{
    for (TSkinPopupMenu* popup : FPopups)
        popup->MenuBarOwned = true;
}

bool TSkinManage::MdiChildMaximized(HWND client) const
{
    return client && std::find(FMaximizedClients.begin(), FMaximizedClients.end(), client) != FMaximizedClients.end();
}

void TSkinManage::SetMdiMaximized(HWND client, bool flag)
{
    if (!client || flag == MdiChildMaximized(client))
        return;
    if (flag)
        FMaximizedClients.push_back(client);
    else
        std::erase(FMaximizedClients, client);
    for (TSkinFrame* frame : std::vector<TSkinFrame*>(FForms))
        if (frame->MdiRole() == TSkinFrame::mrChild && GetParent(frame->Window()) == client)
            frame->MdiMaximizedChanged(flag);
}

void TSkinManage::PostToFrame(HWND window, UINT msg) const
{
    const TSkinFrame* frame = FindFormSkin(window);
    if (frame && frame->FrameState() != TSkinFrame::fsFinished)
        PostMessageA(window, msg, 0, 0);
}

int TSkinManage::CountMdiChildren() const
{
    return static_cast<int>(std::count_if(FForms.begin(), FForms.end(),
                                          [](const TSkinFrame* f) { return f->MdiRole() == TSkinFrame::mrChild; }));
}

void InstallSkinEngine()
{
    SetSkinManagerFactory([] { return std::make_unique<TSkinManage>(); });
    SetSkinBrushHooks({[](uint32_t colour) {
                           // The store owns the brush through these hooks; count it with our owners.
                           CountGdiOwner(1);
                           return reinterpret_cast<uintptr_t>(CreateSolidBrush(ColorToRGB(static_cast<TColor>(colour))));
                       },
                       [](uintptr_t handle) {
                           if (handle) {
                               DeleteObject(reinterpret_cast<HGDIOBJ>(handle));
                               CountGdiOwner(-1);
                           }
                       }});
}

} // namespace orbelin
