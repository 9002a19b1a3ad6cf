#pragma once
// Failures of the HTTP client subsystem; all belong to the network family
// under ENetException.

#include "net/NetException.h"

#include <string>

namespace orbelin {

class ENetURIException : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetUnknownProtocol : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetFailedToRetreiveTimeZoneInfo : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetIOHandlerPropInvalid : public ENetException {
public:
    using ENetException::ENetException;
};

class ENetAlreadyRegisteredAuthenticationMethod : public ENetException {
public:
    using ENetException::ENetException;
};

// A response that ends an operation unsuccessfully: the message is the status
// line, ErrorCode the status code, ErrorBody the body as text.
class ENetHTTPProtocolException : public ENetProtocolReplyError {
public:
    ENetHTTPProtocolException(int code, const std::string& statusLine, std::string body)
        : ENetProtocolReplyError(code, statusLine), FErrorBody(std::move(body))
    {
    }
    const std::string& ErrorBody() const noexcept { return FErrorBody; }

private:
    std::string FErrorBody;
};

// An answer larger than the client's limits allow.
class ENetHTTPResponseTooLarge : public ENetException {
public:
    using ENetException::ENetException;
};

inline constexpr const char* SNetResponseHeadTooLarge = "Response head too large.";
inline constexpr const char* SNetResponseBodyTooLarge = "Response body too large.";
inline constexpr const char* SNetURIProtocolEmpty = "Protocol field is empty";
inline constexpr const char* SNetURIHostEmpty = "Host field is empty";
inline constexpr const char* SNetFailedTimeZoneInfo = "Failed attempting to retrieve time zone information.";
inline constexpr const char* SNetAlreadyRegisteredAuth =
    "This authentication method is already registered with class name %s.";
inline constexpr const char* SNetUndefinedSituation = "Undefined situation";
inline constexpr const char* SNetMethodRequiresHTTP11 = "This request method is supported in HTTP 1.1";
inline constexpr const char* SNetIOHandlerPropInvalid = "IOHandler value is not valid";
inline constexpr const char* SNetChunkStarted = "Chunk Started";
inline constexpr const char* SNetIndexOutOfRange = "Index out of range.";

} // namespace orbelin
