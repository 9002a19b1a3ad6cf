#include "TestSupport.h"

#include "ResultPage.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orbelin::service::test {

std::string clientCut(std::string_view page)
{
    const std::size_t marker = page.find(resultMarker);
    const long long p = marker == std::string_view::npos ? 0 : static_cast<long long>(marker) + 1;
    const long long start = p + 125;
    const std::size_t end = page.find("</textarea>");
    const long long e = end == std::string_view::npos ? 0 : static_cast<long long>(end) + 1;
    if (e - start <= 0 || start > static_cast<long long>(page.size())) {
        return {};
    }
    return std::string(page.substr(static_cast<std::size_t>(start - 1),
                                   static_cast<std::size_t>(e - start)));
}

std::string hexEncode(std::string_view bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        encoded.push_back('%');
        encoded.push_back(digits[byte >> 4]);
        encoded.push_back(digits[byte & 0x0F]);
    }
    return encoded;
}

std::string clientBody(std::string_view text, std::string_view source, std::string_view target,
                       std::string_view glossary)
{
    return "wl_url=&wl_text=" + hexEncode(text) + "&wl_glossary=" + std::string(glossary) +
           "&wl_srclang=" + std::string(source) + "&wl_trglang=" + std::string(target) +
           "&wl_ucp=1";
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orbelin-service-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::filesystem::path& file, std::string_view content, bool executable)
{
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << content;
    }
    if (executable) {
        std::filesystem::permissions(file, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
    }
}

RunningService::RunningService(const TranslatorConfig& config, const ConnectionLimits& limits)
    // Appending, so that lines land at the end while the test reads the file.
    : log_(std::fopen((logDir_.path() / "service.log").c_str(), "a")),
      translator_(std::make_unique<Translator>(config)),
      service_(std::make_unique<TranslationService>(*translator_, log_, limits))
{
    port_ = service_->bind("127.0.0.1", 0);
    if (port_ <= 0) {
        throw std::runtime_error("cannot bind a test port");
    }
    thread_ = std::thread([this] { service_->run(); });
    while (!service_->running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

RunningService::~RunningService()
{
    service_->stop();
    thread_.join();
    std::fclose(log_);
}

std::string RunningService::logText() const
{
    std::ifstream in(logDir_.path() / "service.log", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace orbelin::service::test
