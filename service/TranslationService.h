// The HTTP side: POST /wl/translate answered with the result page, every other
// request with a short error page, one log line each.
#pragma once

#include "RequestLog.h"
#include "Translator.h"

#include <cstddef>
#include <cstdio>
#include <httplib.h>
#include <string>
#include <string_view>

namespace orbelin::service {

inline constexpr std::size_t maxBodyBytes = 1024 * 1024;

// httplib listens with a backlog of 5; a burst of connections beyond that
// waits for the client's SYN retry (a second) or fails.
class WideBacklogServer : public httplib::Server {
public:
    void widenBacklog() const;
};

class TranslationService {
public:
    TranslationService(Translator& translator, std::FILE* log, std::size_t threads = 32);
    TranslationService(const TranslationService&) = delete;
    TranslationService& operator=(const TranslationService&) = delete;

    // Port 0 picks a free port. Returns the bound port, or -1.
    int bind(const std::string& host, int port);
    bool run();  // serves until stop(); false when the server could not run
    void stop();
    bool running() const { return server_.is_running(); }

private:
    void handleTranslate(std::string_view body, httplib::Response& response);
    void fillErrorPage(httplib::Response& response) const;
    void logRequest(const httplib::Request& request, const httplib::Response& response);

    WideBacklogServer server_;
    Translator& translator_;
    RequestLog log_;
};

}  // namespace orbelin::service
