#include "http/NetAuthentication.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "http/NetCoderMIME.h"
#include "http/NetHTTPErrors.h"

#include <mutex>
#include <vector>

namespace orbelin {

TNetAuthentication::TNetAuthentication() { FParams.Separator = "="; }

std::string TNetBasicAuthentication::Authentication()
{
    return "Basic " + EncodeBase64(Username() + ":" + Password());
}

TNetAuthWhatsNext TNetBasicAuthentication::Next()
{
    if (FCurrentStep > 0)
        return TNetAuthWhatsNext::asFail;
    for (int i = 0; i < FAuthParams.Count(); ++i) {
        const std::string& line = FAuthParams[i];
        if (!StartsText("Basic", line))
            continue;
        std::string rest = Trim(line.substr(5));
        while (!rest.empty())
            FParams.Add(SplitOff(rest, ", "));
        const std::string realm = FParams.ValueOf("realm");
        FRealm = realm.size() >= 2 ? realm.substr(1, realm.size() - 2) : std::string();
        break;
    }
    if (Username().empty())
        return TNetAuthWhatsNext::asAskCredentials;
    FCurrentStep = 1;
    return TNetAuthWhatsNext::asReady;
}

namespace {

struct TRegistry {
    std::mutex Lock;
    std::vector<std::pair<std::string, TNetAuthenticationClass>> Entries;

    TRegistry()
    {
        Entries.emplace_back("Basic", TNetAuthenticationClass{"TNetBasicAuthentication", [] {
                                                                  return std::make_unique<TNetBasicAuthentication>();
                                                              }});
    }
    const TNetAuthenticationClass* Find(std::string_view name) const
    {
        for (const auto& [key, value] : Entries)
            if (SameText(key, name))
                return &value;
        return nullptr;
    }
};

TRegistry& Registry()
{
    static TRegistry registry;
    return registry;
}

} // namespace

void RegisterAuthenticationMethod(const std::string& name, TNetAuthenticationClass authClass)
{
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    if (const TNetAuthenticationClass* existing = r.Find(name))
        throw ENetAlreadyRegisteredAuthenticationMethod(Format(SNetAlreadyRegisteredAuth, existing->ClassName.c_str()));
    r.Entries.emplace_back(name, std::move(authClass));
}

void UnregisterAuthenticationMethod(std::string_view name)
{
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    std::erase_if(r.Entries, [&](const auto& e) { return SameText(e.first, name); });
}

std::optional<TNetAuthenticationClass> FindAuthClass(std::string_view name)
{
    TRegistry& r = Registry();
    std::lock_guard guard(r.Lock);
    if (const TNetAuthenticationClass* found = r.Find(name))
        return *found;
    return std::nullopt;
}

} // namespace orbelin
