#pragma once
// The exception family of the network transport. Every failure of a socket,
// the stack, a SOCKS server or a connection is one of these; the messages are
// fixed English texts shown to the user as they stand.

#include "base/Exceptions.h"

#include <string>

namespace orbelin {

class ENetException : public Exception {
public:
    using Exception::Exception;
};

// A failed socket call; the message is the stack's text for the code.
class ENetSocketError : public ENetException {
public:
    ENetSocketError(int code, std::string message) : ENetException(std::move(message)), FCode(code) {}
    int SocketErrorCode() const noexcept { return FCode; }

private:
    int FCode;
};

// The socket library could not be loaded or one of its entries not called.
class ENetWS2StubError : public ENetException {
public:
    ENetWS2StubError(unsigned win32Error, std::string title);
    const std::string& Title() const noexcept { return FTitle; }
    unsigned Win32Error() const noexcept { return FWin32Error; }
    const std::string& Win32ErrorText() const noexcept { return FWin32ErrorText; }

private:
    std::string FTitle;
    unsigned FWin32Error;
    std::string FWin32ErrorText;
};

#define ORBELIN_NET_EXCEPTION(Name, Parent)          \
    class Name : public Parent {                     \
    public:                                          \
        using Parent::Parent;                        \
    }

// Stack.
ORBELIN_NET_EXCEPTION(ENetStackError, ENetException);
ORBELIN_NET_EXCEPTION(ENetStackInitializationFailed, ENetStackError);
ORBELIN_NET_EXCEPTION(ENetStackSetSizeExceeded, ENetStackError);
ORBELIN_NET_EXCEPTION(ENetInvalidSocket, ENetException);
ORBELIN_NET_EXCEPTION(ENetInvalidServiceName, ENetException);

// Socket handle and I/O handler.
ORBELIN_NET_EXCEPTION(ENetSocketHandleError, ENetException);
ORBELIN_NET_EXCEPTION(ENetCouldNotBindSocket, ENetSocketHandleError);
ORBELIN_NET_EXCEPTION(ENetInvalidPortRange, ENetSocketHandleError);
ORBELIN_NET_EXCEPTION(ENetCanNotBindPortInRange, ENetSocketHandleError);
ORBELIN_NET_EXCEPTION(ENetConnectTimeout, ENetException);
ORBELIN_NET_EXCEPTION(ENetConnectException, ENetException);
ORBELIN_NET_EXCEPTION(ENetClosedSocket, ENetException);
// Normal ends of communication; nobody needs to see them.
ORBELIN_NET_EXCEPTION(ENetSilentException, ENetException);
ORBELIN_NET_EXCEPTION(ENetConnClosedGracefully, ENetSilentException);

// SOCKS negotiation.
ORBELIN_NET_EXCEPTION(ENetSocksError, ENetException);
ORBELIN_NET_EXCEPTION(ENetSocksRequestFailed, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksRequestServerFailed, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksRequestIdentFailed, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksUnknownError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerRespondError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksAuthMethodError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksAuthError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerGeneralError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerPermissionError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerNetUnreachableError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerHostUnreachableError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerConnectionRefusedError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerTTLExpiredError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerCommandError, ENetSocksError);
ORBELIN_NET_EXCEPTION(ENetSocksServerAddressError, ENetSocksError);

// TCP connection.
ORBELIN_NET_EXCEPTION(ENetTCPConnectionError, ENetException);
ORBELIN_NET_EXCEPTION(ENetNotConnected, ENetTCPConnectionError);
ORBELIN_NET_EXCEPTION(ENetNotEnoughDataInBuffer, ENetTCPConnectionError);
ORBELIN_NET_EXCEPTION(ENetNoDataToRead, ENetTCPConnectionError);
ORBELIN_NET_EXCEPTION(ENetFileNotFound, ENetTCPConnectionError);
ORBELIN_NET_EXCEPTION(ENetAlreadyConnected, ENetException);
ORBELIN_NET_EXCEPTION(ENetReadTimeout, ENetException);
ORBELIN_NET_EXCEPTION(ENetReadLnMaxLineLengthExceeded, ENetException);

#undef ORBELIN_NET_EXCEPTION

// A reply code the caller did not allow; ErrorCode is the reply's number.
class ENetProtocolReplyError : public ENetException {
public:
    ENetProtocolReplyError(int errorCode, std::string message)
        : ENetException(std::move(message)), FErrorCode(errorCode) {}
    int ErrorCode() const noexcept { return FErrorCode; }

private:
    int FErrorCode;
};

// Message texts.
inline constexpr const char* SNetSocketError = "Socket Error # %d\r\n%s";
inline constexpr const char* SNetWS2LoadError = "Error on loading Winsock2 library (%s)";
inline constexpr const char* SNetWS2CallError = "Error on call Winsock2 library function %s";
inline constexpr const char* SNetWinsockInitError = "Winsock Initialization Error.";
inline constexpr const char* SNetCannotAllocateSocket = "Cannot allocate socket.";
inline constexpr const char* SNetSetSizeExceeded = "Set Size Exceeded.";
inline constexpr const char* SNetInvalidService = "%s is not a valid service.";
inline constexpr const char* SNetCouldNotBindSocket = "Could not bind socket. Address and port are already in use.";
inline constexpr const char* SNetInvalidPortRange = "Invalid Port Range (%d - %d)";
inline constexpr const char* SNetCanNotBindRange = "Can not bind in port range (%d - %d)";
inline constexpr const char* SNetConnectTimeout = "Connect timed out.";
inline constexpr const char* SNetDisconnected = "Disconnected.";
inline constexpr const char* SNetConnClosedGracefully = "Connection Closed Gracefully.";
inline constexpr const char* SNetOnlyOneAntiFreeze = "Only one TNetAntiFreeze can exist per application.";
inline constexpr const char* SNetAlreadyConnected = "Already connected.";
inline constexpr const char* SNetNotConnected = "Not Connected";
inline constexpr const char* SNetReadTimeout = "Read Timeout";
inline constexpr const char* SNetMaxLineLengthExceeded = "Max line length exceeded.";
inline constexpr const char* SNetNotEnoughDataInBuffer = "Not enough data in buffer.";
inline constexpr const char* SNetNoDataToRead = "No data to read.";
inline constexpr const char* SNetFileNotFound = "File \"%s\" not found";
inline constexpr const char* SNetSocksRequestFailed = "Request rejected or failed.";
inline constexpr const char* SNetSocksRequestServerFailed = "Request rejected because SOCKS server cannot connect.";
inline constexpr const char* SNetSocksRequestIdentFailed =
    "Request rejected because the client program and identd report different user-ids.";
inline constexpr const char* SNetSocksUnknownError = "Unknown socks error.";
inline constexpr const char* SNetSocksServerRespondError = "Socks server did not respond.";
inline constexpr const char* SNetSocksAuthMethodError = "Invalid socks authentication method.";
inline constexpr const char* SNetSocksAuthError = "Authentication error to socks server.";
inline constexpr const char* SNetSocksServerGeneralError = "General SOCKS server failure.";
inline constexpr const char* SNetSocksServerPermissionError = "Connection not allowed by ruleset.";
inline constexpr const char* SNetSocksServerNetUnreachableError = "Network unreachable.";
inline constexpr const char* SNetSocksServerHostUnreachableError = "Host unreachable.";
inline constexpr const char* SNetSocksServerConnectionRefusedError = "Connection refused.";
inline constexpr const char* SNetSocksServerTTLExpiredError = "TTL expired.";
inline constexpr const char* SNetSocksServerCommandError = "Command not supported.";
inline constexpr const char* SNetSocksServerAddressError = "Address type not supported.";

} // namespace orbelin
