#pragma once
// Runs an action when the scope ends, on every way out of it:
//
//   const TScopeExit restore([&] { ReadTimeout = saved; });

#include <utility>

namespace orbelin {

template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F action) : FAction(std::move(action)) {}
    ~TScopeExit() { FAction(); }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

private:
    F FAction;
};

} // namespace orbelin
