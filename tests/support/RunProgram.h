#pragma once
// Runs one of the project's command-line tools as its own process, the way
// a user would, and collects its exit status and both output streams.
// POSIX only: the tools are run by the native tests.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orbelin::test {

struct TProgramRun {
    int Status = -1; // exit status; -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

inline std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Arguments are passed through the shell in single quotes; they must not
// hold a single quote themselves. Output goes through files in outDir,
// which are removed afterwards.
inline TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                              const std::string& outDir)
{
    // Named after this process, so test programs running side by side do
    // not share the files.
    const std::string stem = outDir + "/program_" + std::to_string(::getpid());
    const std::string out = stem + ".out";
    const std::string err = stem + ".err";
    std::string command = "'" + program + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    TProgramRun run;
    run.Status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.Out = FileText(out);
    run.Err = FileText(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return run;
}

} // namespace orbelin::test
