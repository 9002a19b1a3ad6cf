#include "ApertiumText.h"

#include "Process.h"

#include <optional>
#include <sys/wait.h>
#include <system_error>

namespace orbelin::service {

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

IoResult deformatText(std::string_view text, Deadline deadline)
{
    return runFilter({"apertium-destxt"}, text, deadline);
}

IoResult reformatText(std::string_view stream, Deadline deadline)
{
    return runFilter({"apertium-retxt"}, stream, deadline);
}

}  // namespace orbelin::service
