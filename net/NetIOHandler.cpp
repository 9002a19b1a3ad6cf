#include "net/NetIOHandler.h"

namespace orbelin {

void TNetIOHandler::ConnectLink(const std::string&, int, const std::string&, int, int, int, int) {}

bool TNetIOHandler::WaitReadable(int) { return false; }

int TNetIOHandler::ReceiveBytes(void*, int) { return 0; }

int TNetIOHandler::SendBytes(const void*, int) { return 0; }

} // namespace orbelin
