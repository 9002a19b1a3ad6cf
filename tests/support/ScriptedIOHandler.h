#pragma once
// An I/O handler that plays fixed bytes as the peer's answer and swallows what
// is sent, so the HTTP client can read responses without a socket.

#include "net/NetIOHandler.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace orbelin {

class TScriptedIOHandler : public TNetIOHandler {
public:
    TScriptedIOHandler(TComponent* owner, std::string input, size_t chunk)
        : TNetIOHandler(owner), FInput(std::move(input)), FChunk(std::max<size_t>(chunk, 1))
    {
    }

    void ConnectLink(const std::string&, int, const std::string&, int, int, int, int) override { FOpen = true; }
    bool LinkConnected() override { return FOpen; }
    void CloseLink() override { FOpen = false; }
    bool WaitReadable(int) override { return true; }
    int ReceiveBytes(void* buffer, int length) override
    {
        const size_t n = std::min({static_cast<size_t>(length), FChunk, FInput.size() - FPosition});
        std::memcpy(buffer, FInput.data() + FPosition, n);
        FPosition += n;
        return static_cast<int>(n); // 0 once the script is played: the peer closed
    }
    int SendBytes(const void*, int length) override { return length; }

private:
    std::string FInput;
    size_t FChunk;
    size_t FPosition = 0;
    bool FOpen = false;
};

} // namespace orbelin
