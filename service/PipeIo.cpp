#include "PipeIo.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace orbelin::service {

namespace {

enum class Until { endOfFile, nulByte };

int millisecondsLeft(Deadline deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    // Round up so that the poll never wakes just before the deadline.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 60'000 ? 60'000 : static_cast<int>(ms);
}

bool wouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

// input is closed after the last byte when closeInput is set, so that a filter
// sees the end of its input; otherwise it stays open for the next exchange.
IoResult runExchange(UniqueFd* closeInput, int input, std::string_view data, int output,
                     Until until, Deadline deadline)
{
    IoResult result;
    std::size_t written = 0;
    if (closeInput != nullptr && data.empty()) {
        closeInput->reset();
    }
    std::array<char, 65536> buffer{};

    for (;;) {
        const bool writing = written < data.size();
        std::array<pollfd, 2> fds{};
        nfds_t count = 0;
        fds[count++] = pollfd{output, POLLIN, 0};
        if (writing) {
            fds[count++] = pollfd{input, POLLOUT, 0};
        }
        const int timeout = millisecondsLeft(deadline);
        if (timeout == 0) {
            result.status = IoStatus::timedOut;
            return result;
        }
        const int ready = ::poll(fds.data(), count, timeout);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return result;
        }
        if (ready == 0) {
            continue;  // the deadline check above decides
        }

        if (writing && fds[1].revents != 0) {
            const ssize_t n = ::write(input, data.data() + written, data.size() - written);
            if (n < 0 && !wouldBlock(errno)) {
                return result;  // the reader is gone
            }
            if (n > 0) {
                written += static_cast<std::size_t>(n);
                if (written == data.size() && closeInput != nullptr) {
                    closeInput->reset();
                }
            }
        }

        if (fds[0].revents != 0) {
            const ssize_t n = ::read(output, buffer.data(), buffer.size());
            if (n < 0 && !wouldBlock(errno)) {
                return result;
            }
            if (n == 0) {
                if (until == Until::endOfFile && written == data.size()) {
                    result.status = IoStatus::done;
                }
                return result;
            }
            if (n > 0) {
                const std::string_view chunk(buffer.data(), static_cast<std::size_t>(n));
                if (until == Until::nulByte) {
                    const std::size_t nul = chunk.find('\0');
                    if (nul != std::string_view::npos) {
                        result.output.append(chunk.substr(0, nul));
                        const bool clean = nul + 1 == chunk.size() && written == data.size();
                        result.status = clean ? IoStatus::done : IoStatus::failed;
                        return result;
                    }
                }
                result.output.append(chunk);
            }
        }
    }
}

}  // namespace

IoResult exchangeUntilEof(UniqueFd& input, std::string_view data, int output, Deadline deadline)
{
    return runExchange(&input, input.get(), data, output, Until::endOfFile, deadline);
}

IoResult exchangeUntilNul(int input, std::string_view data, int output, Deadline deadline)
{
    std::string framed;
    framed.reserve(data.size() + 1);
    framed.append(data);
    framed.push_back('\0');
    return runExchange(nullptr, input, framed, output, Until::nulByte, deadline);
}

}  // namespace orbelin::service
