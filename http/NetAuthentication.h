#pragma once
// Authentication schemes that produce the "Authorization" value, and the
// process-wide registry of scheme names.

#include "base/Component.h"
#include "http/NetHeaderList.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orbelin {

enum class TNetAuthWhatsNext { asAskCredentials, asReady, asFail };

class TNetAuthentication : public TObject {
public:
    TNetAuthentication();

    // The header value for "Authorization" / "Proxy-Authorization".
    virtual std::string Authentication() { return {}; }
    virtual TNetAuthWhatsNext Next() { return TNetAuthWhatsNext::asFail; }
    virtual int Steps() const { return 0; }
    virtual void Reset() {}
    virtual const char* ClassName() const { return "TNetAuthentication"; }

    std::string Username() const { return FParams.ValueOf("Username"); }
    void SetUsername(const std::string& value) { FParams.PutValue("Username", value); }
    std::string Password() const { return FParams.ValueOf("Password"); }
    void SetPassword(const std::string& value) { FParams.PutValue("Password", value); }

    TNetHeaderList& Params() { return FParams;}         // credentials
    TNetHeaderList& AuthParams() { return FAuthParams; } // the server's challenge lines
    int CurrentStep() const { return FCurrentStep; }

protected:
    TNetHeaderList FParams;
    TNetHeaderList FAuthParams;
    int FCurrentStep = 0;
};

class TNetBasicAuthentication : public TNetAuthentication {
public:
    std::string Authentication() override;
    TNetAuthWhatsNext Next() override;
    int Steps() const override { return 1; }
    void Reset() override { FCurrentStep = 0; }
    const char* ClassName() const override { return "TNetBasicAuthentication"; }

    const std::string& Realm() const { return FRealm; }

private:
    std::string FRealm;
};

using TNetAuthenticationFactory = std::function<std::unique_ptr<TNetAuthentication>()>;

struct TNetAuthenticationClass {
    std::string ClassName;
    TNetAuthenticationFactory Create;
};

// Raises ENetAlreadyRegisteredAuthenticationMethod for a name (any case) that
// is registered already. "Basic" is registered from the start.
void RegisterAuthenticationMethod(const std::string& name, TNetAuthenticationClass authClass);
void UnregisterAuthenticationMethod(std::string_view name);
// Empty when no scheme of that name is registered.
std::optional<TNetAuthenticationClass> FindAuthClass(std::string_view name);

} // namespace orbelin
