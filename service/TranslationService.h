// The HTTP side: POST /wl/translate answered with the result page (also when
// the request is too large or cannot be read: the page then says why), every
// other request with a short error page, one log line each.
#pragma once

#include "FairGate.h"
#include "RequestLog.h"
#include "TranslateRequest.h"
#include "TranslationServer.h"
#include "Translator.h"

#include <cstdio>
#include <httplib.h>
#include <memory>
#include <string>
#include <string_view>

namespace orbelin::service {

class TranslationService {
public:
    TranslationService(Translator& translator, std::FILE* log, const ConnectionLimits& limits = {});
    TranslationService(const TranslationService&) = delete;
    TranslationService& operator=(const TranslationService&) = delete;

    // Port 0 picks a free port. Returns the bound port, or -1.
    int bind(const std::string& host, int port);
    bool run();  // serves until stop(); false when the server could not run
    void stop();
    bool running() const { return server_.is_running(); }
    const ClientConnections& connections() const { return server_.connections(); }

private:
    void handleTranslate(std::string body, httplib::Response& response);
    void answerWithPage(std::string_view text, httplib::Response& response);
    std::string refusalPage(int status);
    void answerWithSentence(const std::string& sentence, const char* outcome, httplib::Response& response);
    void fillErrorPage(httplib::Response& response) const;
    void logRequest(const httplib::Request& request, const httplib::Response& response);

    const ConnectionLimits limits_;
    TranslationServer server_;
    Translator& translator_;
    RequestLog log_;
    // Texts translating at once, in bytes: what waits beyond them holds no
    // more than its own text. A short text never waits here.
    const std::shared_ptr<FairGate> textBudget_ = std::make_shared<FairGate>(16 * 1024 * 1024, 4096);
};

}  // namespace orbelin::service
