#include "PipeIo.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace orbelin::service {

namespace {

bool wouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

}  // namespace

IoResult exchangeUntilEof(UniqueFd& input, std::string_view data, int output, Deadline deadline)
{
    IoResult result;
    std::size_t written = 0;
    // Closed after the last byte, so that the filter sees the end of its input.
    if (data.empty()) {
        input.reset();
    }
    std::array<char, 65536> buffer{};

    for (;;) {
        const bool writing = written < data.size();
        std::array<pollfd, 2> fds{};
        nfds_t count = 0;
        fds[count++] = pollfd{output, POLLIN, 0};
        if (writing) {
            fds[count++] = pollfd{input.get(), POLLOUT, 0};
        }
        const int timeout = millisecondsUntil(deadline);
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
            const ssize_t n = ::write(input.get(), data.data() + written, data.size() - written);
            if (n < 0 && !wouldBlock(errno)) {
                return result;  // the reader is gone
            }
            if (n > 0) {
                written += static_cast<std::size_t>(n);
                if (written == data.size()) {
                    input.reset();
                }
            }
        }

        if (fds[0].revents != 0) {
            const ssize_t n = ::read(output, buffer.data(), buffer.size());
            if (n < 0 && !wouldBlock(errno)) {
                return result;
            }
            if (n == 0) {
                if (written == data.size()) {
                    result.status = IoStatus::done;
                }
                return result;
            }
            if (n > 0) {
                result.output.append(buffer.data(), static_cast<std::size_t>(n));
            }
        }
    }
}

IoResult runFilter(const std::vector<std::string>& argv, std::string_view data, Deadline deadline)
{
    try {
        Pipe in = Pipe::create();
        Pipe out = Pipe::create();
        ChildProcess child = ChildProcess::spawn(argv, in.readEnd.get(), out.writeEnd.get());
        in.readEnd.reset();
        out.writeEnd.reset();
        setNonBlocking(in.writeEnd.get());
        setNonBlocking(out.readEnd.get());

        IoResult result = exchangeUntilEof(in.writeEnd, data, out.readEnd.get(), deadline);
        if (result.status != IoStatus::done) {
            child.kill();
            child.wait();
            return result;
        }
        // The output has ended, so the program should be exiting; one that
        // goes on running gets no longer than the deadline.
        const std::optional<int> status = child.waitUntil(deadline);
        if (!status) {
            child.kill();
            child.wait();
            return IoResult{IoStatus::timedOut, {}};
        }
        if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
            result.status = IoStatus::failed;
        }
        return result;
    } catch (const std::system_error&) {
        return IoResult{IoStatus::failed, {}};
    }
}

}  // namespace orbelin::service
