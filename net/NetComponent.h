#pragma once
// Base of every network component: while one lives, the process-wide socket
// stack exists. It also reports status texts and work progress.

#include "base/Component.h"

#include <cstdint>
#include <functional>
#include <string>

namespace orbelin {

enum class TNetStatus {
    hsResolving,
    hsConnecting,
    hsConnected,
    hsDisconnecting,
    hsDisconnected,
    hsStatusText,
    ftpTransfer,
    ftpReady,
    ftpAborted
};

enum class TWorkMode { wmRead, wmWrite };

using TNetStatusEvent = std::function<void(TObject* sender, TNetStatus status, const std::string& text)>;
using TWorkEvent = std::function<void(TObject* sender, TWorkMode mode, int64_t count)>;
using TWorkBeginEvent = std::function<void(TObject* sender, TWorkMode mode, int64_t max)>;
using TWorkEndEvent = std::function<void(TObject* sender, TWorkMode mode)>;

// The status text format of a status ("%s" ones take one argument).
const char* StatusText(TNetStatus status);

class TNetBaseComponent : public TComponent {
public:
    using TComponent::TComponent;
};

class TNetComponent : public TNetBaseComponent {
public:
    explicit TNetComponent(TComponent* owner);
    ~TNetComponent() override;

    TNetStatusEvent OnStatus;
    TWorkEvent OnWork;
    TWorkBeginEvent OnWorkBegin;
    TWorkEndEvent OnWorkEnd;

    virtual void WorkBegin(TWorkMode mode, int64_t max);
    virtual void WorkProgress(TWorkMode mode, int64_t count);
    virtual void WorkEnd(TWorkMode mode);

    // Fires OnStatus with the status text formatted with argument.
    void ReportStatus(TNetStatus status, const std::string& argument = std::string());

    int WorkNesting(TWorkMode mode) const { return FWork[Index(mode)].Nesting; }

private:
    struct TWorkState {
        int Nesting = 0;
        int64_t Max = 0;
        int64_t Total = 0;
    };
    static int Index(TWorkMode mode) { return mode == TWorkMode::wmRead ? 0 : 1; }
    TWorkState FWork[2];
};

} // namespace orbelin
